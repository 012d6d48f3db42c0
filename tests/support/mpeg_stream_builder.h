// Builds MPEG audio frame headers, frames and streams byte by byte for tests.
// Frame lengths are computed here from the standard formula, independently of
// the code under test.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace testsupport {

struct FrameSpec {
  unsigned version = 1;          // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  unsigned layer = 3;            // 1, 2 or 3
  unsigned bitRateIndex = 9;     // 1..14 (9: 128 kbit/s for MPEG-1 Layer III)
  unsigned sampleRateIndex = 0;  // 0..2 (0: 44,100 Hz for MPEG-1)
  unsigned padding = 0;
  unsigned channelMode = 0;  // 0 stereo, 1 joint, 2 dual, 3 single channel
  unsigned modeExtension = 0;
  unsigned emphasis = 0;
  bool crc = false;  // protection bit 0: a CRC follows the header
  bool privateBit = false;
  bool copyright = false;
  bool original = false;
  uint8_t fill = 0x00;  // payload byte after the header
};

// A layout with the fields tests vary most; the rest keep their defaults.
FrameSpec FrameLayout(unsigned version, unsigned layer, unsigned bitRateIndex, unsigned sampleRateIndex = 0,
                      unsigned padding = 0, unsigned channelMode = 0);

// The four header bytes for `layout`. Fields are masked to their bit widths and
// not validated, so tests can also build reserved values.
std::array<uint8_t, 4> MakeHeader(const FrameSpec& layout);

// Standard values (ISO/IEC 11172-3 and 13818-3) for `layout`.
uint32_t BitRate(const FrameSpec& layout);     // bit/s
uint32_t SampleRate(const FrameSpec& layout);  // Hz
uint32_t SamplesPerFrame(const FrameSpec& layout);
uint32_t FrameLength(const FrameSpec& layout);  // bytes, header included

// Header followed by `fill` bytes up to FrameLength(layout) (at least the
// four header bytes).
std::vector<uint8_t> MakeFrame(const FrameSpec& layout);
// `count` identical frames.
std::vector<uint8_t> MakeStream(const FrameSpec& layout, size_t count);

// Appends `tail` to `stream`.
void Append(std::vector<uint8_t>& stream, const std::vector<uint8_t>& tail);
// The parts joined in order.
std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts);

}  // namespace testsupport
