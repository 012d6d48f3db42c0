// The library-wide handle of the maker's pass-through driver: opened when
// the library is loaded on a system outside the NT family (opening it is
// what loads the driver), closed when the library is unloaded.
#pragma once

#include <windows.h>

#include "devcmd/device_system.h"

namespace devcmd {

// Opens the driver through system when its OsKind is outside the NT
// family; on failure, or on the NT family, the handle stays empty.
void OpenDriverConnection(DeviceSystem& system);
void CloseDriverConnection();
// The driver handle, or null.
HANDLE DriverConnectionHandle();

}  // namespace devcmd
