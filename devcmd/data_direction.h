// Direction of the data phase of a SCSI command. The values are the
// direction codes of the pass-through driver's request.
#pragma once

#include <cstdint>

namespace devcmd {

enum class DataDirection : uint8_t {
  kNone = 0,  // no data
  kIn = 1,    // data from the device
  kOut = 2,   // data to the device
};

}  // namespace devcmd
