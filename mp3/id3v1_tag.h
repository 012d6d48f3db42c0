// The trailing tag ("ID3v1"): the last 128 bytes of a file, "TAG" followed by
// fixed-width fields of narrow text and a genre byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mp3/tag_texts.h"

namespace mp3 {

constexpr size_t kId3v1Size = 128;

// True when the three bytes at tail are "TAG" in any letter case: enough
// for the frame walk to leave the last 128 bytes out.
bool LooksLikeId3v1(const uint8_t* tail);

// The texts of a trailing tag. Empty texts unless the bytes begin with "TAG"
// exactly. Title, artist and album are the bytes of their 30-byte fields up
// to the first zero byte; a field whose first three bytes are all 0x00 or
// all 0xFF is empty. The genre is the table's name for the last byte, empty
// for a byte outside the table (255 is the usual "no genre").
NarrowTagTexts ParseId3v1Tag(const uint8_t* tail);

}  // namespace mp3
