#include "stand-ins/scsi_player/simulated_device_system.h"

#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "devcmd/pass_through_layout.h"
#include "stand-ins/scsi_player/control_answers.h"

namespace scsiplayer {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

constexpr char kDriverHandle = 0;

}  // namespace

SimulatedDeviceSystem::SimulatedDeviceSystem() = default;
SimulatedDeviceSystem::~SimulatedDeviceSystem() = default;

std::string SimulatedDeviceSystem::Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void SimulatedDeviceSystem::addDrive(char letter, UINT type, ScsiTarget* device) {
  std::lock_guard lock(m_mutex);
  Drive& d = m_drives[Upper(letter)];
  d.type = type;
  d.device = device;
}

void SimulatedDeviceSystem::refuseVolumeOpen(char letter, DWORD error) {
  std::lock_guard lock(m_mutex);
  m_drives[Upper(letter)].openError = error;
}

void SimulatedDeviceSystem::refuseStorageQuery(char letter) {
  std::lock_guard lock(m_mutex);
  m_drives[Upper(letter)].refuseStorageQuery = true;
}

void SimulatedDeviceSystem::installDriver(bool installed) {
  std::lock_guard lock(m_mutex);
  m_bDriverInstalled = installed;
}

void SimulatedDeviceSystem::setClassification(std::optional<int> osKind, int adminLevel) {
  std::lock_guard lock(m_mutex);
  m_osKind = osKind;
  m_nAdminLevel = adminLevel;
}

void SimulatedDeviceSystem::setRegistryString(const std::string& subKey, const std::string& name,
                                              const std::string& text) {
  std::vector<uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  setRegistryValue(subKey, name, REG_SZ, data);
}

void SimulatedDeviceSystem::setRegistryValue(const std::string& subKey, const std::string& name, DWORD type,
                                             const std::vector<uint8_t>& data) {
  std::lock_guard lock(m_mutex);
  m_registry[Lower(subKey)][Lower(name)] = Value{type, data};
}

void SimulatedDeviceSystem::clearRegistry() {
  std::lock_guard lock(m_mutex);
  m_registry.clear();
}

void SimulatedDeviceSystem::failCoCreateInstance(HRESULT code, int times) {
  std::lock_guard lock(m_mutex);
  m_coFailure = code;
  m_nCoFailures = times;
}

SimulatedDeviceSystem::Counters SimulatedDeviceSystem::counters() const {
  std::lock_guard lock(m_mutex);
  return m_counters;
}

int SimulatedDeviceSystem::openHandles() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_handles.size() + m_openKeys.size());
}

std::vector<SimulatedDeviceSystem::OpenCall> SimulatedDeviceSystem::opens() const {
  std::lock_guard lock(m_mutex);
  return m_opens;
}

std::vector<SimulatedDeviceSystem::StorageQuery> SimulatedDeviceSystem::storageQueries() const {
  std::lock_guard lock(m_mutex);
  return m_storageQueries;
}

std::vector<uint8_t> SimulatedDeviceSystem::lastPassThroughBlock() const {
  std::lock_guard lock(m_mutex);
  return m_lastBlock;
}

std::optional<devcmd::DriverRequest> SimulatedDeviceSystem::lastDriverRequest() const {
  std::lock_guard lock(m_mutex);
  return m_lastDriverRequest;
}

HANDLE SimulatedDeviceSystem::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                                          DWORD flags) {
  std::lock_guard lock(m_mutex);
  const std::string text = name ? name : "";
  m_opens.push_back(OpenCall{text, access, share, disposition, flags});
  std::optional<HandleTarget> target;
  if (Lower(text) == Lower(devcmd::kDriverDeviceName)) {
    ++m_counters.driverOpens;
    if (!m_bDriverInstalled) {
      ::SetLastError(ERROR_FILE_NOT_FOUND);
      return INVALID_HANDLE_VALUE;
    }
    target = kDriverHandle;
  } else if (text.size() == 6 && text.compare(0, 4, "\\\\.\\") == 0 && text[5] == ':') {
    ++m_counters.volumeOpens;
    auto it = m_drives.find(Upper(text[4]));
    if (it == m_drives.end() || it->second.type == DRIVE_NO_ROOT_DIR) {
      ::SetLastError(ERROR_FILE_NOT_FOUND);
      return INVALID_HANDLE_VALUE;
    }
    if (it->second.openError) {
      ::SetLastError(*it->second.openError);
      return INVALID_HANDLE_VALUE;
    }
    target = it->first;
  } else {
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE h = reinterpret_cast<HANDLE>(m_nextHandle);
  m_nextHandle += 4;
  m_handles[h] = *target;
  return h;
}

ScsiTarget* SimulatedDeviceSystem::deviceOfIndex(int index) {
  if (index < 0 || index > 25) return nullptr;
  auto it = m_drives.find(static_cast<char>('A' + index));
  return it == m_drives.end() ? nullptr : it->second.device;
}

BOOL SimulatedDeviceSystem::DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out,
                                            DWORD outSize, LPDWORD returned) {
  std::lock_guard lock(m_mutex);
  if (returned) *returned = 0;
  auto h = m_handles.find(device);
  if (h == m_handles.end()) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ControlAnswer answer{false, ERROR_INVALID_FUNCTION, 0};
  if (h->second == kDriverHandle) {
    if (code == devcmd::kDriverControlCode) {
      ++m_counters.driverRequests;
      if (in && inSize == sizeof(devcmd::DriverRequest)) {
        devcmd::DriverRequest r;
        std::memcpy(&r, in, sizeof(r));
        m_lastDriverRequest = r;
      }
      answer =
          AnswerDriverRequest([this](int index) { return deviceOfIndex(index); }, in, inSize, out, outSize);
    }
  } else {
    Drive& drive = m_drives[h->second];
    if (code == devcmd::kIoctlScsiPassThroughDirect || code == devcmd::kIoctlScsiPassThrough) {
      ++(code == devcmd::kIoctlScsiPassThroughDirect ? m_counters.directRequests
                                                     : m_counters.bufferedRequests);
      if (in) m_lastBlock.assign(static_cast<const uint8_t*>(in), static_cast<const uint8_t*>(in) + inSize);
      if (drive.device) answer = AnswerPassThrough(*drive.device, code, in, inSize, out, outSize);
    } else if (code == kIoctlStorageQueryProperty) {
      ++m_counters.storageQueries;
      StorageQuery asked;
      if (in) asked.input.assign(static_cast<const uint8_t*>(in), static_cast<const uint8_t*>(in) + inSize);
      asked.outputSize = outSize;
      m_storageQueries.push_back(std::move(asked));
      if (!drive.refuseStorageQuery) answer = AnswerStorageQuery(in, inSize, out, outSize);
    }
  }
  if (!answer.ok) {
    ::SetLastError(answer.error);
    return FALSE;
  }
  if (returned) *returned = answer.returned;
  return TRUE;
}

BOOL SimulatedDeviceSystem::CloseHandle(HANDLE handle) {
  std::lock_guard lock(m_mutex);
  if (m_handles.erase(handle) == 0) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  ++m_counters.closes;
  return TRUE;
}

UINT SimulatedDeviceSystem::GetDriveTypeA(LPCSTR root) {
  std::lock_guard lock(m_mutex);
  if (root == nullptr || std::strlen(root) != 3 || root[1] != ':' || root[2] != '\\')
    return DRIVE_NO_ROOT_DIR;
  auto it = m_drives.find(Upper(root[0]));
  return it == m_drives.end() ? DRIVE_NO_ROOT_DIR : it->second.type;
}

HRESULT SimulatedDeviceSystem::CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                                LPVOID* out) {
  {
    std::lock_guard lock(m_mutex);
    ++m_counters.coCreateInstance;
    if (m_nCoFailures > 0) {
      --m_nCoFailures;
      if (out) *out = nullptr;
      return m_coFailure;
    }
  }
  return ::CoCreateInstance(clsid, outer, context, iid, out);
}

HRESULT SimulatedDeviceSystem::CoInitialize() {
  {
    std::lock_guard lock(m_mutex);
    ++m_counters.coInitialize;
  }
  return ::CoInitialize(nullptr);
}

void SimulatedDeviceSystem::CoUninitialize() {
  {
    std::lock_guard lock(m_mutex);
    ++m_counters.coUninitialize;
  }
  ::CoUninitialize();
}

LSTATUS SimulatedDeviceSystem::RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
  std::lock_guard lock(m_mutex);
  ++m_counters.registryOpens;
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (key != HKEY_LOCAL_MACHINE || subKey == nullptr) return ERROR_FILE_NOT_FOUND;
  if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::string name = Lower(subKey);
  if (m_registry.find(name) == m_registry.end()) return ERROR_FILE_NOT_FOUND;
  HKEY h = reinterpret_cast<HKEY>(m_nextHandle);
  m_nextHandle += 4;
  m_openKeys[h] = name;
  *result = h;
  return ERROR_SUCCESS;
}

LSTATUS SimulatedDeviceSystem::RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data,
                                                LPDWORD size) {
  std::lock_guard lock(m_mutex);
  auto k = m_openKeys.find(key);
  if (k == m_openKeys.end()) return ERROR_INVALID_HANDLE;
  const auto& values = m_registry[k->second];
  auto v = values.find(Lower(name ? name : ""));
  if (v == values.end()) return ERROR_FILE_NOT_FOUND;
  if (type) *type = v->second.type;
  const DWORD needed = static_cast<DWORD>(v->second.data.size());
  if (size == nullptr) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  if (data == nullptr) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::copy(v->second.data.begin(), v->second.data.end(), data);
  *size = needed;
  return ERROR_SUCCESS;
}

LSTATUS SimulatedDeviceSystem::RegCloseKey(HKEY key) {
  std::lock_guard lock(m_mutex);
  return m_openKeys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::optional<int> SimulatedDeviceSystem::OsKind() {
  std::lock_guard lock(m_mutex);
  return m_osKind;
}

int SimulatedDeviceSystem::AdminLevel() {
  std::lock_guard lock(m_mutex);
  return m_nAdminLevel;
}

}  // namespace scsiplayer
