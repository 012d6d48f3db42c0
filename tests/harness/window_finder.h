// Finding and reading the top-level windows of other processes for the probe.
// Every read of another process's window goes through SendMessageTimeout, so
// a hung program makes the probe report a failure instead of hanging it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace probe {

struct WindowFilter {
  std::optional<std::wstring> title;  // exact
  std::optional<std::wstring> className;
  std::optional<int> withControl;     // the window has a child with this id
  std::optional<int> withoutControl;  // ... and none with this one
  bool includeHidden = false;
};

// The id of the text control of a message box.
constexpr int kMessageBoxTextId = 0xFFFF;

std::vector<HWND> FindWindows(const WindowFilter& filter);
// Waits up to timeoutMs for the first matching window; null on time-out.
HWND WaitForWindow(const WindowFilter& filter, DWORD timeoutMs);
// Waits until no window matches; false on time-out.
bool WaitUntilGone(const WindowFilter& filter, DWORD timeoutMs);

std::wstring ClassOf(HWND window);
// The text of any window, also a control of another process.
std::wstring TextOf(HWND window);
// BM_GETCHECK of a button of another process; -1 when it does not answer.
int CheckStateOf(HWND button);

// One JSON object describing a top-level window.
std::string Describe(HWND window);
// The same with every child control: id, class, text, visible, enabled,
// check state.
std::string DescribeWithControls(HWND window);

}  // namespace probe
