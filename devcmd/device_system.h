// The seam between the library's transports and Windows: every system call
// the transports make (files and device control, drive types, COM
// activation, registry reads) and the classification they are chosen by.
// The library uses the real system; tests put a simulated player behind
// it. Each call has the meaning of the Win32 function of the same name
// (the unused parameters left out) and reports errors through
// SetLastError where that function does.
#pragma once

#include <objbase.h>
#include <windows.h>

#include <optional>

namespace devcmd {

class DeviceSystem {
 public:
  virtual ~DeviceSystem() = default;

  virtual HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) = 0;
  virtual BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                               LPDWORD returned) = 0;
  virtual BOOL CloseHandle(HANDLE handle) = 0;
  virtual UINT GetDriveTypeA(LPCSTR root) = 0;

  virtual HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                   LPVOID* out) = 0;
  virtual HRESULT CoInitialize() = 0;
  virtual void CoUninitialize() = 0;

  virtual LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) = 0;
  virtual LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) = 0;
  virtual LSTATUS RegCloseKey(HKEY key) = 0;

  // OsKind and AdminLevel of the system.
  virtual std::optional<int> OsKind() = 0;
  virtual int AdminLevel() = 0;
};

// The real system.
DeviceSystem& RealDeviceSystem();

// The system the library's exports use: the real one unless a test has put
// another in its place.
DeviceSystem& CurrentDeviceSystem();
// Puts system in place of the current one (null restores the real system).
void UseDeviceSystem(DeviceSystem* system);

}  // namespace devcmd
