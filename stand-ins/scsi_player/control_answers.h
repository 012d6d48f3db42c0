// How the simulated system answers the device-control requests of the
// pass-through routes, in the byte layouts the real system and driver use:
// the direct and buffered SCSI pass-through blocks on a volume, the storage
// adapter query, and the 9x driver's 22-byte request.
#pragma once

#include <cstdint>
#include <functional>

#include "stand-ins/scsi_player/scsi_target.h"

namespace scsiplayer {

constexpr uint32_t kIoctlStorageQueryProperty = 0x2D1400;

struct ControlAnswer {
  bool ok = false;
  uint32_t error = 0;     // the Windows error when not ok
  uint32_t returned = 0;  // bytes returned
};

// IOCTL_SCSI_PASS_THROUGH_DIRECT or IOCTL_SCSI_PASS_THROUGH with blocks of
// this process's pointer width. The system copies in to a buffer of its
// own and that buffer back to out, as for any buffered control request.
ControlAnswer AnswerPassThrough(ScsiTarget& target, uint32_t code, const void* in, uint32_t inSize, void* out,
                                uint32_t outSize);

// IOCTL_STORAGE_QUERY_PROPERTY, standard query, for the device (property
// 0: a removable direct-access device on USB) or its adapter (property 1:
// a USB adapter). As Windows does, the answer is as much of the descriptor
// as the output buffer holds, at least its 8-byte header; other properties
// and query types are refused.
ControlAnswer AnswerStorageQuery(const void* in, uint32_t inSize, void* out, uint32_t outSize);

// A 22-byte request of the 9x driver; targetFor gives the device of a
// drive index, or null when there is none.
ControlAnswer AnswerDriverRequest(const std::function<ScsiTarget*(int)>& targetFor, const void* in,
                                  uint32_t inSize, void* out, uint32_t outSize);

}  // namespace scsiplayer
