// The benchmark's corpora. A generated one: MP3 files of several MPEG versions, layers and bit
// rates, some with garbage between frames, some with leading and trailing
// tags, made here from a fixed seed so every run measures the same bytes. Or
// the MP3 files a user already has in a folder.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/system.h"

namespace bench {

struct CorpusFile {
  sys::Path path;
  uint64_t size = 0;
};

// The corpus in folder, made there unless a complete one from an earlier
// run is found. At least minimumBytes in all.
std::vector<CorpusFile> PrepareCorpus(const sys::Path& folder, uint64_t minimumBytes);

// The files named ".mp3" (any letter case) in folder and its subfolders, in
// name order; the folder is only read.
std::vector<CorpusFile> ListMp3Files(const sys::Path& folder);

}  // namespace bench
