// A simulated Windows behind the command library's system seam (and any
// other code that calls through devcmd::DeviceSystem): drives with their
// types and devices, the 9x pass-through driver, the classification, the
// registry values the library reads, and COM activation passed on to the
// real system (so that the stand-in service is activated for real). It
// counts and records what it was asked, so tests can tell which route a
// command took and that every handle came back.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devcmd/device_system.h"
#include "devcmd/driver_request.h"
#include "stand-ins/scsi_player/scsi_target.h"

namespace scsiplayer {

class SimulatedDeviceSystem final : public devcmd::DeviceSystem {
 public:
  struct Counters {
    int volumeOpens = 0;
    int driverOpens = 0;
    int closes = 0;
    int directRequests = 0;    // IOCTL_SCSI_PASS_THROUGH_DIRECT
    int bufferedRequests = 0;  // IOCTL_SCSI_PASS_THROUGH
    int storageQueries = 0;
    int driverRequests = 0;
    int coCreateInstance = 0;
    int coInitialize = 0;
    int coUninitialize = 0;
    int registryOpens = 0;
  };
  struct OpenCall {
    std::string name;
    DWORD access = 0, share = 0, disposition = 0, flags = 0;
  };
  // One IOCTL_STORAGE_QUERY_PROPERTY as it was asked.
  struct StorageQuery {
    std::vector<uint8_t> input;
    DWORD outputSize = 0;
  };

  SimulatedDeviceSystem();
  ~SimulatedDeviceSystem() override;

  // A drive letter with the type GetDriveTypeA reports (DRIVE_REMOVABLE,
  // DRIVE_FIXED, DRIVE_REMOTE, ...) and the device its volume reaches;
  // with none the volume opens but refuses SCSI requests. Letters not
  // added report DRIVE_NO_ROOT_DIR.
  void addDrive(char letter, UINT type, ScsiTarget* device = nullptr);
  // Opening the drive's volume fails with error.
  void refuseVolumeOpen(char letter, DWORD error = ERROR_ACCESS_DENIED);
  // The drive's storage adapter query fails (a card reader that will not
  // tell).
  void refuseStorageQuery(char letter);
  // The 9x pass-through driver can be opened.
  void installDriver(bool installed = true);

  void setClassification(std::optional<int> osKind, int adminLevel);

  // Values under HKEY_LOCAL_MACHINE; sub-key names compare without case.
  void setRegistryString(const std::string& subKey, const std::string& name, const std::string& text);
  void setRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                        const std::vector<uint8_t>& data);
  void clearRegistry();

  // CoCreateInstance fails with code the next `times` calls before the
  // calls go to the real system again.
  void failCoCreateInstance(HRESULT code, int times);

  Counters counters() const;
  int openHandles() const;
  std::vector<OpenCall> opens() const;
  std::vector<StorageQuery> storageQueries() const;
  // The last pass-through block as it was sent (before the answer), and
  // the last driver request.
  std::vector<uint8_t> lastPassThroughBlock() const;
  std::optional<devcmd::DriverRequest> lastDriverRequest() const;

  // devcmd::DeviceSystem
  HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) override;
  BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                       LPDWORD returned) override;
  BOOL CloseHandle(HANDLE handle) override;
  UINT GetDriveTypeA(LPCSTR root) override;
  HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) override;
  HRESULT CoInitialize() override;
  void CoUninitialize() override;
  LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) override;
  LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) override;
  LSTATUS RegCloseKey(HKEY key) override;
  std::optional<int> OsKind() override;
  int AdminLevel() override;

 private:
  struct Drive {
    UINT type = DRIVE_NO_ROOT_DIR;
    ScsiTarget* device = nullptr;
    std::optional<DWORD> openError;
    bool refuseStorageQuery = false;
  };
  struct Value {
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
  };
  // What a handle given out stands for: a drive letter, or 0 for the driver.
  using HandleTarget = char;

  ScsiTarget* deviceOfIndex(int index);
  static std::string Lower(std::string s);

  mutable std::recursive_mutex m_mutex;
  std::map<char, Drive> m_drives;
  bool m_bDriverInstalled = false;
  std::optional<int> m_osKind;
  int m_nAdminLevel = 0;
  std::map<std::string, std::map<std::string, Value>> m_registry;  // lower-case sub-key
  std::map<HKEY, std::string> m_openKeys;
  std::map<HANDLE, HandleTarget> m_handles;
  uintptr_t m_nextHandle = 0x4000;
  HRESULT m_coFailure = S_OK;
  int m_nCoFailures = 0;
  Counters m_counters;
  std::vector<OpenCall> m_opens;
  std::vector<StorageQuery> m_storageQueries;
  std::vector<uint8_t> m_lastBlock;
  std::optional<devcmd::DriverRequest> m_lastDriverRequest;
};

}  // namespace scsiplayer
