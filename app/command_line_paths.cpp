#include "app/command_line_paths.h"

#include <algorithm>
#include <system_error>

#include "app/debug_log.h"

namespace app {

std::vector<sys::Path> CommandLineDropPaths(const std::vector<sys::Path>& arguments) {
  std::vector<sys::Path> paths;
  for (const sys::Path& argument : arguments) {
    if (argument.empty()) continue;
    if (!sys::FileExists(argument)) {
      DebugLog("\nCommand line: '%s' names nothing, skipped", sys::AnsiFromPath(argument).c_str());
      continue;
    }
    std::error_code error;
    sys::Path full = std::filesystem::absolute(argument, error);
    if (error) full = argument;
    full = full.lexically_normal();
    // A folder named with a trailing separator is still that folder.
    if (!full.has_filename() && full.has_parent_path() && full != full.root_path()) full = full.parent_path();
    if (std::find(paths.begin(), paths.end(), full) == paths.end()) paths.push_back(std::move(full));
  }
  return paths;
}

}  // namespace app
