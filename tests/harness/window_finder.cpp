#include "tests/harness/window_finder.h"

#include <vector>

#include "tests/harness/probe_json.h"

namespace probe {

namespace {

constexpr UINT kAnswerTimeoutMs = 3000;
constexpr DWORD kPollMs = 50;

bool Matches(HWND window, const WindowFilter& filter) {
  if (!filter.includeHidden && !::IsWindowVisible(window)) return false;
  if (filter.className && ClassOf(window) != *filter.className) return false;
  if (filter.title && TextOf(window) != *filter.title) return false;
  if (filter.withControl && !::GetDlgItem(window, *filter.withControl)) return false;
  if (filter.withoutControl && ::GetDlgItem(window, *filter.withoutControl)) return false;
  return true;
}

struct EnumState {
  const WindowFilter* filter;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<EnumState*>(param);
  if (Matches(window, *state->filter)) state->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> FindWindows(const WindowFilter& filter) {
  EnumState state{&filter, {}};
  ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND WaitForWindow(const WindowFilter& filter, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  for (;;) {
    std::vector<HWND> found = FindWindows(filter);
    if (!found.empty()) return found.front();
    if (::GetTickCount64() >= end) return nullptr;
    ::Sleep(kPollMs);
  }
}

bool WaitUntilGone(const WindowFilter& filter, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (FindWindows(filter).empty()) return true;
    if (::GetTickCount64() >= end) return false;
    ::Sleep(kPollMs);
  }
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[256];
  int n = ::GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length))
    return std::wstring();
  std::vector<wchar_t> buffer(length + 1);
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied))
    return std::wstring();
  return std::wstring(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

int CheckStateOf(HWND button) {
  DWORD_PTR state = 0;
  if (!::SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &state))
    return -1;
  return static_cast<int>(state);
}

std::string Describe(HWND window) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  RECT r{};
  ::GetWindowRect(window, &r);
  char rect[96];
  std::snprintf(rect, sizeof rect, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
  return "{\"hwnd\": " + Handle(window) + ", \"title\": " + Quote(TextOf(window)) +
         ", \"class\": " + Quote(ClassOf(window)) + ", \"visible\": " + Bool(::IsWindowVisible(window)) +
         ", \"enabled\": " + Bool(::IsWindowEnabled(window)) +
         ", \"topmost\": " + Bool((exStyle & WS_EX_TOPMOST) != 0) +
         ", \"messageBox\": " + Bool(::GetDlgItem(window, kMessageBoxTextId) != nullptr) +
         ", \"rect\": " + rect + "}";
}

std::string DescribeWithControls(HWND window) {
  std::vector<HWND> children;
  ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
  std::string controls;
  for (HWND child : children) {
    if (::GetParent(child) != window) continue;  // direct children only
    if (!controls.empty()) controls += ", ";
    const std::wstring className = ClassOf(child);
    std::string check;
    if (className == L"Button") check = ", \"checked\": " + std::to_string(CheckStateOf(child));
    controls += "{\"id\": " + std::to_string(::GetDlgCtrlID(child)) + ", \"class\": " + Quote(className) +
                ", \"text\": " + Quote(TextOf(child)) + ", \"visible\": " + Bool(::IsWindowVisible(child)) +
                ", \"enabled\": " + Bool(::IsWindowEnabled(child)) + check + "}";
  }
  std::string self = Describe(window);
  self.pop_back();  // the closing brace
  return self + ", \"controls\": [" + controls + "]}";
}

}  // namespace probe
