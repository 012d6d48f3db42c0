#include "devcmd/driver_request.h"

namespace devcmd {

namespace {

bool Fits32(uintptr_t address) {
  if constexpr (sizeof(uintptr_t) > 4) return (static_cast<uint64_t>(address) >> 32) == 0;
  return true;
}

}  // namespace

HRESULT BuildDriverRequest(int drive, uintptr_t cdb, uint16_t cdbLength, uintptr_t data, uint32_t dataLength,
                           uintptr_t sense, DataDirection direction, DriverRequest& out) {
  if (drive < 0 || drive > 25) return hr::kInvalidArg;
  if (dataLength == 0) data = 0;
  if (!Fits32(cdb) || !Fits32(data) || !Fits32(sense)) return hr::kInvalidArg;
  DriverRequest r{};
  r.drive = static_cast<uint8_t>(drive);
  r.cdbAddress = static_cast<uint32_t>(cdb);
  r.cdbLength = cdbLength;
  r.dataAddress = static_cast<uint32_t>(data);
  r.dataLength = dataLength;
  r.senseAddress = static_cast<uint32_t>(sense);
  r.senseLength = kDriverSenseLength;
  r.direction = static_cast<uint8_t>(direction);
  out = r;
  return hr::kOk;
}

}  // namespace devcmd
