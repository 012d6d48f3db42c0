#include "mp3/genre_reference.h"

#include "mp3/genre_table.h"

namespace mp3 {

namespace {

std::u16string Widen(const char* ascii) {
  std::u16string out;
  for (const char* p = ascii; *p; ++p) out += static_cast<char16_t>(static_cast<unsigned char>(*p));
  return out;
}

}  // namespace

std::u16string ResolveGenreReference(const std::u16string& text) {
  const size_t open = text.find(u'(');
  if (open == std::u16string::npos) return text;
  const size_t close = text.find(u')', open + 1);
  if (close == std::u16string::npos) return text;
  const std::u16string inner = text.substr(open + 1, close - open - 1);
  if (inner == u"0") return Widen(GenreName(0));
  // The leading decimal digits; more than three can only be out of range,
  // and counting them stops the value from overflowing.
  size_t index = 0;
  size_t digits = 0;
  while (digits < inner.size() && inner[digits] >= u'0' && inner[digits] <= u'9') {
    if (index < 1000) index = index * 10 + static_cast<size_t>(inner[digits] - u'0');
    ++digits;
  }
  if (digits > 0 && index >= 1 && index < kGenreCount) return Widen(GenreName(index));
  return text;
}

}  // namespace mp3
