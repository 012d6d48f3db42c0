#include "winui/controls.h"

#include <vector>

namespace winui {

std::wstring TextOf(HWND window) {
  if (!window) return std::wstring();
  int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int copied = ::GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void SetText(HWND window, const std::wstring& text) {
  if (window) ::SetWindowTextW(window, text.c_str());
}

void Enable(HWND window, bool enable) {
  if (window) ::EnableWindow(window, enable ? TRUE : FALSE);
}

void Show(HWND window, bool show) {
  if (window) ::ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

bool IsChecked(HWND button) { return button && ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
  if (button) ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  if (!child || !::GetWindowRect(child, &r)) return RECT{};
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Place(HWND window, int x, int y, int width, int height) {
  if (window) ::SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace winui
