// Small helpers for windows and controls, so that dialogs do not repeat the
// same buffer and coordinate handling.
#pragma once

#include <windows.h>

#include <string>

namespace winui {

// The window's text; empty for a null window.
std::wstring TextOf(HWND window);
void SetText(HWND window, const std::wstring& text);
void Enable(HWND window, bool enable);
void Show(HWND window, bool show);
bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);
// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child);
// Moves and sizes a window without changing its z-order or activation.
void Place(HWND window, int x, int y, int width, int height);

}  // namespace winui
