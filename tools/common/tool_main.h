// Entry point for the command-line tools: arguments as paths of the right
// width on each system (wmain on Windows, so names outside the ANSI code
// page arrive intact), standard output switched to binary UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tools {
// Implemented by each tool.
int ToolMain(const std::vector<std::filesystem::path>& args);
// UTF-8 text of a path, for output.
inline std::string Utf8(const std::filesystem::path& p) {
  auto s = p.u8string();
  return std::string(s.begin(), s.end());
}
}  // namespace tools
