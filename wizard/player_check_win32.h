// IsPlayer: whether a drive letter is the player, as the drive page
// decides it. The command library must accept the drive (SetDriveNo
// imported from Vantle.dll), then the drive is asked for its INQUIRY data.
#pragma once

#include <functional>

#include "devcmd/device_system.h"

namespace wizard {

// The command library's SetDriveNo, or a stand-in in tests.
using SetDriveNoFn = std::function<int(int)>;
SetDriveNoFn LibrarySetDriveNo();

bool IsPlayer(char letter, devcmd::DeviceSystem& system, const SetDriveNoFn& setDriveNo);

}  // namespace wizard
