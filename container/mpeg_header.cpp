#include "container/mpeg_header.h"

#include <array>

namespace container {
namespace {

// Bit rates in kbit/s by bit-rate index 0..15. Index 0 ("free format") and
// 15 ("bad") are rejected before the table is read, so they hold 0.
using BitRateRow = std::array<uint16_t, 16>;

constexpr BitRateRow kMpeg1Layer1 = {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0};
constexpr BitRateRow kMpeg1Layer2 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};
constexpr BitRateRow kMpeg1Layer3 = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
// MPEG-2 and MPEG-2.5 share their rows.
constexpr BitRateRow kMpeg2Layer1 = {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0};
constexpr BitRateRow kMpeg2Layer23 = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};

const BitRateRow& BitRateRowFor(unsigned version, unsigned layer) {
  if (version == kMpegVersion1) {
    return layer == 1 ? kMpeg1Layer1 : layer == 2 ? kMpeg1Layer2 : kMpeg1Layer3;
  }
  return layer == 1 ? kMpeg2Layer1 : kMpeg2Layer23;
}

}  // namespace

bool ParseMpegHeader(const uint8_t* b, MpegHeaderInfo& out) {
  if (b == nullptr) {
    return false;
  }
  // Byte 0: first eight sync bits, 11111111.
  if (b[0] != 0xFF) {
    return false;
  }

  MpegHeaderInfo h;
  // Byte 1: sync 111, version VV, layer LL, protection P (111VVLLP).
  if (b[1] >= 0xF0) {
    // 1111xxxx: version bits 11 (MPEG-1) or 10 (MPEG-2).
    h.version = (b[1] & 0x08) ? kMpegVersion1 : kMpegVersion2;
  } else if ((b[1] & 0xF8) == 0xE0) {
    // 11100xxx: version bits 00, the MPEG-2.5 extension. Version bits 01
    // (11101xxx) are reserved and fall through to "no sync".
    h.version = kMpegVersion25;
  } else {
    return false;
  }
  const unsigned layerBits = (b[1] >> 1) & 0x03;  // xxxxxLLx
  if (layerBits == 0) {
    return false;  // reserved layer
  }
  h.layer = 4 - layerBits;
  h.isProtected = (b[1] & 0x01) == 0 ? 1 : 0;  // protection bit 0 means a CRC follows

  // Byte 2: bit-rate index BBBB, sample-rate index SS, padding, private (BBBBSSpx).
  h.bitRateIndex = b[2] >> 4;
  if (h.bitRateIndex == 0 || h.bitRateIndex == 15) {
    return false;  // free format cannot be sized; 15 is "bad"
  }
  h.sampleRateIndex = (b[2] >> 2) & 0x03;
  if (h.sampleRateIndex == 3) {
    return false;  // reserved
  }
  h.padding = (b[2] >> 1) & 0x01;
  h.privateBit = b[2] & 0x01;

  // Byte 3: channel mode CC, mode extension MM, copyright, original,
  // emphasis EE (CCMMcoEE). Emphasis 2 is reserved but harmless, so it passes.
  h.channelMode = b[3] >> 6;
  h.modeExtension = (b[3] >> 4) & 0x03;
  h.copyright = (b[3] >> 3) & 0x01;
  h.original = (b[3] >> 2) & 0x01;
  h.emphasis = b[3] & 0x03;

  h.bitRate = uint32_t{BitRateRowFor(h.version, h.layer)[h.bitRateIndex]} * 1000u;
  h.sampleRate = kMpegSampleRates[h.version - 1][h.sampleRateIndex];
  h.channels = h.channelMode == 3 ? 1 : 2;

  // Integer divisions, left to right, as the decoders size frames.
  switch (h.layer) {
    case 1:
      h.samplesPerFrame = 384;
      h.frameLength = (12 * h.bitRate / h.sampleRate + h.padding) * 4;  // 4-byte slots
      break;
    case 2:
      h.samplesPerFrame = 1152;
      h.frameLength = 144 * h.bitRate / h.sampleRate + h.padding;
      break;
    default: {
      const uint32_t d = h.version == kMpegVersion1 ? 1 : 2;  // half-size granule count
      h.samplesPerFrame = 1152 / d;
      h.frameLength = 144 * h.bitRate / h.sampleRate / d + h.padding;
      break;
    }
  }
  h.pcmBytesPerFrame = h.samplesPerFrame * h.channels * 2;

  out = h;
  return true;
}

}  // namespace container
