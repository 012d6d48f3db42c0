// Decoding of one text frame's data: an encoding byte, then the text up to
// its first zero character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mp3 {

// Longest UTF-16 form of a UTF-8 text frame, in code units.
constexpr size_t kMaxUtf8TextUnits = 64;

struct FrameText {
  std::u16string text;
  // True for the Unicode encodings (2.2: encoding 1; 2.3 and 2.4: every
  // encoding but 0), false for text in the narrow system code page.
  bool wide = false;
};

// Decodes the data of a text frame of a tag with this major version (2, 3 or
// 4). data[0] is the encoding byte; size is at least 1.
FrameText DecodeFrameText(unsigned majorVersion, const uint8_t* data, size_t size);

// UTF-16 text from bytes, up to the first zero unit; an odd last byte is
// dropped. A byte-order mark (FF FE little-endian, FE FF big-endian) decides
// the byte order and is not part of the text; without one the text is in
// the given default order.
std::u16string DecodeUtf16(const uint8_t* bytes, size_t size, bool bigEndianByDefault);

}  // namespace mp3
