// The in-place editor of a tree-list cell: a bordered child edit over the
// cell that reports how it ends by posting the close message to the list.
// Enter commits, Escape cancels, Up and Down commit and say which way the
// user went, and losing the focus commits. It posts once; the list then
// reads the text and destroys the editor.
#pragma once

#include <windows.h>

#include <string>

#include "treelist/window_hook_win32.h"
#include "win32/unique_window.h"

namespace treelist {

class CInPlaceEdit {
 public:
  static constexpr UINT kControlId = 12345;

  CInPlaceEdit() = default;
  ~CInPlaceEdit();
  CInPlaceEdit(const CInPlaceEdit&) = delete;
  CInPlaceEdit& operator=(const CInPlaceEdit&) = delete;

  // Creates the editor over rect (list client coordinates) with the cell's
  // text, all of it selected, and gives it the focus.
  bool open(HWND list, const RECT& rect, const std::wstring& text, int row, int column);
  // Destroys the editor without posting anything.
  void close();

  HWND hwnd() const { return edit_.get(); }
  int row() const { return row_; }
  int column() const { return column_; }
  bool modified() const;
  std::wstring text() const;
  // True once the editor has posted its close message.
  bool closing() const { return closing_; }
  // True when a key (not a focus change) ended the edit.
  bool closedByKey() const { return closedByKey_; }

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void postClose(WPARAM commit, LPARAM direction, bool byKey);

  HWND list_ = nullptr;
  win::UniqueWindow edit_;
  CWindowHook hook_;
  int row_ = -1;
  int column_ = -1;
  bool closing_ = false;
  bool closedByKey_ = false;
};

}  // namespace treelist
