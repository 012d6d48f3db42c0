// The 96-byte header block the transfer hands to the device before the
// audio of a track (offsets 32 to 43 zero) and again after it (completed).
// All multi-byte values are most significant byte first:
//    0   3  magic "kvx"
//    3   1  0x02, the block's version
//    4   1  0x00
//    5   1  0x60, the block's own length
//    6   2  0xFF 0xFE
//    8  24  zero (passed on to the device as they are)
//   32   4  codec information (CMpegFrame::getCodecInfo)
//   36   4  total playing time in whole milliseconds
//   40   4  number of MPEG frames
//   44  52  zero
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/hresult.h"
#include "container/mpeg_frame.h"

namespace container {

constexpr size_t kHeaderBlockSize = 96;
constexpr size_t kHeaderBlockCodecOffset = 32;
constexpr size_t kHeaderBlockTimeOffset = 36;
constexpr size_t kHeaderBlockFrameCountOffset = 40;

using HeaderBlockBytes = std::array<uint8_t, kHeaderBlockSize>;

class CHeaderBlock {
 public:
  CHeaderBlock() { reset(); }

  // Back to the template, for a new track: the form handed out before the
  // first audio chunk.
  void reset();

  // Writes the track's codec information, total time and frame count from
  // the frame statistics; the form handed out after the last chunk. On
  // failure the block is unchanged.
  HRESULT complete(const CMpegFrame& frame);

  const HeaderBlockBytes& bytes() const { return m_bytes; }
  const uint8_t* data() const { return m_bytes.data(); }
  static constexpr size_t size() { return kHeaderBlockSize; }

 private:
  HeaderBlockBytes m_bytes{};
};

}  // namespace container
