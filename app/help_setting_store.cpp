#include "app/help_setting_store.h"

#include <windows.h>

#include "app/debug_log.h"
#include "app/help_settings.h"
#include "win32/unique_reg_key.h"

namespace app {

std::optional<uint32_t> ReadHelpSetting() {
  win::UniqueRegKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kHelpSettingKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (::RegQueryValueExW(key.get(), kHelpSettingValue, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return std::nullopt;
  return value;
}

bool WriteHelpSetting(uint32_t value) {
  win::UniqueRegKey key;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kHelpSettingKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
    DebugLog("\nRegCreateKey failed");
    return false;
  }
  DWORD data = value;
  if (::RegSetValueExW(key.get(), kHelpSettingValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                       sizeof(data)) != ERROR_SUCCESS) {
    DebugLog("\nRegSetValueEx failed");
    return false;
  }
  return true;
}

}  // namespace app
