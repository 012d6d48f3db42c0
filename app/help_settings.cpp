#include "app/help_settings.h"

#include <algorithm>

namespace app {

bool OpensHelpAtStartup(std::optional<uint32_t> stored) { return !stored || *stored != kHelpNotAtStartup; }

uint32_t HelpSettingFor(bool openAtStartup) { return openAtStartup ? kHelpAtStartup : kHelpNotAtStartup; }

std::wstring HelpPageAddress(const std::wstring& programPath) {
  std::wstring address = programPath;
  std::replace(address.begin(), address.end(), L'\\', L'/');
  size_t slash = address.rfind(L'/');
  address.erase(slash == std::wstring::npos ? 0 : slash + 1);
  return address + kHelpFileName;
}

std::wstring HelpFilePath(const std::wstring& programPath) {
  size_t separator = programPath.find_last_of(L"\\/");
  std::wstring folder =
      separator == std::wstring::npos ? std::wstring() : programPath.substr(0, separator + 1);
  return folder + kHelpFileName;
}

}  // namespace app
