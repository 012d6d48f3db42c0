// Text conversion between UTF-16 and the narrow code pages the program uses:
// the system ANSI code page, the tag code pages 932, 936, 949, 950 and 1252,
// and UTF-8 (65001), which is also the ANSI code page of a Windows set to
// use UTF-8. Win32 uses the system's converters; POSIX uses iconv, with an
// ANSI code page of 1252. Tests can set the ANSI code page in both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace sys {

// Stands for "the system ANSI code page" wherever a code page is asked for.
constexpr uint32_t kAnsiCodePage = 0;
constexpr uint32_t kUtf8CodePage = 65001;
constexpr size_t kNoLimit = std::numeric_limits<size_t>::max();

// The number of the ANSI code page (GetACP on Windows).
uint32_t AnsiCodePage();
// Makes codePage stand for the ANSI code page, so that tests can run the
// conversions as on a system set to that page; 0 returns to the system's
// own (1252 in the POSIX build).
void SetAnsiCodePage(uint32_t codePage);

// Narrow text to UTF-16, at most maxUnits code units; a cut never splits a
// surrogate pair. Bytes that are not valid in the code page become U+FFFD.
// False when the code page is not available.
bool ToUtf16(uint32_t codePage, const std::string& narrow, std::u16string& out, size_t maxUnits = kNoLimit);

// UTF-16 to narrow text, at most maxBytes bytes; a cut never splits a
// character. No best-fit mapping: a character the code page cannot hold
// becomes the replacement byte. False when the code page is not available.
bool FromUtf16(uint32_t codePage, const std::u16string& text, std::string& out, size_t maxBytes = kNoLimit,
               char replacement = ' ');

// Cuts UTF-16 text to at most maxUnits units without splitting a surrogate
// pair.
void CapUtf16(std::u16string& text, size_t maxUnits);

// Plain UTF-8 <-> UTF-16, for the tools' output and tests.
std::string Utf8FromUtf16(const std::u16string& text);
std::u16string Utf16FromUtf8(const std::string& text);

}  // namespace sys
