// The portable core holds UTF-16 text as char16_t, the window functions take
// it as wchar_t; on Windows both are the same 16-bit units, so text passes
// between them unit for unit, without any conversion.
#pragma once

#include <string>

namespace win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be UTF-16 here");

inline std::wstring WideFromUtf16(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

inline std::u16string Utf16FromWide(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// The text in place, for a call that only reads it while text lives.
inline const wchar_t* WideChars(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace win
