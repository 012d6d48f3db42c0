// mp3probe: tells, for each MP3 file named, what the frame parser finds in
// its audio ("scan") and what a drop would get from the analyser: whether
// the file is accepted and, if not, why; its bit rates and duration; its tag
// texts in wide form (as UTF-8) and narrow form (as hexadecimal bytes). One
// JSON object per file and line; exit status 1 when any file could not be
// read.
#include <cstdio>
#include <string>

#include "common/byte_order.h"
#include "container/frame_scanner.h"
#include "container/mapped_view.h"
#include "mp3/tag_code_page.h"
#include "mp3/validity_check.h"
#include "platform/codepage.h"
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
  const uint32_t totalMs = byte_order::ReadBig32(total);
  return "{\"frames\": " + std::to_string(f.frameCount()) + ", \"total_ms\": " + std::to_string(totalMs) +
         ", \"highest_bps\": " + std::to_string(f.highestBitRate()) + ", \"codec\": \"" + HexBytes(codec, 4) +
         "\"}";
}

std::string Hex(const std::string& bytes) {
  return HexBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// What the drop's check makes of the file. A refused file has no texts; a
// file without any frame reports a lowest bit rate of 0.
std::string DropFields(const std::filesystem::path& path) {
  mp3::TrackInfo info;
  mp3::ValidityReport report;
  mp3::CheckValidity(path, info, &report);
  const uint32_t lowest = report.lowestBitRate == 0xFFFFFFFF ? 0 : report.lowestBitRate;
  const auto text = [](const std::u16string& wide) { return JsonString(sys::Utf8FromUtf16(wide)); };
  return ", \"accepted\": " + std::string(report.accepted ? "true" : "false") +
         ", \"reason\": " + JsonString(mp3::RefusalName(report.reason)) +
         ", \"lowest_bps\": " + std::to_string(lowest) +
         ", \"highest_bps\": " + std::to_string(report.highestBitRate) +
         ", \"duration_ms\": " + std::to_string(report.durationMs) + ", \"title\": " + text(info.wideTitle) +
         ", \"artist\": " + text(info.wideArtist) + ", \"album\": " + text(info.wideAlbum) +
         ", \"genre\": " + text(info.wideGenre) + ", \"narrow\": {\"title\": \"" + Hex(info.title) +
         "\", \"artist\": \"" + Hex(info.artist) + "\", \"album\": \"" + Hex(info.album) +
         "\", \"genre\": \"" + Hex(info.genre) + "\"}";
}

bool Probe(const std::filesystem::path& path, std::string& line) {
  std::string head = "{\"path\": " + JsonString(Utf8(path));
  const std::string drop = DropFields(path);
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
        line = head + ", \"error\": " + JsonString(text) + drop + "}";
        return false;
      }
    }
    line = head + ", \"scan\": " + ScanObject(scanner.frame()) + drop + "}";
    return true;
  } catch (const std::exception& e) {
    uint64_t size = 0;
    std::string why = !sys::FileExists(path)                        ? "file not found"
                      : sys::IsDirectory(path)                      ? "is a folder"
                      : (sys::GetFileSize(path, size) && size == 0) ? "empty file"
                                                                    : std::string("unreadable: ") + e.what();
    line = head + ", \"error\": " + JsonString(why) + drop + "}";
    return false;
  }
}

}  // namespace

int ToolMain(const std::vector<std::filesystem::path>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: mp3probe FILE...\n");
    return 2;
  }
  // The tag code page a track manager on this system would use.
  mp3::SelectTagCodePageFromSystem();
  bool allRead = true;
  for (const auto& path : args) {
    std::string line;
    allRead &= Probe(path, line);
    std::fprintf(stdout, "%s\n", line.c_str());
  }
  return allRead ? 0 : 1;
}

}  // namespace tools
