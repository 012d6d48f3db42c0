// The drive check every transport makes when a drive is selected.
#pragma once

#include "common/hresult.h"
#include "devcmd/device_system.h"

namespace devcmd {

// kOk when index is 0 to 25 and its root path ("A:\" advanced by index)
// is a removable, fixed or CD-ROM drive; kInvalidArg otherwise (network
// drives, RAM disks, missing drives and indexes out of range).
HRESULT CheckDriveSelectable(DeviceSystem& system, int index);

}  // namespace devcmd
