// The files a drop skipped, each with why, in the order they were met. The
// drop collector fills it on the UI thread; the main window shows it when
// the drop ends.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mp3/refusal_cause.h"

namespace app::engine {

struct RefusedFile {
  std::u16string path;  // full path, or the dropped folder's for kTooManyAlbums
  mp3::RefusalReason reason;
};

class RefusalList {
 public:
  // Notes the file and writes it, with its cause in English, to the
  // diagnostic log: the log holds every refusal, the window the first few.
  void Add(std::u16string path, const mp3::RefusalReason& reason);
  void Clear() { files_.clear(); }
  bool empty() const { return files_.empty(); }
  size_t size() const { return files_.size(); }
  const std::vector<RefusedFile>& files() const { return files_; }

 private:
  std::vector<RefusedFile> files_;
};

}  // namespace app::engine
