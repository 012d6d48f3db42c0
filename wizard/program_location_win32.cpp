#include "wizard/program_location_win32.h"

#include <windows.h>

#include "wizard/copy_settings.h"

namespace wizard {

std::string ModulePath() {
  char path[1024] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return {};
  return std::string(path, n);
}

std::string TextSettingsPath(const std::string& modulePath) {
  if (modulePath.empty()) return {};
  const size_t slash = modulePath.find_last_of("\\/");
  const size_t dot = modulePath.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return modulePath + ".ini";
  return modulePath.substr(0, dot) + ".ini";
}

std::optional<std::string> EnterProgramFolder(const std::string& modulePath) {
  const size_t slash = modulePath.find_last_of('\\');
  if (slash == std::string::npos) return std::nullopt;
  // "X:\" keeps its backslash: "X:" alone would mean that drive's current
  // folder.
  const std::string folder = modulePath.substr(0, slash == 2 ? 3 : slash);
  if (!::SetCurrentDirectoryA(folder.c_str())) return std::nullopt;
  char current[256] = {};
  const DWORD n = ::GetCurrentDirectoryA(sizeof(current), current);
  if (n == 0 || n >= sizeof(current)) return std::nullopt;
  return WithTrailingBackslash(std::string(current, n));
}

}  // namespace wizard
