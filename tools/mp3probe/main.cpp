// mp3probe: tells, for each MP3 file named, what the frame parser finds in
// its audio. One JSON object per file and line; exit status 1 when any file
// could not be read.
#include <cstdio>
#include <string>

#include "container/frame_scanner.h"
#include "container/mapped_view.h"
#include "platform/system.h"
#include "tools/common/json.h"
#include "tools/common/tool_main.h"
#include "tools/mp3probe/audio_span.h"

namespace tools {

namespace {

constexpr size_t kChunk = 65536;  // the transfer's chunk size

std::string ScanObject(const container::CMpegFrame& f) {
  uint8_t codec[4], total[4];
  f.getCodecInfo(codec);
  f.getTotalDuration(total);
  uint32_t totalMs =
      (uint32_t(total[0]) << 24) | (uint32_t(total[1]) << 16) | (uint32_t(total[2]) << 8) | total[3];
  return "{\"frames\": " + std::to_string(f.frameCount()) + ", \"total_ms\": " + std::to_string(totalMs) +
         ", \"highest_bps\": " + std::to_string(f.highestBitRate()) + ", \"codec\": \"" + HexBytes(codec, 4) +
         "\"}";
}

bool Probe(const std::filesystem::path& path, std::string& line) {
  std::string head = "{\"path\": " + JsonString(Utf8(path));
  try {
    container::CMappedView view(path, false, 0, 0);
    AudioSpan span = FindAudioSpan(view.data(), view.length());
    container::CFrameScanner scanner;
    scanner.setSourcePath(sys::AnsiFromPath(path));
    for (size_t at = span.begin; at < span.end; at += kChunk) {
      size_t n = span.end - at < kChunk ? span.end - at : kChunk;
      HRESULT h = scanner.scanChunk(view.data() + at, n);
      if (hr::Failed(h)) {
        char text[64];
        std::snprintf(text, sizeof text, "frame scan failed with 0x%08X", static_cast<unsigned>(h));
        line = head + ", \"error\": " + JsonString(text) + "}";
        return false;
      }
    }
    line = head + ", \"scan\": " + ScanObject(scanner.frame()) + "}";
    return true;
  } catch (const std::exception& e) {
    uint64_t size = 0;
    std::string why = !sys::FileExists(path)                        ? "file not found"
                      : sys::IsDirectory(path)                      ? "is a folder"
                      : (sys::GetFileSize(path, size) && size == 0) ? "empty file"
                                                                    : std::string("unreadable: ") + e.what();
    line = head + ", \"error\": " + JsonString(why) + "}";
    return false;
  }
}

}  // namespace

int ToolMain(const std::vector<std::filesystem::path>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: mp3probe FILE...\n");
    return 2;
  }
  bool allRead = true;
  for (const auto& path : args) {
    std::string line;
    allRead &= Probe(path, line);
    std::fprintf(stdout, "%s\n", line.c_str());
  }
  return allRead ? 0 : 1;
}

}  // namespace tools
