#include "mp3/frame_walk.h"

#include <algorithm>
#include <memory>

#include "container/mpeg_header.h"

namespace mp3 {

namespace {

// What a frame header tells the walk. Consecutive frames of a file nearly
// always repeat their header, changing at most the padding bit, so the last
// header seen with each padding value is kept decoded.
struct DecodedHeader {
  uint32_t bytes = 0;
  bool known = false;
  uint32_t frameLength = 0;
  uint32_t bitRate = 0;
  double frameMs = 0;
};

class HeaderCache {
 public:
  // True and the decoded header when b[0..3] is a frame header.
  bool decode(const uint8_t* b, const DecodedHeader*& out) {
    const uint32_t bytes = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
    DecodedHeader& slot = m_slots[(b[2] >> 1) & 1];  // by padding bit (byte 2: BBBBSSPx)
    if (!slot.known || slot.bytes != bytes) {
      container::MpegHeaderInfo info;
      if (!container::ParseMpegHeader(b, info)) return false;
      slot.bytes = bytes;
      slot.known = true;
      slot.frameLength = info.frameLength;
      slot.bitRate = info.bitRate;
      // Milliseconds of audio in this frame: its bits over the bit rate, in
      // this order of operations so the sum is the same on every build.
      slot.frameMs = static_cast<double>(info.frameLength) * 1000.0 / info.bitRate * 8.0;
    }
    out = &slot;
    return true;
  }

 private:
  DecodedHeader m_slots[2];
};

// Bytes of the file through one buffer. The walk only ever moves forward
// (after the bytes of a step it goes back at most three of them), so a
// window that starts at the current position and is refilled when a step
// would reach past it gives every step its bytes with one read per window.
class ForwardWindow {
 public:
  ForwardWindow(const CFileReader& file, size_t capacity)
      : m_file(file), m_capacity(std::max<size_t>(capacity, 4)), m_buffer(new uint8_t[m_capacity]) {}

  // The four bytes at pos, or null when fewer than four remain in the file.
  const uint8_t* fourAt(uint64_t pos) {
    if (pos < m_start || pos - m_start + 4 > m_length) {
      m_start = pos;
      m_length = m_file.readAt(pos, m_buffer.get(), m_capacity);
      if (m_length < 4) {
        m_length = 0;
        return nullptr;
      }
    }
    return m_buffer.get() + (pos - m_start);
  }

 private:
  const CFileReader& m_file;
  size_t m_capacity;
  std::unique_ptr<uint8_t[]> m_buffer;
  uint64_t m_start = 0;
  size_t m_length = 0;
};

// Where the next step starts when the four bytes at a position are no frame
// header: at the first byte of b[1..3] that could begin a sync pattern
// (0xFF followed by a byte of 0xE0 or more; a trailing 0xFF may pair with
// the next step's first byte), else right after them. Answers the offset
// from the position.
uint64_t ResyncOffset(const uint8_t* b) {
  if (b[1] == 0xFF && b[2] >= 0xE0) return 1;
  if (b[2] == 0xFF && b[3] >= 0xE0) return 2;
  if (b[3] == 0xFF) return 3;
  return 4;
}

}  // namespace

void WalkFrames(const CFileReader& file, uint64_t start, int64_t lastByte, FrameWalkResult& out,
                size_t bufferSize) {
  if (lastByte < 0) return;
  const uint64_t last = static_cast<uint64_t>(lastByte);
  ForwardWindow window(file, bufferSize);
  HeaderCache headers;
  for (uint64_t pos = start; pos <= last;) {
    const uint8_t* b = window.fourAt(pos);
    if (!b) break;
    const DecodedHeader* h = nullptr;
    if (b[0] == 0xFF && b[1] >= 0xE0 && headers.decode(b, h)) {
      ++out.frames;
      out.durationMs += h->frameMs;
      out.lowestBitRate = std::min(out.lowestBitRate, h->bitRate);
      out.highestBitRate = std::max(out.highestBitRate, h->bitRate);
      pos += h->frameLength;
    } else {
      pos += ResyncOffset(b);
    }
  }
}

uint32_t WholeMilliseconds(double durationMs) {
  if (!(durationMs > 0)) return 0;
  if (durationMs >= 4294967295.0) return 0xFFFFFFFF;
  return static_cast<uint32_t>(durationMs);
}

}  // namespace mp3
