// The analyser's walk over every MPEG audio frame of a file. It steps through
// the file four bytes at a time: four bytes that form a frame header count as
// a frame and the walk jumps to the next frame; four that do not are searched
// for the start of a sync pattern, so that a header hidden among garbage is
// found even when it begins in the last bytes of a step. The bytes come
// through a large buffer, but every decision is the one the four-byte steps
// would make, position for position.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/hresult.h"
#include "mp3/file_reader.h"

namespace mp3 {

struct FrameWalkResult {
  uint64_t frames = 0;
  uint32_t lowestBitRate = 0xFFFFFFFF;  // bit/s; unchanged when no frame was found
  uint32_t highestBitRate = 0;          // bit/s
  double durationMs = 0;                // the exact sum over all frames
};

// Buffer size for the walk: large enough that a file costs few system reads,
// small enough to stay in the processor's cache while it is examined.
constexpr size_t kFrameWalkBuffer = 256 * 1024;

// Walks the frames whose headers begin at start .. lastByte (inclusive; a
// lastByte below start walks nothing). A header may reach past lastByte, as a
// four-byte read starting at lastByte would. The walk stops where the file
// ends. bufferSize is at least 4.
void WalkFrames(const CFileReader& file, uint64_t start, int64_t lastByte, FrameWalkResult& out,
                size_t bufferSize = kFrameWalkBuffer);

// The duration as a whole number of milliseconds: truncated, never rounded,
// and held at the largest 32-bit value for absurdly long files.
uint32_t WholeMilliseconds(double durationMs);

}  // namespace mp3
