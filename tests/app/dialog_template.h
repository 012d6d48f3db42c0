// Dialog templates built in memory, so the framework's tests need no
// resource script: a DLGTEMPLATE followed by DWORD-aligned items.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class DialogTemplate {
 public:
  // A popup dialog with a caption, in 8-point "MS Shell Dlg".
  DialogTemplate(const std::wstring& title, short width, short height, DWORD style = 0);

  // Predefined classes: 0x0080 button, 0x0081 edit, 0x0082 static.
  DialogTemplate& add(WORD classAtom, WORD id, const std::wstring& text, short x, short y, short cx, short cy,
                      DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  DialogTemplate& button(WORD id, const std::wstring& text, short x, short y, DWORD extraStyle = 0) {
    return add(0x0080, id, text, x, y, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle);
  }

  const DLGTEMPLATE* get();

 private:
  void word(WORD w) { bytes_.push_back(w); }
  void text(const std::wstring& s);
  void align();

  std::vector<WORD> bytes_;
  size_t countAt_ = 0;
  std::vector<DWORD> storage_;  // DWORD-aligned copy handed to the system
};

}  // namespace testsupport
