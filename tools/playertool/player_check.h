// Checks a whole player folder: the index can be read, every track it
// names has its file, of the size the index records, and that file passes
// CheckTrackFile; and the tracks folder holds no file the index does not
// name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"

namespace playertool {

struct PlayerCheck {
  size_t albums = 0;
  size_t tracks = 0;
  std::vector<std::string> faults;
};

PlayerCheck CheckPlayer(const sys::Path& folder);

// The whole of a file; false when it cannot be opened or read.
bool ReadFileBytes(const sys::Path& path, std::vector<uint8_t>& out);

// "check: A albums, T tracks, F faults"
std::string CheckSummary(const PlayerCheck& check);

}  // namespace playertool
