#include "tests/support/mpeg_stream_builder.h"

#include <algorithm>

namespace testsupport {
namespace {

// kbit/s by bit-rate index; rows: MPEG-1 L1, L2, L3; MPEG-2/2.5 L1; MPEG-2/2.5 L2 and L3.
constexpr uint16_t kKbps[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};

constexpr uint32_t kBaseRate[3] = {44100, 48000, 32000};  // MPEG-1; halved for 2, quartered for 2.5

}  // namespace

FrameSpec FrameLayout(unsigned version, unsigned layer, unsigned bitRateIndex, unsigned sampleRateIndex,
                      unsigned padding, unsigned channelMode) {
  FrameSpec layout;
  layout.version = version;
  layout.layer = layer;
  layout.bitRateIndex = bitRateIndex;
  layout.sampleRateIndex = sampleRateIndex;
  layout.padding = padding;
  layout.channelMode = channelMode;
  return layout;
}

std::array<uint8_t, 4> MakeHeader(const FrameSpec& s) {
  // Version bits: 11 MPEG-1, 10 MPEG-2, 00 MPEG-2.5. Layer bits: 4 - layer.
  const unsigned versionBits = s.version == 1 ? 3u : s.version == 2 ? 2u : 0u;
  const unsigned layerBits = (4 - s.layer) & 3u;
  return {
      0xFF,
      static_cast<uint8_t>(0xE0 | versionBits << 3 | layerBits << 1 | (s.crc ? 0u : 1u)),
      static_cast<uint8_t>((s.bitRateIndex & 15u) << 4 | (s.sampleRateIndex & 3u) << 2 |
                           (s.padding & 1u) << 1 | (s.privateBit ? 1u : 0u)),
      static_cast<uint8_t>((s.channelMode & 3u) << 6 | (s.modeExtension & 3u) << 4 | (s.copyright ? 8u : 0u) |
                           (s.original ? 4u : 0u) | (s.emphasis & 3u)),
  };
}

uint32_t BitRate(const FrameSpec& s) {
  const unsigned row = s.version == 1 ? s.layer - 1 : (s.layer == 1 ? 3 : 4);
  return kKbps[row][s.bitRateIndex & 15u] * 1000u;
}

uint32_t SampleRate(const FrameSpec& s) { return kBaseRate[s.sampleRateIndex % 3] >> (s.version - 1); }

uint32_t SamplesPerFrame(const FrameSpec& s) {
  if (s.layer == 1) return 384;
  if (s.layer == 2 || s.version == 1) return 1152;
  return 576;
}

uint32_t FrameLength(const FrameSpec& s) {
  // A frame carries samples/8 bytes per bit/s of rate per Hz of sampling;
  // Layer I counts in 4-byte slots, its padding is one slot.
  if (s.layer == 1) {
    return (SamplesPerFrame(s) / 32 * BitRate(s) / SampleRate(s) + s.padding) * 4;
  }
  return SamplesPerFrame(s) / 8 * BitRate(s) / SampleRate(s) + s.padding;
}

std::vector<uint8_t> MakeFrame(const FrameSpec& s) {
  // A reserved bit-rate index sizes to 0; still emit the whole header.
  std::vector<uint8_t> frame(std::max<uint32_t>(FrameLength(s), 4), s.fill);
  const auto header = MakeHeader(s);
  std::copy(header.begin(), header.end(), frame.begin());
  return frame;
}

std::vector<uint8_t> MakeStream(const FrameSpec& s, size_t count) {
  const std::vector<uint8_t> frame = MakeFrame(s);
  std::vector<uint8_t> stream;
  stream.reserve(frame.size() * count);
  for (size_t i = 0; i < count; ++i) {
    Append(stream, frame);
  }
  return stream;
}

void Append(std::vector<uint8_t>& stream, const std::vector<uint8_t>& tail) {
  stream.insert(stream.end(), tail.begin(), tail.end());
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) {
    Append(out, p);
  }
  return out;
}

}  // namespace testsupport
