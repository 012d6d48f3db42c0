// Checks one track file as the player stores it: a tag in the container
// writer's layout ("kvx" 3.0 with the title, artist, album and genre text
// frames first), then a complete 96-byte header block whose statistics
// match the audio, then the MPEG frames. Every fault found is named.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace playertool {

struct TrackFileReport {
  std::vector<std::string> faults;
  size_t tagLength = 0;    // tag header and body
  size_t audioLength = 0;  // bytes after the header block
  uint32_t frames = 0;     // frames found in the audio
  uint32_t playTimeMs = 0;
};

TrackFileReport CheckTrackFile(const uint8_t* data, size_t size);

}  // namespace playertool
