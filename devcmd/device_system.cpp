#include "devcmd/device_system.h"

#include <atomic>

#include "devcmd/os_rights.h"

namespace devcmd {

namespace {

class RealSystem final : public DeviceSystem {
 public:
  HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) override {
    return ::CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
  }
  BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                       LPDWORD returned) override {
    return ::DeviceIoControl(device, code, in, inSize, out, outSize, returned, nullptr);
  }
  BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }
  UINT GetDriveTypeA(LPCSTR root) override { return ::GetDriveTypeA(root); }

  HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) override {
    return ::CoCreateInstance(clsid, outer, context, iid, out);
  }
  HRESULT CoInitialize() override { return ::CoInitialize(nullptr); }
  void CoUninitialize() override { ::CoUninitialize(); }

  LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) override {
    return ::RegOpenKeyExA(key, subKey, options, access, result);
  }
  LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) override {
    return ::RegQueryValueExA(key, name, nullptr, type, data, size);
  }
  LSTATUS RegCloseKey(HKEY key) override { return ::RegCloseKey(key); }

  std::optional<int> OsKind() override { return osrights::OsKind(); }
  int AdminLevel() override { return osrights::AdminLevel(); }
};

std::atomic<DeviceSystem*> g_current{nullptr};

}  // namespace

DeviceSystem& RealDeviceSystem() {
  static RealSystem system;
  return system;
}

DeviceSystem& CurrentDeviceSystem() {
  DeviceSystem* s = g_current.load();
  return s ? *s : RealDeviceSystem();
}

void UseDeviceSystem(DeviceSystem* system) { g_current.store(system); }

}  // namespace devcmd
