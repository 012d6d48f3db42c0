// Conversions of tag texts between their wide and narrow forms, with the
// limits the track records and the player's tag take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mp3 {

// Longest narrow tag text in bytes.
constexpr size_t kMaxNarrowTextBytes = 511;
// Longest wide text made from narrow text, in UTF-16 units.
constexpr size_t kMaxWideTextUnits = 64;

// Narrow text in the code page (sys::kAnsiCodePage for the system's),
// characters it cannot hold becoming a blank, at most 511 bytes, never
// ending in part of a character. Empty when the code page is not available.
std::string NarrowText(uint32_t codePage, const std::u16string& text);

// Wide text from narrow text in the code page, at most 64 UTF-16 units,
// never ending in half of a surrogate pair.
std::u16string WideText(uint32_t codePage, const std::string& text);

// True when the text holds a character other than a blank.
bool HasNonBlank(const std::string& text);

}  // namespace mp3
