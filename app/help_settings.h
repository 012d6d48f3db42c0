// The help window's one setting and its page address. The setting is a
// DWORD in the registry: 10 means "do not open the help window at start-up";
// anything else, or no value at all, means open it. The window's check box
// ("open at start-up") shows and writes that value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace app {

constexpr const wchar_t* kHelpSettingKey = L"SOFTWARE\\Keltan Corporation\\Pellmark";
constexpr const wchar_t* kHelpSettingValue = L"Pellmark";
constexpr uint32_t kHelpNotAtStartup = 10;
constexpr uint32_t kHelpAtStartup = 0;
constexpr const wchar_t* kHelpFileName = L"help.htm";

// Whether the help window opens at start-up for a stored value (none when
// the value is missing or unreadable).
bool OpensHelpAtStartup(std::optional<uint32_t> stored);
// The value the check box writes.
uint32_t HelpSettingFor(bool openAtStartup);

// The address the browser control navigates to: the program's full path
// with every '\' turned into '/', cut after the last '/', plus "help.htm".
std::wstring HelpPageAddress(const std::wstring& programPath);
// The help file's path as the user would type it: the program's folder
// (the path cut after its last '\' or '/') plus "help.htm".
std::wstring HelpFilePath(const std::wstring& programPath);

}  // namespace app
