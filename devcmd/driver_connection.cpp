#include "devcmd/driver_connection.h"

#include "devcmd/driver_request.h"
#include "devcmd/os_kind.h"

namespace devcmd {

namespace {
// Written only while the loader (or a test) opens and closes the
// connection, before and after any command runs.
DeviceSystem* g_driverSystem = nullptr;
HANDLE g_driver = nullptr;
}  // namespace

void OpenDriverConnection(DeviceSystem& system) {
  CloseDriverConnection();
  const std::optional<int> kind = system.OsKind();
  if (!kind || osrights::IsNtFamily(*kind)) return;
  // No access, no sharing, a new file removed on close: the form that makes
  // the system load the driver.
  HANDLE h = system.CreateFileA(kDriverDeviceName, 0, 0, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return;
  g_driverSystem = &system;
  g_driver = h;
}

void CloseDriverConnection() {
  if (g_driver && g_driverSystem) g_driverSystem->CloseHandle(g_driver);
  g_driver = nullptr;
  g_driverSystem = nullptr;
}

HANDLE DriverConnectionHandle() { return g_driver; }

}  // namespace devcmd
