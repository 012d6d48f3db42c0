#include "container/frame_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tests/support/mpeg_stream_builder.h"

using container::CFrameScanner;
using container::CMpegFrame;
using testsupport::Concat;
using testsupport::FrameSpec;
using testsupport::MakeFrame;
using Bytes = std::vector<uint8_t>;
using Bytes4 = std::array<uint8_t, 4>;

namespace {

const FrameSpec k128 = {.version = 1, .layer = 3, .bitRateIndex = 9};   // 417 bytes
const FrameSpec k192 = {.version = 1, .layer = 3, .bitRateIndex = 11};  // 626 bytes

// A 320 kbit/s header inside a frame's payload: counting it would show in
// the frame count and in the highest bit rate.
constexpr Bytes4 kFakeHeader = {0xFF, 0xFB, 0xE0, 0x00};

Bytes WithFakeAt(Bytes frame, std::initializer_list<size_t> offsets) {
  for (size_t at : offsets) {
    std::copy(kFakeHeader.begin(), kFakeHeader.end(), frame.begin() + at);
  }
  return frame;
}

struct Stats {
  uint32_t frames = 0;
  Bytes4 codec{}, ms{};
  uint32_t highest = 0;
  bool operator==(const Stats&) const = default;
};

Stats StatsOf(const CFrameScanner& s) {
  Stats st;
  st.frames = s.frame().frameCount();
  EXPECT_EQ(s.frame().getCodecInfo(st.codec.data()), hr::kOk);
  EXPECT_EQ(s.frame().getTotalDuration(st.ms.data()), hr::kOk);
  st.highest = s.frame().highestBitRate();
  return st;
}

HRESULT Scan(CFrameScanner& s, const Bytes& data, size_t from, size_t to) {
  return s.scanChunk(data.data() + from, to - from);
}

}  // namespace

TEST(FrameScanner, HeaderSplitAcrossChunksIsExaminedInTheNext) {
  const Bytes stream = Concat({MakeFrame(k128), MakeFrame(k192), MakeFrame(k128)});
  for (size_t split = 1; split <= 3; ++split) {
    SCOPED_TRACE(split);
    CFrameScanner s;
    ASSERT_EQ(Scan(s, stream, 0, 417 + split), hr::kOk);
    EXPECT_EQ(s.frame().frameCount(), 1u);
    EXPECT_EQ(s.bufferedBytes(), split);
    EXPECT_EQ(s.expectedPosition(), 0u);
    ASSERT_EQ(Scan(s, stream, 417 + split, stream.size()), hr::kOk);
    EXPECT_EQ(s.frame().frameCount(), 3u);
    EXPECT_EQ(s.frame().highestBitRate(), 192000u);  // the split header was read whole
    EXPECT_EQ(s.bufferedBytes(), 0u);
  }
}

TEST(FrameScanner, FrameTailContinuesIntoFollowingChunks) {
  // Sync-like bytes inside the second frame's tail must be stepped over,
  // however the tail is cut into chunks.
  const Bytes stream = Concat({MakeFrame(k128), WithFakeAt(MakeFrame(k128), {183, 343}), MakeFrame(k128)});
  CFrameScanner s;
  ASSERT_EQ(Scan(s, stream, 0, 517), hr::kOk);
  EXPECT_EQ(s.frame().frameCount(), 2u);
  EXPECT_EQ(s.expectedPosition(), 317u);  // 834 - 517
  EXPECT_EQ(s.bufferedBytes(), 0u);
  ASSERT_EQ(Scan(s, stream, 517, 717), hr::kOk);  // wholly inside the tail
  EXPECT_EQ(s.expectedPosition(), 117u);
  ASSERT_EQ(s.scanChunk(nullptr, 0), hr::kOk);  // an empty chunk keeps the carry
  EXPECT_EQ(s.expectedPosition(), 117u);
  ASSERT_EQ(Scan(s, stream, 717, stream.size()), hr::kOk);
  EXPECT_EQ(s.frame().frameCount(), 3u);
  EXPECT_EQ(s.frame().highestBitRate(), 128000u);
  EXPECT_EQ(s.expectedPosition(), 0u);  // the stream ended on a frame boundary
}

TEST(FrameScanner, GarbageBetweenFramesIsSkippedByteByByte) {
  const Bytes garbage = {
      0x00, 0xFF, 0xEB, 0x90, 0x00,  // version bits 01
      0xFF, 0xFB, 0xF0, 0x00,        // bad bit-rate index
      0xFF, 0xFF, 0x9C, 0x00,        // reserved sample rate
      0x12, 0xFF,                    // with the next frame: FF FF FB -> bit-rate index 15
  };
  const FrameSpec k160 = {.bitRateIndex = 10};
  CFrameScanner s;
  ASSERT_EQ(s.scanChunk(Concat({garbage, MakeFrame(k128), garbage, MakeFrame(k160)}).data(),
                        2 * garbage.size() + 417 + 522),
            hr::kOk);
  const Stats st = StatsOf(s);
  EXPECT_EQ(st.frames, 2u);
  EXPECT_EQ(st.codec, (Bytes4{0x03, 0x90, 0xDA, 0x00}));
  EXPECT_EQ(st.ms, (Bytes4{0x00, 0x00, 0x00, 0x34}));  // 2 * 26.12 ms = 52 ms
}

TEST(FrameScanner, CarryBufferOverflowFailsAndChangesNothing) {
  Bytes big(CFrameScanner::kCarryCapacity + 1, 0x00);
  CFrameScanner s;
  const Bytes head = {0xFF, 0xFB, 0x90};
  ASSERT_EQ(Scan(s, head, 0, 3), hr::kOk);
  ASSERT_EQ(s.bufferedBytes(), 3u);

  EXPECT_EQ(s.scanChunk(big.data(), CFrameScanner::kCarryCapacity - 2), hr::kFail);
  EXPECT_EQ(s.scanChunk(nullptr, 1), hr::kInvalidArg);
  EXPECT_EQ(s.bufferedBytes(), 3u);
  EXPECT_EQ(s.expectedPosition(), 0u);
  EXPECT_TRUE(s.frame() == CMpegFrame{});

  // Exactly full is allowed, and the carried bytes complete their header.
  EXPECT_EQ(s.scanChunk(big.data(), CFrameScanner::kCarryCapacity - 3), hr::kOk);
  EXPECT_EQ(s.frame().frameCount(), 1u);

  CFrameScanner fresh;
  EXPECT_EQ(fresh.scanChunk(big.data(), big.size()), hr::kFail);
  EXPECT_EQ(fresh.scanChunk(big.data(), CFrameScanner::kCarryCapacity), hr::kOk);
}

TEST(FrameScanner, ChunkedScanGivesSameStatisticsAsOneChunk) {
  Bytes cutOff = MakeFrame(k128);
  cutOff.resize(100);  // the file ends inside this frame
  const Bytes stream = Concat({
      WithFakeAt(MakeFrame(k128), {200}),
      MakeFrame({.padding = 1}),
      {0x00, 0xFF, 0xEB, 0x90, 0x00},
      WithFakeAt(MakeFrame(k192), {4, 622}),
      MakeFrame({.sampleRateIndex = 1}),
      WithFakeAt(MakeFrame({.channelMode = 1, .crc = true}), {6}),
      testsupport::MakeStream(k128, 3),
      cutOff,
  });
  CFrameScanner whole;
  ASSERT_EQ(whole.scanChunk(stream.data(), stream.size()), hr::kOk);
  const Stats expected = StatsOf(whole);
  EXPECT_EQ(expected.frames, 9u);
  // Bit rate, sample rate and channel mode changed; 192 kbit/s was highest.
  EXPECT_EQ(expected.codec, (Bytes4{0x03, 0x9C, 0xDB, 0x00}));
  EXPECT_EQ(expected.ms, (Bytes4{0x00, 0x00, 0x00, 0xE8}));  // 8 * 1152/44100 + 1152/48000 s
  EXPECT_EQ(expected.highest, 192000u);

  for (size_t chunk : {1, 2, 3, 4, 5, 7, 64, 100, 416, 417, 418, 419, 626, 1000, 4096, 65536}) {
    SCOPED_TRACE(chunk);
    CFrameScanner s;
    for (size_t at = 0; at < stream.size(); at += chunk) {
      ASSERT_EQ(Scan(s, stream, at, std::min(stream.size(), at + chunk)), hr::kOk);
    }
    EXPECT_EQ(StatsOf(s), expected);
  }
}

TEST(FrameScanner, ResetEmptiesBufferAndStatistics) {
  const Bytes stream = Concat({MakeFrame(k128), MakeFrame(k128)});
  CFrameScanner s;
  s.setSourcePath("C:\\Music\\a.mp3");
  ASSERT_EQ(Scan(s, stream, 0, 419), hr::kOk);
  ASSERT_EQ(s.bufferedBytes(), 2u);
  s.reset();
  EXPECT_EQ(s.bufferedBytes(), 0u);
  EXPECT_EQ(s.expectedPosition(), 0u);
  EXPECT_TRUE(s.frame() == CMpegFrame{});

  ASSERT_EQ(Scan(s, stream, 0, 500), hr::kOk);
  ASSERT_EQ(s.expectedPosition(), 334u);
  s.reset();
  EXPECT_EQ(s.expectedPosition(), 0u);
  ASSERT_EQ(Scan(s, stream, 417, stream.size()), hr::kOk);
  EXPECT_EQ(s.frame().frameCount(), 1u);
}
