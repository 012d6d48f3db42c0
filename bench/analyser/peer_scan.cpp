#include "bench/analyser/peer_scan.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

namespace bench {

namespace {

constexpr const char* kPeer = "mp3val";

}  // namespace

bool PeerScannerInstalled() {
#if defined(_WIN32)
  return false;
#else
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    rest = colon == rest.npos ? std::string_view() : rest.substr(colon + 1);
    if (dir.empty()) continue;
    std::error_code error;
    if (std::filesystem::is_regular_file(sys::Path(dir) / kPeer, error)) return true;
  }
  return false;
#endif
}

bool RunPeerScanner(const std::vector<CorpusFile>& files) {
#if defined(_WIN32)
  (void)files;
  return false;
#else
  // Pipe mode: one name a line on standard input, so no command line grows
  // with the folder. -si leaves out the per-file summary lines.
  std::FILE* pipe = ::popen("mp3val -p -si >/dev/null 2>&1", "w");
  if (!pipe) return false;
  for (const auto& f : files) std::fprintf(pipe, "%s\n", f.path.c_str());
  const int status = ::pclose(pipe);
  return status == 0;
#endif
}

}  // namespace bench
