// Opening a transfer's source: the file is opened and its audio located. A
// short source is read whole and let go at once; a longer one is mapped to
// find its audio and stays open for its chunks to be read.
#pragma once

#include <cstdint>
#include <vector>

#include "device/audio_locator.h"
#include "platform/system.h"

namespace device {

using SourceFile = sys::UniqueStdioFile;

// Sources up to this size are read whole rather than mapped: for a short
// file the mapping's trips to the system cost more than reading it.
constexpr uint64_t kWholeReadLimit = 256 * 1024;

struct OpenedSource {
  bool opened = false;         // false: the file could not be opened or mapped
  SourceFile file;             // open for the chunks; null when read whole
  std::vector<uint8_t> whole;  // a short source's bytes
  uint64_t fileSize = 0;       // as read or mapped
  AudioSearch found = AudioSearch::kRejected;
  AudioLocation audio;
};

// Opens source and locates its audio. A short source is read into buffer
// (its capacity reused; it comes back as `whole`, emptied, for a long
// one). Safe on any thread.
OpenedSource OpenSource(const sys::Path& source, std::vector<uint8_t> buffer = {});

}  // namespace device
