// A minimal JSON writer for the probe's one-line reports.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/common/json.h"

namespace probe {

// UTF-16 text as a JSON string literal (UTF-8, with escapes).
inline std::string Quote(const std::wstring& text) {
  std::string utf8;
  if (!text.empty()) {
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr);
    utf8.resize(static_cast<size_t>(n > 0 ? n : 0));
    if (n > 0)
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n, nullptr,
                            nullptr);
  }
  return tools::JsonString(utf8);
}

inline std::string Bool(bool b) { return b ? "true" : "false"; }

inline std::string Handle(HWND h) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\"0x%llx\"",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)));
  return buffer;
}

// Writes one report line and flushes, so a reader sees it at once.
inline void Line(const std::string& json) {
  std::fputs(json.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace probe
