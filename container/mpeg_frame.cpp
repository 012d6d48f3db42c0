#include "container/mpeg_frame.h"

#include <cmath>

#include "common/byte_order.h"
#include "container/mpeg_header.h"

namespace container {
namespace {

// Bit rates in bit/s by [version index][layer index][bit-rate index]. Index 0
// holds 1 and index 15 holds 0 so that a lookup of either reads as "unusable".
// Unlike the header test's table, the MPEG-2.5 Layer I row here is the
// 8..160 kbit/s row; frame sizes, durations and change flags use it.
using BitRateRow = std::array<uint32_t, 16>;

constexpr BitRateRow kM1L1 = {1,      32000,  64000,  96000,  128000, 160000, 192000, 224000,
                              256000, 288000, 320000, 352000, 384000, 416000, 448000, 0};
constexpr BitRateRow kM1L2 = {1,      32000,  48000,  56000,  64000,  80000,  96000,  112000,
                              128000, 160000, 192000, 224000, 256000, 320000, 384000, 0};
constexpr BitRateRow kM1L3 = {1,      32000,  40000,  48000,  56000,  64000,  80000,  96000,
                              112000, 128000, 160000, 192000, 224000, 256000, 320000, 0};
constexpr BitRateRow kM2L1 = {1,      32000,  48000,  56000,  64000,  80000,  96000,  112000,
                              128000, 144000, 160000, 176000, 192000, 224000, 256000, 0};
constexpr BitRateRow kM2L23 = {1,     8000,  16000, 24000,  32000,  40000,  48000,  56000,
                               64000, 80000, 96000, 112000, 128000, 144000, 160000, 0};

constexpr std::array<std::array<BitRateRow, 3>, 3> kBitRates = {{
    {kM1L1, kM1L2, kM1L3},     // MPEG-1
    {kM2L1, kM2L23, kM2L23},   // MPEG-2
    {kM2L23, kM2L23, kM2L23},  // MPEG-2.5
}};

uint32_t SamplesPerFrame(int32_t versionIndex, int32_t layerIndex) {
  if (layerIndex == 0) return 384;
  if (layerIndex == 1) return 1152;
  return versionIndex == 0 ? 1152 : 576;  // Layer III: one granule only below MPEG-1
}

}  // namespace

HRESULT CMpegFrame::set(const uint8_t* header) {
  // Byte 0 and the top three bits of byte 1: the 11-bit frame sync.
  if (header == nullptr || header[0] != 0xFF || (header[1] & 0xE0) != 0xE0) {
    return hr::kInvalidArg;
  }
  const uint8_t b1 = header[1];
  const uint8_t b2 = header[2];
  const uint8_t b3 = header[3];

  // Decode into locals; the members change only once every field is usable.
  int32_t version;
  switch (b1 & 0x18) {  // xxxVVxxx
    case 0x18:
      version = 0;
      break;  // MPEG-1
    case 0x10:
      version = 1;
      break;  // MPEG-2
    case 0x00:
      version = 2;
      break;  // MPEG-2.5
    default:
      return hr::kFail;  // 01: reserved
  }
  int32_t layer;
  switch (b1 & 0x06) {  // xxxxxLLx
    case 0x06:
      layer = 0;
      break;  // Layer I
    case 0x04:
      layer = 1;
      break;  // Layer II
    case 0x02:
      layer = 2;
      break;  // Layer III
    default:
      return hr::kFail;  // 00: reserved
  }
  const uint8_t isProtected = (b1 & 0x01) == 0 ? 1 : 0;
  const uint8_t bitRateIndex = b2 >> 4;  // BBBBxxxx
  if (bitRateIndex == 0 || bitRateIndex == 15) {
    return hr::kFail;
  }
  const uint32_t bitRate = kBitRates[version][layer][bitRateIndex];
  if (bitRate <= 1) {
    return hr::kFail;
  }
  const uint8_t sampleRateIndex = (b2 >> 2) & 0x03;  // xxxxSSxx
  if (sampleRateIndex == 3) {
    return hr::kFail;
  }
  const uint32_t sampleRate = kMpegSampleRates[version][sampleRateIndex];
  const uint32_t padding = (b2 >> 1) & 0x01;  // xxxxxxPx
  const uint8_t channelMode = b3 >> 6;        // CCxxxxxx
  const uint8_t emphasis = b3 & 0x03;         // xxxxxxEE

  if (started_) {
    uint8_t changed = 0;
    if (version != versionIndex_) changed |= kChangedVersion;
    if (layer != layerIndex_) changed |= kChangedLayer;
    if (bitRate != bitRate_) changed |= kChangedBitRate;
    if (sampleRate != sampleRate_) changed |= kChangedSampleRate;
    if (channelMode != channelMode_) changed |= kChangedChannelMode;
    if (emphasis != emphasis_) changed |= kChangedEmphasis;
    codecInfo_[1] |= changed;

    if (bitRate > highestBitRate_) {
      highestBitRate_ = bitRate;
      codecInfo_[2] = static_cast<uint8_t>((codecInfo_[2] & 0xF0) | bitRateIndex);
    }
  } else {
    // Raw version and layer bits (VVLL) of the first frame above its
    // bit-rate index; its sample-rate index, channel mode and emphasis.
    codecInfo_[2] = static_cast<uint8_t>((((b1 >> 1) & 0x0F) << 4) | bitRateIndex);
    codecInfo_[3] = static_cast<uint8_t>((sampleRateIndex << 6) | (channelMode << 4) | (emphasis << 2));
    highestBitRate_ = bitRate;
  }

  versionIndex_ = version;
  layerIndex_ = layer;
  bitRate_ = bitRate;
  bitRateIndex_ = bitRateIndex;
  sampleRate_ = sampleRate;
  channelMode_ = channelMode;
  emphasis_ = emphasis;
  padding_ = padding;
  protected_ = isProtected;
  started_ = 1;
  ++frameCount_;
  totalDuration_ += static_cast<double>(SamplesPerFrame(version, layer)) / sampleRate;
  return hr::kOk;
}

HRESULT CMpegFrame::getFrameSize(uint32_t* out) const {
  if (out == nullptr || !started_) {
    return hr::kInvalidArg;
  }
  switch (layerIndex_) {
    case 0:
      *out = (12 * bitRate_ / sampleRate_ + padding_) * 4;
      break;
    case 1:
      *out = 144 * bitRate_ / sampleRate_ + padding_;
      break;
    default:
      *out = (versionIndex_ == 0 ? 144 : 72) * bitRate_ / sampleRate_ + padding_;
      break;
  }
  return hr::kOk;
}

HRESULT CMpegFrame::getFrameDuration(double* out) const {
  if (out == nullptr || !started_) {
    return hr::kInvalidArg;
  }
  *out = static_cast<double>(SamplesPerFrame(versionIndex_, layerIndex_)) / sampleRate_;
  return hr::kOk;
}

HRESULT CMpegFrame::getCodecInfo(uint8_t out[4]) const {
  if (out == nullptr) {
    return hr::kInvalidArg;
  }
  for (size_t i = 0; i < codecInfo_.size(); ++i) {
    out[i] = codecInfo_[i];
  }
  return hr::kOk;
}

HRESULT CMpegFrame::getTotalDuration(uint8_t out[4]) const {
  if (out == nullptr) {
    return hr::kInvalidArg;
  }
  // Whole milliseconds, fraction dropped. Four bytes hold about 49.7 days;
  // a longer sum saturates instead of taking an undefined conversion.
  const double ms = std::floor(totalDuration_ * 1000.0);
  const uint32_t whole = ms >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(ms);
  byte_order::WriteBig32(whole, out);
  return hr::kOk;
}

HRESULT CMpegFrame::getFrameCount(uint8_t out[4]) const {
  if (out == nullptr) {
    return hr::kInvalidArg;
  }
  byte_order::WriteBig32(frameCount_, out);
  return hr::kOk;
}

}  // namespace container
