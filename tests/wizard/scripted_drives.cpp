#include "tests/wizard/scripted_drives.h"

#include <fstream>
#include <sstream>

#include "devcmd/os_rights.h"

namespace wizardtest {

ScriptedDrives::ScriptedDrives(std::string scriptPath) : m_sScript(std::move(scriptPath)) { refresh(); }

void ScriptedDrives::refresh() {
  std::lock_guard lock(m_mutex);
  if (m_sim && m_sim->openHandles() != 0) return;
  std::ifstream in(m_sScript, std::ios::binary);
  std::stringstream text;
  if (in) text << in.rdbuf();
  if (m_bLoaded && text.str() == m_sLastText) return;
  m_bLoaded = true;
  m_sLastText = text.str();

  auto sim = std::make_unique<scsiplayer::SimulatedDeviceSystem>();
  std::vector<std::unique_ptr<scsiplayer::SimulatedPlayer>> players;
  m_osKind.reset();
  m_adminLevel.reset();
  std::istringstream lines(m_sLastText);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string what;
    words >> what;
    if (what == "oskind") {
      int n = 0;
      if (words >> n) m_osKind = n;
      continue;
    }
    if (what == "admin") {
      int n = 0;
      if (words >> n) m_adminLevel = n;
      continue;
    }
    std::string drive;
    if (!(words >> drive) || drive.size() != 1) continue;
    const char letter = static_cast<char>(::toupper(static_cast<unsigned char>(drive[0])));
    auto player = std::make_unique<scsiplayer::SimulatedPlayer>();
    player->setVendor("KELTAN");
    player->setProduct("Quintad Player");
    player->setRevision("1.02");
    if (what == "player") {
      std::string name;
      int cap = 1;
      words >> name >> cap;
      for (char& c : name)
        if (c == '-') c = ' ';
      player->setVendorSpecific(name);
      player->setDeviceCap(cap != 0);
      sim->addDrive(letter, DRIVE_REMOVABLE, player.get());
    } else if (what == "refuse-query") {
      sim->addDrive(letter, DRIVE_REMOVABLE, player.get());
      sim->refuseStorageQuery(letter);
    } else if (what == "refuse-requests") {
      player->refuseRequests(ERROR_INVALID_FUNCTION);
      sim->addDrive(letter, DRIVE_REMOVABLE, player.get());
    } else if (what == "no-device") {
      sim->addDrive(letter, DRIVE_REMOVABLE, nullptr);
    } else {
      continue;
    }
    players.push_back(std::move(player));
  }
  sim->setClassification(m_osKind.value_or(osrights::OsKind().value_or(7)), m_adminLevel.value_or(4));
  sim->installDriver();
  m_sim = std::move(sim);
  m_players = std::move(players);
}

HANDLE ScriptedDrives::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  refresh();
  std::lock_guard lock(m_mutex);
  return m_sim->CreateFileA(name, access, share, disposition, flags);
}

BOOL ScriptedDrives::DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                     DWORD outSize, LPDWORD returned) {
  std::lock_guard lock(m_mutex);
  return m_sim->DeviceIoControl(device, code, in, inSize, out, outSize, returned);
}

BOOL ScriptedDrives::CloseHandle(HANDLE handle) {
  std::lock_guard lock(m_mutex);
  return m_sim->CloseHandle(handle);
}

// Drive types are the prefix's own: the test maps the letters.
UINT ScriptedDrives::GetDriveTypeA(LPCSTR root) { return ::GetDriveTypeA(root); }

HRESULT ScriptedDrives::CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                         LPVOID* out) {
  return ::CoCreateInstance(clsid, outer, context, iid, out);
}
HRESULT ScriptedDrives::CoInitialize() { return ::CoInitialize(nullptr); }
void ScriptedDrives::CoUninitialize() { ::CoUninitialize(); }
LSTATUS ScriptedDrives::RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result) {
  return ::RegOpenKeyExA(key, subKey, options, access, result);
}
LSTATUS ScriptedDrives::RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) {
  return ::RegQueryValueExA(key, name, nullptr, type, data, size);
}
LSTATUS ScriptedDrives::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }

std::optional<int> ScriptedDrives::OsKind() {
  refresh();
  std::lock_guard lock(m_mutex);
  return m_osKind ? m_osKind : osrights::OsKind();
}

int ScriptedDrives::AdminLevel() {
  refresh();
  std::lock_guard lock(m_mutex);
  return m_adminLevel ? *m_adminLevel : osrights::AdminLevel();
}

}  // namespace wizardtest
