#include "container/mpeg_frame.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/support/mpeg_stream_builder.h"

using container::CMpegFrame;
using testsupport::FrameSpec;
using testsupport::MakeHeader;
using Bytes4 = std::array<uint8_t, 4>;

namespace {

HRESULT Set(CMpegFrame& f, const FrameSpec& s) { return f.set(MakeHeader(s).data()); }

Bytes4 CodecInfo(const CMpegFrame& f) {
  Bytes4 b{};
  EXPECT_EQ(f.getCodecInfo(b.data()), hr::kOk);
  return b;
}

uint32_t FrameSize(const CMpegFrame& f) {
  uint32_t n = 0;
  EXPECT_EQ(f.getFrameSize(&n), hr::kOk);
  return n;
}

const FrameSpec k128 = {.version = 1, .layer = 3, .bitRateIndex = 9};  // 44.1 kHz stereo

}  // namespace

TEST(MpegFrame, ConstantBitRateStreamStatistics) {
  CMpegFrame f;
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(Set(f, k128), hr::kOk);
  }
  EXPECT_EQ(CodecInfo(f), (Bytes4{0x03, 0x80, 0xD9, 0x00}));
  Bytes4 ms{}, count{};
  ASSERT_EQ(f.getTotalDuration(ms.data()), hr::kOk);
  ASSERT_EQ(f.getFrameCount(count.data()), hr::kOk);
  EXPECT_EQ(ms, (Bytes4{0x00, 0x00, 0x66, 0x0A}));     // 26,122 ms
  EXPECT_EQ(count, (Bytes4{0x00, 0x00, 0x03, 0xE8}));  // 1,000
  EXPECT_EQ(f.frameCount(), 1000u);
  EXPECT_EQ(f.highestBitRate(), 128000u);
  EXPECT_EQ(FrameSize(f), 417u);
}

TEST(MpegFrame, VariableBitRateKeepsHighestIndexAndFirstFrameFields) {
  CMpegFrame f;
  ASSERT_EQ(Set(f, {.bitRateIndex = 9, .sampleRateIndex = 1, .channelMode = 1, .emphasis = 1}), hr::kOk);
  EXPECT_EQ(CodecInfo(f), (Bytes4{0x03, 0x80, 0xD9, 0x54}));
  ASSERT_EQ(Set(f, {.bitRateIndex = 11, .sampleRateIndex = 1, .channelMode = 1, .emphasis = 1}), hr::kOk);
  ASSERT_EQ(Set(f, {.bitRateIndex = 10, .sampleRateIndex = 1, .channelMode = 1, .emphasis = 1}), hr::kOk);
  ASSERT_EQ(Set(f, {.bitRateIndex = 1, .sampleRateIndex = 1, .channelMode = 1, .emphasis = 1}), hr::kOk);
  EXPECT_EQ(CodecInfo(f), (Bytes4{0x03, 0x90, 0xDB, 0x54}));
  EXPECT_EQ(f.highestBitRate(), 192000u);
  EXPECT_EQ(f.bitRate(), 32000u);  // the last frame's
}

TEST(MpegFrame, ChangeFlagsForEachField) {
  struct Case {
    const char* what;
    FrameSpec second;
    uint8_t byte1;
  };
  const Case cases[] = {
      // Version always changes the sample rate as well.
      {"version", {.version = 2, .bitRateIndex = 12}, 0xC8},
      {"layer", {.layer = 2, .bitRateIndex = 8}, 0xA0},
      {"sample rate", {.sampleRateIndex = 1}, 0x88},
      {"channel mode", {.channelMode = 3}, 0x84},
      {"emphasis", {.emphasis = 3}, 0x82},
      {"untracked fields",
       {.padding = 1,
        .modeExtension = 2,
        .crc = true,
        .privateBit = true,
        .copyright = true,
        .original = true},
       0x80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CMpegFrame f;
    ASSERT_EQ(Set(f, k128), hr::kOk);
    ASSERT_EQ(Set(f, c.second), hr::kOk);
    ASSERT_EQ(Set(f, k128), hr::kOk);  // changing back adds nothing new
    EXPECT_EQ(CodecInfo(f)[1], c.byte1);
    EXPECT_EQ(CodecInfo(f)[2], 0xD9);  // equal bit rates never move the index
  }
}

TEST(MpegFrame, FirstFrameRawVersionAndLayerBits) {
  CMpegFrame f;
  // MPEG-2.5 (00) Layer I (11), index 3, 8 kHz, single channel, emphasis 1.
  ASSERT_EQ(f.set(Bytes4{0xFF, 0xE6, 0x38, 0xC1}.data()), hr::kOk);
  EXPECT_EQ(CodecInfo(f), (Bytes4{0x03, 0x80, 0x33, 0xB4}));
}

TEST(MpegFrame, FrameSizeAndDuration) {
  CMpegFrame f;
  double seconds = 0;
  ASSERT_EQ(Set(f, {.version = 2, .bitRateIndex = 8}), hr::kOk);
  EXPECT_EQ(FrameSize(f), 208u);
  ASSERT_EQ(f.getFrameDuration(&seconds), hr::kOk);
  EXPECT_DOUBLE_EQ(seconds, 576.0 / 22050.0);

  ASSERT_EQ(Set(f, {.padding = 1}), hr::kOk);
  EXPECT_EQ(FrameSize(f), 418u);
  ASSERT_EQ(Set(f, {.sampleRateIndex = 1}), hr::kOk);
  EXPECT_EQ(FrameSize(f), 384u);
  ASSERT_EQ(Set(f, {.layer = 1, .bitRateIndex = 14, .sampleRateIndex = 1, .padding = 1}), hr::kOk);
  EXPECT_EQ(FrameSize(f), 452u);
  ASSERT_EQ(f.getFrameDuration(&seconds), hr::kOk);
  EXPECT_DOUBLE_EQ(seconds, 384.0 / 48000.0);
  ASSERT_EQ(Set(f, {.layer = 2, .bitRateIndex = 10, .sampleRateIndex = 1}), hr::kOk);
  EXPECT_EQ(FrameSize(f), 576u);
  EXPECT_DOUBLE_EQ(f.totalDurationSeconds(),
                   576.0 / 22050 + 1152.0 / 44100 + 1152.0 / 48000 + 384.0 / 48000 + 1152.0 / 48000);
}

TEST(MpegFrame, Mpeg25LayerOneUsesTheLowBitRateRow) {
  // Index 1 is 8 kbit/s here, not the standard 32 kbit/s: (12 * 8000 / 11025) * 4.
  CMpegFrame f;
  ASSERT_EQ(Set(f, {.version = 3, .layer = 1, .bitRateIndex = 1}), hr::kOk);
  EXPECT_EQ(f.bitRate(), 8000u);
  EXPECT_EQ(FrameSize(f), 32u);
  ASSERT_EQ(Set(f, {.version = 3, .layer = 1, .bitRateIndex = 14}), hr::kOk);
  EXPECT_EQ(f.bitRate(), 160000u);
}

TEST(MpegFrame, FailuresLeaveStateUnchanged) {
  struct Case {
    Bytes4 header;
    HRESULT result;
  };
  const Case cases[] = {
      {{0xFE, 0xFB, 0xB0, 0x40}, hr::kInvalidArg},  // no first sync byte
      {{0xFF, 0xDB, 0xB0, 0x40}, hr::kInvalidArg},  // sync bits 110
      {{0xFF, 0xEB, 0xB0, 0x40}, hr::kFail},        // version 01
      {{0xFF, 0xF9, 0xB0, 0x40}, hr::kFail},        // layer 00
      {{0xFF, 0xFB, 0x00, 0x40}, hr::kFail},        // free format
      {{0xFF, 0xFB, 0xF0, 0x40}, hr::kFail},        // bad bit-rate index
      {{0xFF, 0xFB, 0xBC, 0x40}, hr::kFail},        // reserved sample rate
  };
  CMpegFrame fresh;
  CMpegFrame used;
  ASSERT_EQ(Set(used, k128), hr::kOk);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << int(c.header[0]) << ' ' << int(c.header[1]) << ' '
                                    << int(c.header[2]));
    for (CMpegFrame* f : {&fresh, &used}) {
      const CMpegFrame before = *f;
      EXPECT_EQ(f->set(c.header.data()), c.result);
      EXPECT_TRUE(*f == before);
    }
  }
  EXPECT_EQ(fresh.set(nullptr), hr::kInvalidArg);
  EXPECT_TRUE(fresh == CMpegFrame{});
  EXPECT_EQ(used.frameCount(), 1u);
}

TEST(MpegFrame, GettersRefuseBeforeFirstFrameOrWithoutOutput) {
  CMpegFrame f;
  uint32_t size = 99;
  double seconds = 99;
  EXPECT_EQ(f.getFrameSize(&size), hr::kInvalidArg);
  EXPECT_EQ(f.getFrameDuration(&seconds), hr::kInvalidArg);
  EXPECT_EQ(size, 99u);
  EXPECT_EQ(CodecInfo(f), (Bytes4{0x03, 0x80, 0x00, 0x00}));
  ASSERT_EQ(Set(f, k128), hr::kOk);
  EXPECT_EQ(f.getFrameSize(nullptr), hr::kInvalidArg);
  EXPECT_EQ(f.getFrameDuration(nullptr), hr::kInvalidArg);
  EXPECT_EQ(f.getCodecInfo(nullptr), hr::kInvalidArg);
  EXPECT_EQ(f.getTotalDuration(nullptr), hr::kInvalidArg);
  EXPECT_EQ(f.getFrameCount(nullptr), hr::kInvalidArg);
}

TEST(MpegFrame, ResetRestoresInitialState) {
  CMpegFrame f;
  ASSERT_EQ(Set(f, k128), hr::kOk);
  ASSERT_EQ(Set(f, {.bitRateIndex = 12, .channelMode = 2}), hr::kOk);
  f.reset();
  EXPECT_TRUE(f == CMpegFrame{});
  EXPECT_EQ(f.versionIndex(), -1);
  EXPECT_EQ(f.layerIndex(), -1);
  EXPECT_FALSE(f.started());
  // After the reset the next frame is a first frame again.
  ASSERT_EQ(Set(f, {.version = 2, .bitRateIndex = 8}), hr::kOk);
  EXPECT_EQ(CodecInfo(f), (Bytes4{0x03, 0x80, 0x98, 0x00}));
}
