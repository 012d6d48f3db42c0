// The tip that shows the whole text of a cut-off cell of a list: one
// tooltip tool over the cell, fed with the list's mouse messages.
#pragma once

#include <windows.h>
// The common controls need the types of windows.h first.
#include <commctrl.h>

#include <string>

#include "win32/unique_window.h"

namespace treelist {

class CCellTip {
 public:
  bool create(HWND list);
  void destroy() { tip_.reset(); }

  // Shows text for the cell (row, column) with the given rectangle in
  // list client coordinates. Nothing changes while the same cell is shown.
  void showFor(int row, int column, const RECT& cell, const std::wstring& text);
  // Hides the tip and keeps it hidden until showFor names a cell again.
  void hide();
  // Hands a mouse message of the list to the tooltip.
  void relay(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd() const { return tip_.get(); }
  bool active() const { return row_ >= 0; }
  int row() const { return row_; }
  int column() const { return column_; }
  std::wstring text() const;

 private:
  TTTOOLINFOW tool(wchar_t* text) const;

  HWND list_ = nullptr;
  win::UniqueWindow tip_;
  std::wstring text_;
  int row_ = -1;
  int column_ = -1;
};

}  // namespace treelist
