#include "tests/app/dialog_template.h"

#include <cstring>

namespace testsupport {

namespace {
constexpr WORD Low(DWORD v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD High(DWORD v) { return static_cast<WORD>(v >> 16); }
}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, short width, short height, DWORD style) {
  DWORD s = style ? style : (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  s |= DS_SETFONT;
  word(Low(s));
  word(High(s));
  word(0);  // extended style
  word(0);
  countAt_ = bytes_.size();
  word(0);  // item count, filled in by add()
  word(0);  // x
  word(0);  // y
  word(static_cast<WORD>(width));
  word(static_cast<WORD>(height));
  word(0);  // no menu
  word(0);  // standard dialog class
  text(title);
  word(8);
  text(L"MS Shell Dlg");
}

void DialogTemplate::text(const std::wstring& s) {
  for (wchar_t c : s) word(static_cast<WORD>(c));
  word(0);
}

void DialogTemplate::align() {
  if (bytes_.size() % 2) word(0);
}

DialogTemplate& DialogTemplate::add(WORD classAtom, WORD id, const std::wstring& label, short x, short y,
                                    short cx, short cy, DWORD style) {
  align();
  word(Low(style));
  word(High(style));
  word(0);
  word(0);
  word(static_cast<WORD>(x));
  word(static_cast<WORD>(y));
  word(static_cast<WORD>(cx));
  word(static_cast<WORD>(cy));
  word(id);
  word(0xFFFF);
  word(classAtom);
  text(label);
  word(0);  // no creation data
  ++bytes_[countAt_];
  return *this;
}

const DLGTEMPLATE* DialogTemplate::get() {
  storage_.assign((bytes_.size() * sizeof(WORD) + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  std::memcpy(storage_.data(), bytes_.data(), bytes_.size() * sizeof(WORD));
  return reinterpret_cast<const DLGTEMPLATE*>(storage_.data());
}

}  // namespace testsupport
