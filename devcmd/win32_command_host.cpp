#include "devcmd/win32_command_host.h"

#include <cstring>
#include <string>

#include "devcmd/driver_connection.h"
#include "devcmd/service_transport.h"
#include "devcmd/volume_transport.h"
#include "devcmd/vxd_transport.h"

namespace devcmd {

namespace {

// Closes a registry key through the system that opened it.
class SeamKey {
 public:
  explicit SeamKey(DeviceSystem& system) : m_system(system) {}
  ~SeamKey() {
    if (m_hKey) m_system.RegCloseKey(m_hKey);
  }
  SeamKey(const SeamKey&) = delete;
  SeamKey& operator=(const SeamKey&) = delete;
  PHKEY put() { return &m_hKey; }
  HKEY get() const { return m_hKey; }

 private:
  DeviceSystem& m_system;
  HKEY m_hKey = nullptr;
};

}  // namespace

std::unique_ptr<ScsiTransport> Win32CommandHost::createTransport(TransportKind kind) {
  switch (kind) {
    case TransportKind::kVolume:
      return std::make_unique<VolumeTransport>(m_system);
    case TransportKind::kVxd:
      return std::make_unique<VxdTransport>(m_system, DriverConnectionHandle());
    case TransportKind::kService:
      return std::make_unique<ServiceTransport>(m_system);
    case TransportKind::kNone:
      break;
  }
  return nullptr;
}

std::optional<std::string> Win32CommandHost::inquiryType() {
  SeamKey key(m_system);
  if (m_system.RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInquirySettingKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return std::nullopt;
  BYTE data[kInquirySettingMaxBytes] = {};
  DWORD size = sizeof(data);
  DWORD type = REG_NONE;
  if (m_system.RegQueryValueExA(key.get(), kInquirySettingValue, &type, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (size > sizeof(data)) return std::nullopt;
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      // A stored string need not carry its terminating zero.
      const char* text = reinterpret_cast<const char*>(data);
      size_t length = 0;
      while (length < size && text[length] != '\0') ++length;
      return std::string(text, length);
    }
    case REG_DWORD: {
      if (size != sizeof(DWORD)) return std::nullopt;
      DWORD value = 0;
      std::memcpy(&value, data, sizeof(value));
      return std::to_string(value);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace devcmd
