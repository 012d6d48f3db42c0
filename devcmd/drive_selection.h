// The drive check every transport makes when a drive is selected.
#pragma once

#include "common/hresult.h"
#include "devcmd/device_system.h"

namespace devcmd {

// kOk when index is 0 to 25 and its root path ("A:\" advanced by index)
// is a removable, fixed or CD-ROM drive; kInvalidArg otherwise (network
// drives, RAM disks, missing drives and indexes out of range).
HRESULT CheckDriveSelectable(DeviceSystem& system, int index);

// Makes the check and records the outcome in selected: index when it
// passed, -1 (no drive) when it did not. Returns the check's result.
HRESULT SelectCheckedDrive(DeviceSystem& system, int index, int& selected);

}  // namespace devcmd
