// Finds the MPEG audio inside a source file's bytes: past a RIFF wrapper
// (form "WAVE" or "RMP3" with format tag 0x55, audio in the "data" chunk),
// past a leading ID3v2 tag (with its footer when flagged), before a
// trailing 128-byte ID3v1 tag, starting at the first frame that the next
// frame confirms.
#pragma once

#include <cstddef>
#include <cstdint>

#include "container/mpeg_header.h"

namespace device {

enum class AudioSearch {
  kFound,     // offset and size name the audio, first frame included
  kNoAudio,   // the file holds tags only: nothing is left for audio
  kRejected,  // a wrapper or tag that does not fit, or no confirmed frame
};

struct AudioLocation {
  uint64_t offset = 0;  // first byte of the first frame
  uint64_t size = 0;    // from there to the end, without a trailing tag
  container::MpegHeaderInfo firstFrame;
};

AudioSearch LocateAudio(const uint8_t* data, size_t length, AudioLocation& out);

}  // namespace device
