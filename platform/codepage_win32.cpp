// Code-page conversion through the system's converters.
#include <windows.h>

#include <atomic>

#include "platform/codepage.h"
#include "platform/codepage_detail.h"

namespace sys {

namespace {

// A page a test set in place of the system's ANSI code page, or none.
std::atomic<uint32_t> g_ansiCodePage{kAnsiCodePage};

// The number of the page meant. The ANSI code page is resolved here instead
// of being passed on as CP_ACP: on a Windows set to use UTF-8 it is 65001,
// and the converters refuse for UTF-8 the flags and the default character
// that every other page takes, so the number decides which call is made.
UINT SystemCodePage(uint32_t codePage) { return codePage == kAnsiCodePage ? AnsiCodePage() : codePage; }

}  // namespace

uint32_t AnsiCodePage() {
  const uint32_t chosen = g_ansiCodePage.load();
  return chosen != kAnsiCodePage ? chosen : ::GetACP();
}

void SetAnsiCodePage(uint32_t codePage) { g_ansiCodePage.store(codePage); }

bool ToUtf16(uint32_t codePage, const std::string& narrow, std::u16string& out, size_t maxUnits) {
  out.clear();
  const UINT cp = SystemCodePage(codePage);
  if (!::IsValidCodePage(cp)) return false;
  if (narrow.empty()) return true;
  // UTF-8 takes no flags; the others get precomposed characters.
  const DWORD flags = cp == CP_UTF8 ? 0 : MB_PRECOMPOSED;
  int n = ::MultiByteToWideChar(cp, flags, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(cp, flags, narrow.data(), static_cast<int>(narrow.size()), wide.data(), n);
  out.assign(wide.begin(), wide.end());
  CapUtf16(out, maxUnits);
  return true;
}

bool FromUtf16(uint32_t codePage, const std::u16string& text, std::string& out, size_t maxBytes,
               char replacement) {
  out.clear();
  const UINT cp = SystemCodePage(codePage);
  if (!::IsValidCodePage(cp)) return false;
  // UTF-8 holds every character: no default character, no best fit.
  if (cp == CP_UTF8) {
    std::string all = Utf8FromUtf16(text);
    // Cut at a character boundary: never before a continuation byte.
    size_t cut = all.size() <= maxBytes ? all.size() : maxBytes;
    while (cut > 0 && cut < all.size() && (static_cast<unsigned char>(all[cut]) & 0xC0) == 0x80) --cut;
    out = all.substr(0, cut);
    return true;
  }
  // One character at a time, so that the cut never splits a character and
  // every unmapped character costs exactly one replacement byte.
  char piece[16];
  for (size_t i = 0; i < text.size();) {
    size_t units = detail::CharUnits(text, i);
    BOOL usedDefault = FALSE;
    char defaultChar[2] = {replacement, 0};
    int n = ::WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(text.data() + i),
                                  static_cast<int>(units), piece, sizeof piece, defaultChar, &usedDefault);
    std::string converted = (n <= 0 || usedDefault) ? std::string(1, replacement) : std::string(piece, n);
    if (out.size() + converted.size() > maxBytes) break;
    out += converted;
    i += units;
  }
  return true;
}

}  // namespace sys
