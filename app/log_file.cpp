#include "app/log_file.h"

#include <cstdio>
#include <memory>

namespace debuglog {

std::string FileBytes(const std::string& text) {
#if defined(_WIN32)
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
#else
  return text;
#endif
}

sys::Path BackupPath(const sys::Path& log) {
  sys::Path backup = log;
  backup.replace_extension(".bak");
  return backup;
}

size_t AppendNotes(const sys::Path& path, uint64_t sizeLimit, const std::vector<std::string>& notes) {
  uint64_t size = 0;
  if (!sys::GetFileSize(path, size)) size = 0;
  sys::UniqueStdioFile file;
  size_t written = 0;
  for (const std::string& note : notes) {
    if (sizeLimit != 0 && size >= sizeLimit) {
      // The copy needs the file closed; the rest of the batch goes into the
      // file started afresh.
      file.reset();
      const bool copied = sys::CopyFileTo(path, BackupPath(path), true);
      file.reset(sys::OpenStdioFile(path, copied ? "wb" : "ab"));
      if (!file) return written;
      if (copied) size = 0;
    } else if (!file) {
      file.reset(sys::OpenStdioFile(path, "ab"));
      if (!file) return written;
    }
    std::fwrite(note.data(), 1, note.size(), file.get());
    size += note.size();
    ++written;
  }
  return written;
}

}  // namespace debuglog
