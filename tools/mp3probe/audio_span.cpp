#include "tools/mp3probe/audio_span.h"

#include <cstring>

namespace tools {

AudioSpan FindAudioSpan(const uint8_t* data, size_t size) {
  AudioSpan span{0, size};
  // "ID3" vv ff ssss: the size is synchsafe (seven bits per byte) and counts
  // the bytes after the 10-byte header; flag 0x10 adds a 10-byte footer.
  if (size >= 10 && std::memcmp(data, "ID3", 3) == 0 && (data[6] | data[7] | data[8] | data[9]) < 0x80) {
    size_t tag = (size_t(data[6]) << 21) | (size_t(data[7]) << 14) | (size_t(data[8]) << 7) | size_t(data[9]);
    tag += 10;
    if (data[5] & 0x10) tag += 10;
    span.begin = tag < size ? tag : size;
  }
  if (size - span.begin >= 128 && std::memcmp(data + size - 128, "TAG", 3) == 0) span.end = size - 128;
  return span;
}

}  // namespace tools
