#include "mp3/id3v2_text.h"

#include <cstring>

#include "container/tag_text.h"
#include "platform/codepage.h"

namespace mp3 {

namespace {

// Bytes up to the first zero byte.
std::string NarrowUpToZero(const uint8_t* bytes, size_t size) {
  const void* zero = std::memchr(bytes, 0, size);
  const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : size;
  return std::string(reinterpret_cast<const char*>(bytes), n);
}

std::u16string FromAnsi(const uint8_t* bytes, size_t size) {
  std::u16string out;
  sys::ToUtf16(sys::kAnsiCodePage, NarrowUpToZero(bytes, size), out);
  return out;
}

std::u16string FromUtf8(const uint8_t* bytes, size_t size) {
  std::string text = NarrowUpToZero(bytes, size);
  // Some writers start UTF-8 text with a byte-order mark; it is no part of
  // the title and would only take room.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  std::u16string out;
  sys::ToUtf16(sys::kUtf8CodePage, text, out, kMaxUtf8TextUnits);
  return out;
}

}  // namespace

std::u16string DecodeUtf16(const uint8_t* bytes, size_t size, bool bigEndianByDefault) {
  bool bigEndian = bigEndianByDefault;
  container::SkipByteOrderMark(bytes, size, bigEndian);
  // A zero unit is two zero bytes on a unit boundary, whatever the order.
  size_t textBytes = size;
  if (!container::FindTerminator(container::kEncodingUtf16WithBom, bytes, size, textBytes)) textBytes = size;
  return container::Utf16FromBytes(bytes, textBytes, bigEndian);
}

FrameText DecodeFrameText(unsigned majorVersion, const uint8_t* data, size_t size) {
  const uint8_t encoding = data[0];
  const uint8_t* text = data + 1;
  const size_t length = size - 1;
  FrameText out;
  if (majorVersion == 2) {
    // 2.2 knows two encodings: 1 is UTF-16, anything else narrow text.
    out.wide = encoding == 1;
    out.text = out.wide ? DecodeUtf16(text, length, false) : FromAnsi(text, length);
    return out;
  }
  out.wide = encoding != 0;
  switch (encoding) {
    case 0:
      out.text = FromAnsi(text, length);
      break;
    case 1:
      // UTF-16 with a byte-order mark; writers that leave the mark out
      // write little-endian.
      out.text = DecodeUtf16(text, length, false);
      break;
    case 2:
      // UTF-16 big-endian, which by definition carries no mark; some writers
      // put one there anyway.
      out.text = DecodeUtf16(text, length, true);
      break;
    case 3:
      out.text = FromUtf8(text, length);
      break;
    default:
      // No such encoding: the bytes are taken as narrow text, which at worst
      // shows them as they are.
      out.text = FromAnsi(text, length);
      break;
  }
  return out;
}

}  // namespace mp3
