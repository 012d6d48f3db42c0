// Frame scanner: observes the audio of a transfer chunk by chunk, in file
// order, and hands every frame header it finds to a CMpegFrame. A frame may
// straddle two chunks; its header may even be split between them. The chunks
// themselves are not altered.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "common/hresult.h"
#include "container/mpeg_frame.h"

namespace container {

class CFrameScanner {
 public:
  // The most bytes one call takes, carried bytes included. Chunks are at
  // most 65,536 bytes and at most three bytes are carried between chunks,
  // so this is never reached in a transfer; a larger chunk fails.
  static constexpr size_t kCarryCapacity = 0x20000;

  CFrameScanner();

  // Scans one chunk. kOk on success; kFail (nothing changed) when the
  // carried bytes plus the chunk exceed kCarryCapacity; kInvalidArg
  // (nothing changed) when data is null and count is not 0; the failing
  // HRESULT of CMpegFrame::set() or getFrameSize(), after a trace line.
  HRESULT scanChunk(const uint8_t* data, size_t count);

  // Empties the buffer and resets the frame statistics, for a new track.
  void reset();

  // Path of the source file, named in trace lines.
  void setSourcePath(std::string path) { sourcePath_ = std::move(path); }
  const std::string& sourcePath() const { return sourcePath_; }

  CMpegFrame& frame() { return frame_; }
  const CMpegFrame& frame() const { return frame_; }

  // Bytes carried over to the next chunk (0 to 3 between chunks).
  size_t bufferedBytes() const { return valid_; }
  // Offset into the next chunk's bytes (after any carried bytes) at which
  // the next frame header is expected.
  size_t expectedPosition() const { return expected_; }

 private:
  static constexpr size_t kHeaderBytes = 4;
  // The start of a header the last chunk ended in (valid_ bytes, at most 3).
  std::array<uint8_t, kHeaderBytes> carry_{};
  size_t valid_ = 0;
  size_t expected_ = 0;
  std::string sourcePath_;
  CMpegFrame frame_;
};

}  // namespace container
