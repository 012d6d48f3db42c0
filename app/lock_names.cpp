#include "app/lock_names.h"

#include <algorithm>

namespace app {

LockPrefixes PrefixesFor(const sys::OsVersion& version) {
  constexpr uint32_t kNtPlatform = 2;
  // Namespaces exist from Windows 2000 (NT 5.0) on; older systems would take
  // the backslash as part of a plain name.
  if (version.platformId == kNtPlatform && version.major > 4) return LockPrefixes{"Local\\l", "Global\\g"};
  return LockPrefixes{"l", "g"};
}

std::string InstanceEventName(const sys::OsVersion& version) {
  return PrefixesFor(version).global == "g" ? "Pellmark" : "Global\\Pellmark";
}

std::string MutexName(const std::string& prefix, const std::string& lockerName) {
  std::string name = prefix + lockerName;
  if (name.size() > kMaxMutexNameLength) return std::string();
  return name;
}

std::string NameMemoryName(const std::string& mutexName) { return mutexName + kNameMemorySuffix; }

bool AddHolderName(std::vector<std::string>& holders, const std::string& name) {
  if (std::find(holders.begin(), holders.end(), name) != holders.end()) return false;
  holders.push_back(name);
  return true;
}

std::wstring LocalLockOutText(const std::vector<std::wstring>& holders, const std::wstring& message) {
  std::wstring text;
  for (size_t i = 0; i < holders.size(); ++i) {
    if (i > 0) text += L", ";
    text += holders[i];
  }
  return text + message;
}

std::wstring GlobalLockOutText(const std::vector<std::wstring>& holders, const std::wstring& message) {
  std::wstring text;
  for (const std::wstring& holder : holders) text += holder + L"\n";
  return text + message;
}

}  // namespace app
