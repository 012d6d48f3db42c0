// Laying out a new tag: header, frames in write order, zero padding. A tag
// keeps its length when the frames still fit with at most 3,072 bytes of
// slack; otherwise it grows or shrinks to the next multiple of 3,072 bytes
// above its content, so that later edits of a few texts fit in place and
// the file need not be copied.
#pragma once

#include <cstdint>

#include "container/tag_header.h"
#include "container/tag_text.h"

namespace container {

constexpr uint32_t kTagPaddingUnit = 3072;

// The length (header included) of the new tag for frames of frameBytes in
// all, the old tag being oldLength bytes long (0 when the file has none).
// 0 when there are no frames: the file loses its tag. kTagTooLarge when the
// tag's size would not fit its synchsafe field.
KvxFileRet NewTagLength(uint64_t frameBytes, uint64_t oldLength, uint64_t& newLength);

// The whole new tag: the old header when there was one (its size field
// updated), else a new "kvx" header; then the frames; then zero padding.
// Empty when there are no frames.
KvxFileRet LayOutTag(const TagHeader* oldHeader, uint64_t oldLength, const Bytes& frames, Bytes& image);

}  // namespace container
