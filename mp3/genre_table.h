// The genre names a trailing tag's genre byte and a leading tag's "(n)"
// genre reference point at: the 80 names of the original trailing-tag list
// followed by the 68 names of the common extension list, spelled exactly as
// the players and other tag tools spell them (misspellings included).
#pragma once

#include <cstddef>

namespace mp3 {

constexpr size_t kGenreCount = 148;

// The name for a genre index, or null when the index is outside the table.
const char* GenreName(size_t index);

}  // namespace mp3
