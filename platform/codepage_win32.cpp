// Code-page conversion through the system's converters.
#include <windows.h>

#include "platform/codepage.h"

namespace sys {

namespace detail {
void CapUtf16(std::u16string& text, size_t maxUnits);
size_t CharUnits(const std::u16string& text, size_t i);
}  // namespace detail

namespace {
UINT SystemCodePage(uint32_t codePage) { return codePage == kAnsiCodePage ? CP_ACP : codePage; }
}  // namespace

uint32_t AnsiCodePage() { return ::GetACP(); }

void SetAnsiCodePage(uint32_t) {}

bool ToUtf16(uint32_t codePage, const std::string& narrow, std::u16string& out, size_t maxUnits) {
  out.clear();
  UINT cp = SystemCodePage(codePage);
  if (cp != CP_ACP && !::IsValidCodePage(cp)) return false;
  if (narrow.empty()) return true;
  // UTF-8 takes no flags; the others get precomposed characters.
  DWORD flags = cp == CP_UTF8 ? 0 : MB_PRECOMPOSED;
  int n = ::MultiByteToWideChar(cp, flags, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
  if (n <= 0) return false;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(cp, flags, narrow.data(), static_cast<int>(narrow.size()), wide.data(), n);
  out.assign(wide.begin(), wide.end());
  detail::CapUtf16(out, maxUnits);
  return true;
}

bool FromUtf16(uint32_t codePage, const std::u16string& text, std::string& out, size_t maxBytes,
               char replacement) {
  out.clear();
  UINT cp = SystemCodePage(codePage);
  if (cp != CP_ACP && !::IsValidCodePage(cp)) return false;
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
