// The system a test build of the wizard runs on: the real Wine prefix for
// the drives folder and drive types, with the simulated player behind the
// volumes that a script file names, and the version and rights that file
// may set. The file is read again whenever it changes, so a test can
// exchange the player while the wizard runs.
//
// The file (its path in the environment variable PELLMARK_WIZARD_SCRIPT):
//   oskind N                      OsKind to report (default: the real one)
//   admin N                       AdminLevel to report (default: the real one)
//   player X NAME CAP             a player behind drive X with vendor-
//                                 specific text NAME ("-" for blanks) and
//                                 DeviceCap CAP (0 or 1)
//   refuse-query X                drive X: the adapter query fails
//   refuse-requests X             drive X: a player behind a bridge that
//                                 refuses every pass-through request
//   no-device X                   drive X: the volume opens, nothing answers
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devcmd/device_system.h"
#include "stand-ins/scsi_player/simulated_device_system.h"
#include "stand-ins/scsi_player/simulated_player.h"

namespace wizardtest {

class ScriptedDrives final : public devcmd::DeviceSystem {
 public:
  explicit ScriptedDrives(std::string scriptPath);

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
  // Reads the script again when it changed and no handle is open.
  void refresh();

  std::string m_sScript;
  std::recursive_mutex m_mutex;
  std::string m_sLastText;
  std::unique_ptr<scsiplayer::SimulatedDeviceSystem> m_sim;
  std::vector<std::unique_ptr<scsiplayer::SimulatedPlayer>> m_players;
  std::optional<int> m_osKind;
  std::optional<int> m_adminLevel;
  bool m_bLoaded = false;
};

}  // namespace wizardtest
