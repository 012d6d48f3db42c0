// A plain top-level window that hosts a control under test, records what
// the control sends or posts to its parent, and helpers to run the message
// loop and to keep a screenshot.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace treelisttest {

class TestWindow {
 public:
  TestWindow(int x, int y, int width, int height);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

  struct Label {
    int row;
    int column;
    std::string text;
  };
  std::vector<WPARAM> commands;      // WM_COMMAND wParam values
  std::vector<Label> changedLabels;  // "KztMsg_TreeListChangeLabel"
  std::vector<std::pair<WPARAM, LPARAM>> popupQueries;
  LRESULT popupAnswer = 0;  // answer to "KztMsg_TreeListPopupMenu"

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// Dispatches every message waiting now.
void Pump();
// Dispatches messages for ms milliseconds.
void PumpFor(DWORD ms);
// Dispatches messages until done() or the timeout; done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches messages for ms milliseconds and calls onMessage after each
// one that was dispatched.
void PumpWatching(DWORD ms, const std::function<void(const MSG&)>& onMessage);

// Writes the window as it looks on the screen now to a 24-bit .bmp file.
// The number of different colours in it; 0 when the window could not be
// captured or the file not written.
int SaveWindowBitmap(HWND hwnd, const std::wstring& path);
// Colour of a pixel of the window's client area as printed.
COLORREF PrintedPixel(HWND hwnd, POINT client);

// The folder for test artefacts of this build tree (created if missing).
std::wstring ArtifactFolder();

}  // namespace treelisttest
