#include "tools/common/tool_main.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
  // Output is UTF-8 bytes; keep the C runtime from translating line ends.
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::filesystem::path> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return tools::ToolMain(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::filesystem::path> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return tools::ToolMain(args);
}
#endif
