// Drive letters of the Wine prefix, for tests that need a removable drive:
// Wine's mount manager maps a letter to a host folder with a drive type at
// once, without restarting the prefix's services (which is what a value in
// HKLM\Software\Wine\Drives needs before it is seen).
#pragma once

#include <string>
#include <vector>

namespace probe {

// define-drive LETTER HOSTPATH [TYPE]   map LETTER to the host folder; TYPE
//                                       removable (default), fixed, cdrom
// remove-drive LETTER                   remove the mapping
// Reports {"defined": true|false} or {"removed": ...} and the drive type
// GetDriveTypeW reports afterwards. Returns the probe's exit code.
int WineDriveCommand(const std::wstring& command, const std::vector<std::wstring>& positional);

}  // namespace probe
