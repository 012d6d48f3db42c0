// The drive page's scan: the shell's drives folder, filtered by the drive
// rules and IsPlayer.
#pragma once

#include <string>
#include <vector>

#include "devcmd/device_system.h"
#include "wizard/drive_rules.h"
#include "wizard/player_check_win32.h"

namespace wizard {

// Normal display names of the items of the drives folder ("My Computer"),
// in the shell's order, as ANSI text. Empty when the folder cannot be
// enumerated.
std::vector<std::string> DrivesFolderDisplayNames();

// The players among the drives; empty when the system cannot be
// classified. COM must be initialised on the calling thread.
std::vector<DriveChoice> FindPlayers(devcmd::DeviceSystem& system, const SetDriveNoFn& setDriveNo);

}  // namespace wizard
