// The check a drop makes of every offered file, as the device wrapper's
// CheckValidity entry point runs it: is the file an MP3 the player can take,
// and if so, its track information, with the file's name as the title when
// the tags give none.
#pragma once

#include <cstdint>

#include "mp3/mp3_analyzer.h"
#include "mp3/track_info.h"
#include "platform/system.h"

namespace mp3 {

// What the check found, for diagnostics (the probe tool); the drop itself
// needs only the answer and the record.
struct ValidityReport {
  bool accepted = false;
  Refusal reason = Refusal::kNone;
  // For kUnreadable: the system's error code, 0 when it gave none.
  uint32_t systemError = 0;
  // From the validity scan; 0xFFFFFFFF and 0 when no frame was found.
  uint32_t lowestBitRate = 0xFFFFFFFF;
  uint32_t highestBitRate = 0;
  uint32_t durationMs = 0;
};

// Logs the check, runs the analyser's validity check and, for an acceptable
// file, fills info (number 0). True when the file is acceptable and its
// track information was read; info is worth using only then. A refused file
// leaves info's texts as they were.
//
// The frames are walked once: the track information takes the bit rate and
// duration of the validity check's walk, which a second walk of the same
// file would only repeat at the cost of reading the whole file again.
bool CheckValidity(const sys::Path& path, TrackInfo& info, ValidityReport* report = nullptr);

// The file's name without folder and extension as UTF-16.
std::u16string WideFileStem(const sys::Path& path);

}  // namespace mp3
