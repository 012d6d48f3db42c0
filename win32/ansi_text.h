// Text between the system's ANSI code page and the wide form the window
// functions take, converted as the system does by default: no flags, best-fit
// mapping allowed, '?' for what the page cannot hold. The portable core
// converts through platform/codepage.h instead, whose narrowing refuses
// best fit; these are for text that goes no further than a window.
#pragma once

#include <windows.h>

#include <string>

namespace win {

inline std::wstring WideFromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

inline std::string AnsiFromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                          nullptr);
  return out;
}

}  // namespace win
