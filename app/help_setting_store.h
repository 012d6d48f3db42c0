// The help window's setting in the registry (app/help_settings.h for its
// meaning): HKEY_LOCAL_MACHINE "SOFTWARE\Keltan Corporation\Pellmark",
// DWORD "Pellmark".
#pragma once

#include <cstdint>
#include <optional>

namespace app {

// The stored value; none when the key or value is missing or not a DWORD.
std::optional<uint32_t> ReadHelpSetting();
// Creates or opens the key and writes the value. Failures are logged
// ("RegCreateKey failed", "RegSetValueEx failed") and reported as false;
// the window carries on either way.
bool WriteHelpSetting(uint32_t value);

}  // namespace app
