// The leading tag ("ID3v2", versions 2.2, 2.3 and 2.4) as it lies in memory:
// its header, and the walk over its frames that picks out the title, artist,
// album and genre texts. Every read is checked against the tag's length, so a
// size field that lies cannot take the walk outside the tag.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/hresult.h"
#include "mp3/tag_texts.h"

namespace mp3 {

constexpr size_t kId3v2HeaderSize = 10;

// Length of the whole tag (header included) from its 10-byte header. The
// size field is synchsafe; a top bit set in one of its bytes is ignored.
uint64_t Id3v2TagLength(const uint8_t* header);

struct Id3v2Texts {
  WideTagTexts texts;
  // Set when the text of the last matching frame was stored in a Unicode
  // encoding rather than in the narrow system code page.
  bool wide = false;
};

// Walks the frames of a whole tag in memory (tag[0..length), header
// included) and decodes the four wanted texts. kOk; kFail for major versions
// 0 and 1, which have no frame layout; kUnexpected for versions above 4.
HRESULT ParseId3v2Tag(const uint8_t* tag, size_t length, Id3v2Texts& out);

}  // namespace mp3
