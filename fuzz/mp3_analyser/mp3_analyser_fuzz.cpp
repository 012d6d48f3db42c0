// Arbitrary file contents through the analyser as a drop uses it: SetFile,
// GetMp3Data and GetTagData on a real file. Besides the sanitizers' checks
// the target holds the frame walk to the four-byte stepping it stands for
// (computed here on the bytes in memory, and again through a tiny buffer),
// and the texts to their limits.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "container/mpeg_header.h"
#include "mp3/file_reader.h"
#include "mp3/frame_walk.h"
#include "mp3/mp3_analyzer.h"
#include "mp3/tag_code_page.h"
#include "platform/system.h"

namespace {

const sys::Path& InputPath() {
  static const sys::Path path = [] {
    sys::Path folder = sys::FileExists("/dev/shm") ? sys::Path("/dev/shm") : sys::TempFolder();
    folder /= "pm-mp3-fuzz-" + std::to_string(sys::ProcessId());
    sys::CreateFolder(folder);
    return folder / "input.mp3";
  }();
  return path;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// The walk as the four-byte steps make it, on the whole file in memory.
mp3::FrameWalkResult SteppedWalk(const uint8_t* data, size_t size, uint64_t start, int64_t last) {
  mp3::FrameWalkResult r;
  for (int64_t pos = static_cast<int64_t>(start); pos <= last;) {
    if (static_cast<uint64_t>(pos) + 4 > size) break;
    const uint8_t* b = data + pos;
    pos += 4;
    container::MpegHeaderInfo h;
    if (b[0] == 0xFF && b[1] >= 0xE0 && container::ParseMpegHeader(b, h)) {
      ++r.frames;
      r.durationMs += static_cast<double>(h.frameLength) * 1000.0 / h.bitRate * 8.0;
      if (h.bitRate < r.lowestBitRate) r.lowestBitRate = h.bitRate;
      if (h.bitRate > r.highestBitRate) r.highestBitRate = h.bitRate;
      pos += h.frameLength - 4;
    } else if (b[1] == 0xFF && b[2] >= 0xE0) {
      pos -= 3;
    } else if (b[2] == 0xFF && b[3] >= 0xE0) {
      pos -= 2;
    } else if (b[3] == 0xFF) {
      pos -= 1;
    }
  }
  return r;
}

bool SameWalk(const mp3::FrameWalkResult& a, const mp3::FrameWalkResult& b) {
  return a.frames == b.frames && a.lowestBitRate == b.lowestBitRate && a.highestBitRate == b.highestBitRate &&
         a.durationMs == b.durationMs;
}

constexpr uint16_t kLanguages[] = {0x0409, 0x0411, 0x0404, 0x0804, 0x0412};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  // The input's length picks the tag code page, so every page sees inputs.
  mp3::SelectTagCodePage(kLanguages[size % 5]);

  mp3::CMp3Analyzer analyzer;
  if (hr::Failed(analyzer.SetFile(InputPath()))) return 0;

  uint32_t lowest = 0, highest = 0, duration = 0;
  Check(hr::Succeeded(analyzer.GetMp3Data(lowest, highest, duration)));
  const uint64_t start = analyzer.hasLeadingTag()
                             ? 10 + (uint64_t{data[6] & 0x7Fu} << 21) + (uint64_t{data[7] & 0x7Fu} << 14) +
                                   (uint64_t{data[8] & 0x7Fu} << 7) + (data[9] & 0x7Fu)
                             : 0;
  const int64_t last = static_cast<int64_t>(size) - (analyzer.hasTrailingTag() ? 129 : 1);
  const mp3::FrameWalkResult stepped = SteppedWalk(data, size, start, last);
  Check(lowest == stepped.lowestBitRate && highest == stepped.highestBitRate &&
        duration == mp3::WholeMilliseconds(stepped.durationMs));
  {
    mp3::CFileReader file;
    Check(file.open(InputPath()));
    mp3::FrameWalkResult small;
    mp3::WalkFrames(file, start, last, small, 4 + size % 11);
    Check(SameWalk(small, stepped));
  }

  mp3::WideTagTexts wide;
  mp3::NarrowTagTexts narrow;
  analyzer.GetTagData(wide, narrow);
  for (const std::string* text : {&narrow.title, &narrow.artist, &narrow.album, &narrow.genre})
    Check(text->size() <= 511);
  if (!analyzer.hasLeadingTag()) {
    for (const std::u16string* text : {&wide.title, &wide.artist, &wide.album, &wide.genre})
      Check(text->size() <= 64);
  }
  return 0;
}
