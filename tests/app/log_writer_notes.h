// The two-line notes that the log tests and their companion program write
// side by side, and the check that each note reached the file whole.
#pragma once

#include <string>

namespace logtest {

// "\n<writer> <i> first ....\n<writer> <i> second": long enough that a
// batch of them spans several writes to the file.
inline std::string TwoLineNote(const std::string& writer, int i) {
  const std::string head = writer + " " + std::to_string(i);
  return "\n" + head + " first " + std::string(100, '.') + "\n" + head + " second";
}

}  // namespace logtest
