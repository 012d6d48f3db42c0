#include "devcmd/drive_selection.h"

namespace devcmd {

HRESULT CheckDriveSelectable(DeviceSystem& system, int index) {
  if (index < 0 || index > 25) return hr::kInvalidArg;
  const char root[] = {static_cast<char>('A' + index), ':', '\\', '\0'};
  switch (system.GetDriveTypeA(root)) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_CDROM:
      return hr::kOk;
    default:
      return hr::kInvalidArg;
  }
}

HRESULT SelectCheckedDrive(DeviceSystem& system, int index, int& selected) {
  const HRESULT check = CheckDriveSelectable(system, index);
  selected = hr::Succeeded(check) ? index : -1;
  return check;
}

}  // namespace devcmd
