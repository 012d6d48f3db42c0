// What sits behind a simulated pass-through route: something that runs one
// SCSI command. Kept to plain types and virtual calls only, because test
// programs hand a target to the stand-in service DLL, a module with its own
// runtime.
#pragma once

#include <cstdint>

#include "devcmd/data_direction.h"

namespace scsiplayer {

// SCSI status bytes.
constexpr uint8_t kStatusGood = 0x00;
constexpr uint8_t kStatusCheckCondition = 0x02;

// Sense keys.
constexpr uint8_t kSenseNone = 0x0;
constexpr uint8_t kSenseNotReady = 0x2;
constexpr uint8_t kSenseIllegalRequest = 0x5;
constexpr uint8_t kSenseUnitAttention = 0x6;

constexpr uint32_t kSenseDataLength = 18;

struct CommandOutcome {
  uint8_t scsiStatus = kStatusGood;
  // Fixed-format sense data, meaningful when scsiStatus is Check Condition:
  // byte 2 the sense key, 12 the ASC, 13 the ASCQ.
  uint8_t sense[kSenseDataLength] = {};
  uint32_t transferred = 0;  // data bytes moved
};

class ScsiTarget {
 public:
  // Runs one command with data of dataLength bytes in the given direction.
  // Returns false when the request is refused before it reaches the device
  // (a bridge that does not pass it on); errorCode then holds the Windows
  // error to report.
  virtual bool Execute(const uint8_t* cdb, uint32_t cdbLength, devcmd::DataDirection direction, uint8_t* data,
                       uint32_t dataLength, CommandOutcome& outcome, uint32_t& errorCode) = 0;

 protected:
  ~ScsiTarget() = default;
};

}  // namespace scsiplayer
