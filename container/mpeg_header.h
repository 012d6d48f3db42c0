// MPEG audio frame header test: decides whether four bytes form a usable
// header of an MPEG-1, MPEG-2 or MPEG-2.5 Layer I/II/III frame and decodes it.
// The frame locator and the frame scanner use it to tell a frame sync from
// arbitrary audio bytes.
#pragma once

#include <array>
#include <cstdint>

namespace container {

// Version values of MpegHeaderInfo::version.
constexpr unsigned kMpegVersion1 = 1;
constexpr unsigned kMpegVersion2 = 2;
constexpr unsigned kMpegVersion25 = 3;

// Sample rates in Hz by [version - 1][sample-rate index 0..2].
constexpr std::array<std::array<uint32_t, 3>, 3> kMpegSampleRates = {{
    {44100, 48000, 32000},  // MPEG-1
    {22050, 24000, 16000},  // MPEG-2
    {11025, 12000, 8000},   // MPEG-2.5
}};

struct MpegHeaderInfo {
  // Raw header fields.
  unsigned version = 0;          // kMpegVersion1, kMpegVersion2 or kMpegVersion25
  unsigned layer = 0;            // 1, 2 or 3
  unsigned isProtected = 0;      // 1 when a 16-bit CRC follows the header
  unsigned bitRateIndex = 0;     // 1..14
  unsigned sampleRateIndex = 0;  // 0..2
  unsigned padding = 0;          // 0 or 1
  unsigned privateBit = 0;
  unsigned channelMode = 0;    // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
  unsigned modeExtension = 0;  // 0..3
  unsigned copyright = 0;
  unsigned original = 0;
  unsigned emphasis = 0;  // 0..3, not checked

  // Derived frame information.
  uint32_t bitRate = 0;      // bit/s
  uint32_t sampleRate = 0;   // Hz
  uint32_t channels = 0;     // 1 for single channel, else 2
  uint32_t frameLength = 0;  // bytes, header and CRC included
  uint32_t samplesPerFrame = 0;
  uint32_t pcmBytesPerFrame = 0;  // samples per frame x channels x 2
};

// Returns true and fills `out` when b[0..3] is a usable frame header;
// returns false (leaving `out` untouched) otherwise, or when b is null.
bool ParseMpegHeader(const uint8_t* b, MpegHeaderInfo& out);

}  // namespace container
