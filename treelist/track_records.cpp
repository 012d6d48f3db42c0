#include "treelist/track_records.h"

#include <cinttypes>
#include <cstdio>

#include "platform/codepage.h"

namespace treelist {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string OrUnknown(std::string text) { return text.empty() ? std::string(kUnknownText) : text; }

}  // namespace

std::string CutAnsiText(std::string_view text, size_t maxBytes) {
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() <= maxBytes) return std::string(text);
  // Round-trip through UTF-16 so that the cut falls between characters of
  // a double-byte code page; the converter never splits a character.
  std::u16string wide;
  std::string cut;
  if (sys::ToUtf16(sys::kAnsiCodePage, std::string(text), wide) &&
      sys::FromUtf16(sys::kAnsiCodePage, wide, cut, maxBytes) && cut.size() <= maxBytes)
    return cut;
  return std::string(text.substr(0, maxBytes));
}

std::string FormatPlayTime(int64_t ms) {
  if (ms < 0) ms = 0;
  char text[48];
  std::snprintf(text, sizeof text, "%02" PRId64 ":%02" PRId64, ms / 60000, (ms / 1000) % 60);
  return text;
}

std::string TrimmedTagText(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return OrUnknown(std::string(text.substr(first, last - first)));
}

std::string TitleText(std::string_view text) { return OrUnknown(std::string(text)); }

std::string LoadedText(std::string_view text) {
  size_t last = text.size();
  while (last > 0 && IsBlank(text[last - 1])) --last;
  return OrUnknown(std::string(text.substr(0, last)));
}

}  // namespace treelist
