// Per-track accumulator of MPEG audio frame headers. Every frame header of a
// track is handed to set(); the object keeps the fields of the last frame,
// counts frames, sums the playing time, remembers the highest bit rate and
// builds the four codec-information bytes of the container header.
#pragma once

#include <array>
#include <cstdint>

#include "common/hresult.h"

namespace container {

class CMpegFrame {
 public:
  CMpegFrame() = default;

  // Decodes the four header bytes of one frame and adds the frame to the
  // statistics. kInvalidArg when the bytes do not start with a frame sync
  // (or header is null), kFail when a field is reserved or unusable. On
  // failure the object is left exactly as it was.
  HRESULT set(const uint8_t* header);

  // Length in bytes of the last frame set. kInvalidArg before the first
  // frame or when out is null.
  HRESULT getFrameSize(uint32_t* out) const;
  // Playing time in seconds of the last frame set; failures as getFrameSize.
  HRESULT getFrameDuration(double* out) const;

  // The four codec-information bytes: 0x03; 0x80 ORed with the change
  // flags; the first frame's raw version and layer bits above the
  // bit-rate index of the highest-rate frame; the first frame's
  // sample-rate index, channel mode and emphasis.
  HRESULT getCodecInfo(uint8_t out[4]) const;
  // Total duration in whole milliseconds, most significant byte first.
  HRESULT getTotalDuration(uint8_t out[4]) const;
  // Frame count, most significant byte first.
  HRESULT getFrameCount(uint8_t out[4]) const;

  uint32_t frameCount() const { return frameCount_; }
  uint32_t highestBitRate() const { return highestBitRate_; }
  double totalDurationSeconds() const { return totalDuration_; }

  // Fields of the last frame set (initial values before the first).
  bool started() const { return started_ != 0; }
  int32_t versionIndex() const { return versionIndex_; }  // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5
  int32_t layerIndex() const { return layerIndex_; }      // 0 Layer I, 1 Layer II, 2 Layer III
  uint32_t bitRate() const { return bitRate_; }           // bit/s
  uint32_t sampleRate() const { return sampleRate_; }     // Hz

  // Restores every field to its initial value, for a new track.
  void reset() { *this = CMpegFrame{}; }

  // Compares the whole state; lets callers and tests check that a failed
  // set() changed nothing.
  bool operator==(const CMpegFrame&) const = default;

 private:
  // Codec byte 1 change flags, set when a frame differs from the previous one.
  static constexpr uint8_t kChangedVersion = 0x40;
  static constexpr uint8_t kChangedLayer = 0x20;
  static constexpr uint8_t kChangedBitRate = 0x10;
  static constexpr uint8_t kChangedSampleRate = 0x08;
  static constexpr uint8_t kChangedChannelMode = 0x04;
  static constexpr uint8_t kChangedEmphasis = 0x02;

  int32_t versionIndex_ = -1;
  int32_t layerIndex_ = -1;
  uint32_t bitRate_ = 0;
  uint8_t bitRateIndex_ = 255;
  uint32_t sampleRate_ = 0;
  uint8_t channelMode_ = 255;
  uint8_t emphasis_ = 255;
  uint32_t padding_ = 0;
  uint8_t protected_ = 0;
  uint8_t started_ = 0;
  std::array<uint8_t, 4> codecInfo_ = {0x03, 0x80, 0x00, 0x00};
  double totalDuration_ = 0.0;
  uint32_t frameCount_ = 0;
  uint32_t highestBitRate_ = 0;
};

}  // namespace container
