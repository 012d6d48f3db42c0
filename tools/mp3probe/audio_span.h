// Where the audio of an MP3 file lies: after a leading ID3v2 tag (and its
// footer, when flagged) and before a trailing 128-byte ID3v1 tag.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tools {

struct AudioSpan {
  size_t begin = 0;
  size_t end = 0;
};

AudioSpan FindAudioSpan(const uint8_t* data, size_t size);

}  // namespace tools
