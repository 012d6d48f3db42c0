// Letter-case-blind comparison of file signatures ("ID3", "TAG", "RIFF",
// ".mp3"). Only ASCII letters fold; the result never depends on the locale.
#pragma once

#include <cstddef>

namespace mp3 {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// True when the first count units of text equal the lower-case ASCII word
// in any letter case.
template <typename Unit>
bool StartsWithIgnoringCase(const Unit* text, size_t count, const char* lowerWord) {
  for (size_t i = 0; i < count; ++i) {
    const auto c = static_cast<unsigned>(text[i]);
    if (c > 0x7F || AsciiLower(static_cast<char>(c)) != lowerWord[i]) return false;
  }
  return true;
}

}  // namespace mp3
