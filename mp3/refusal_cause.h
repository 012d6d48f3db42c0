// Why a file offered for transfer was not taken: a small record kept for
// each refused file and turned into words only where a person reads it
// (refusal_text.h).
#pragma once

#include <cstdint>

#include "mp3/validity_check.h"

namespace mp3 {

enum class RefusalCause : uint8_t {
  kNotMp3Name,     // the name does not end in ".mp3"
  kUnreadable,     // the file cannot be read; systemError tells why when the system said
  kNotMpegAudio,   // no MPEG audio frame, or audio wrapped in a RIFF file
  kBitRate,        // a frame outside 32-320 kbit/s; bitRate is the one found
  kTooManyAlbums,  // a dropped folder while the player holds all the albums it can
};

struct RefusalReason {
  RefusalCause cause = RefusalCause::kUnreadable;
  uint32_t bitRate = 0;      // bit/s, for kBitRate
  uint32_t systemError = 0;  // GetLastError or errno, for kUnreadable; 0 when unknown
};

// The reason the analyser's check gave for a refused file.
RefusalReason ReasonOf(const ValidityReport& report);

}  // namespace mp3
