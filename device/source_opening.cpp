#include "device/source_opening.h"

#include <new>

#include "container/mapped_view.h"

namespace device {

namespace {

// The whole of an open file no longer than kWholeReadLimit; false when it
// is longer or cannot be read.
bool ReadWholeShortFile(std::FILE* f, std::vector<uint8_t>& out) {
  if (!sys::SeekStdioFile(f, 0, SEEK_END)) return false;
  const int64_t end = sys::TellStdioFile(f);
  if (end < 0 || static_cast<uint64_t>(end) > kWholeReadLimit || !sys::SeekStdioFile(f, 0, SEEK_SET))
    return false;
  try {
    out.resize(static_cast<size_t>(end));
  } catch (const std::bad_alloc&) {
    return false;  // the mapping needs no buffer
  }
  return std::fread(out.data(), 1, out.size(), f) == out.size();
}

}  // namespace

OpenedSource OpenSource(const sys::Path& source, std::vector<uint8_t> buffer) {
  OpenedSource s;
  s.whole = std::move(buffer);
  SourceFile file(sys::OpenStdioFile(source, "rb"));
  if (!file) return s;
  // Chunks are read whole into their own buffers; stdio's buffer would
  // only copy them once more.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);

  if (ReadWholeShortFile(file.get(), s.whole)) {
    s.fileSize = s.whole.size();
    s.found = LocateAudio(s.whole.data(), s.whole.size(), s.audio);
    file.reset();  // everything needed is in memory: the user's file is let go now
  } else {
    s.whole.clear();  // its room stays for the next short source
    try {
      container::CMappedView view(source, false, 0, 0);
      s.fileSize = view.length();
      s.found = LocateAudio(view.data(), view.length(), s.audio);
    } catch (...) {
      // An empty file cannot be mapped: it holds no audio.
      uint64_t size = 0;
      if (!sys::GetFileSize(source, size) || size != 0) return s;
      s.found = AudioSearch::kNoAudio;
    }
  }
  s.file = std::move(file);
  s.opened = true;
  return s;
}

}  // namespace device
