// Load and unload of Vantle.dll: the 9x pass-through driver is opened for
// the life of the library.
#include <windows.h>

#include "devcmd/device_system.h"
#include "devcmd/driver_connection.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      ::DisableThreadLibraryCalls(instance);
      devcmd::OpenDriverConnection(devcmd::RealDeviceSystem());
      break;
    case DLL_PROCESS_DETACH:
      devcmd::CloseDriverConnection();
      break;
    default:
      break;
  }
  return TRUE;
}
