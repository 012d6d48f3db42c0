// Builds one track file from an export. The tag editor has already written
// the track's tag at the destination path (or nothing, for a track without
// tag); the export stream that follows is the opening header block, the
// audio and the closing header block. The file receives the stream after the
// tag, except that the closing block goes into the opening block's place:
// tag, closing header block, audio.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "common/hresult.h"
#include "platform/system.h"

namespace standin {

class TrackAssembly {
 public:
  static constexpr uint32_t kBlockLength = 96;

  TrackAssembly() = default;
  ~TrackAssembly();
  TrackAssembly(const TrackAssembly&) = delete;
  TrackAssembly& operator=(const TrackAssembly&) = delete;

  // total: the announced stream length, at least two header blocks.
  void begin(const sys::Path& path, uint64_t total);
  // Appends stream bytes. kInvalidData (nothing written) when they would
  // pass the announced total; kWriteFault when the file cannot be written.
  HRESULT write(const uint8_t* data, size_t count);
  // Checks that the whole stream arrived and both blocks are header blocks,
  // then puts the closing block in place. fileBytes: the file's length.
  HRESULT finish(uint64_t& fileBytes);
  // Closes and deletes the file: the export leaves no trace.
  void discard();

  uint64_t received() const { return received_; }
  uint64_t total() const { return total_; }
  const sys::Path& path() const { return path_; }

 private:
  HRESULT openFile();
  void close();

  sys::Path path_;
  std::FILE* file_ = nullptr;
  uint64_t total_ = 0;
  uint64_t received_ = 0;
  uint64_t tagLength_ = 0;
  std::array<uint8_t, kBlockLength> opening_{};
  std::array<uint8_t, kBlockLength> closing_{};
};

}  // namespace standin
