#include "mp3/frame_walk.h"

#include <gtest/gtest.h>

#include <random>

#include "container/mpeg_header.h"
#include "tests/mp3/tag_builder.h"
#include "tests/support/mpeg_stream_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using mp3test::Bytes;
using testsupport::FrameSpec;

// The walk exactly as four-byte reads make it: read four bytes, move on four,
// then jump by the rest of a frame or step back onto a possible sync start.
mp3::FrameWalkResult FourByteSteps(const Bytes& file, uint64_t start, int64_t last) {
  mp3::FrameWalkResult r;
  for (int64_t pos = static_cast<int64_t>(start); pos <= last;) {
    if (static_cast<size_t>(pos) + 4 > file.size()) break;
    const uint8_t* b = file.data() + pos;
    pos += 4;
    container::MpegHeaderInfo h;
    if (b[0] == 0xFF && b[1] >= 0xE0 && container::ParseMpegHeader(b, h)) {
      ++r.frames;
      r.durationMs += static_cast<double>(h.frameLength) * 1000.0 / h.bitRate * 8.0;
      r.lowestBitRate = std::min(r.lowestBitRate, h.bitRate);
      r.highestBitRate = std::max(r.highestBitRate, h.bitRate);
      pos += h.frameLength - 4;
    } else if (b[1] == 0xFF && b[2] >= 0xE0) {
      pos -= 3;
    } else if (b[2] == 0xFF && b[3] >= 0xE0) {
      pos -= 2;
    } else if (b[3] == 0xFF) {
      pos -= 1;
    }
  }
  return r;
}

class FrameWalk : public ::testing::Test {
 protected:
  mp3::FrameWalkResult walk(const Bytes& bytes, uint64_t start, int64_t last,
                            size_t buffer = mp3::kFrameWalkBuffer) {
    const sys::Path path = dir / testsupport::UniqueName("walk");
    testsupport::WriteFile(path, bytes);
    mp3::CFileReader file;
    EXPECT_TRUE(file.open(path));
    mp3::FrameWalkResult r;
    mp3::WalkFrames(file, start, last, r, buffer);
    return r;
  }
  mp3::FrameWalkResult walkAll(const Bytes& bytes) {
    return walk(bytes, 0, static_cast<int64_t>(bytes.size()) - 1);
  }

  testsupport::TempDir dir;
};

TEST_F(FrameWalk, FindsHeadersWhoseSyncStartsInAnyByteOfAStep) {
  // 0, 1, 2 and 3 bytes of garbage before each frame put its 0xFF at every
  // place of a four-byte step, the last one pairing with the next step.
  const Bytes frame = testsupport::MakeFrame(FrameSpec{});  // 417 bytes, 128 kbit/s
  Bytes stream;
  for (size_t junk : {0, 1, 2, 3, 5}) {
    stream.insert(stream.end(), junk, 0x11);
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  const auto r = walkAll(stream);
  EXPECT_EQ(r.frames, 5u);
  EXPECT_EQ(mp3::WholeMilliseconds(r.durationMs), 130u);  // 5 x 26.0625 ms
  EXPECT_EQ(r.lowestBitRate, 128000u);
  EXPECT_EQ(r.highestBitRate, 128000u);
}

TEST_F(FrameWalk, SyncLookalikesBeforeAHeaderAreSteppedOver) {
  // FF FF FF FB: the first two starts do not decode (bit-rate index 15), the
  // third is the frame.
  const Bytes stream = mp3test::Join({{0xFF, 0xFF}, testsupport::MakeFrame(FrameSpec{})});
  EXPECT_EQ(walkAll(stream).frames, 1u);
}

TEST_F(FrameWalk, LastByteBoundsWhereAHeaderMayStartNotWhereItEnds) {
  const Bytes stream = mp3test::Join({Bytes(6, 0x00), testsupport::MakeFrame(FrameSpec{})});
  // The header starts at 6; the step from 4 holds its first two bytes and
  // steps back onto it.
  EXPECT_EQ(walk(stream, 0, 6).frames, 1u);
  EXPECT_EQ(walk(stream, 0, 5).frames, 0u);
  // A header whose frame runs past the end of the file still counts.
  const Bytes cut(stream.begin(), stream.begin() + 20);
  EXPECT_EQ(walkAll(cut).frames, 1u);
  EXPECT_EQ(walk(stream, 0, -1).frames, 0u);
}

TEST_F(FrameWalk, TotalIsTruncatedNotRounded) {
  // 54 frames of 96 kbit/s at 32 kHz, padded (433 bytes, 36.0833 ms), and two
  // of 40 kbit/s at 44.1 kHz, padded (131 bytes, 26.2 ms): 2000.9 ms.
  const Bytes stream = mp3test::Join({testsupport::MakeStream(testsupport::FrameLayout(1, 3, 7, 2, 1), 54),
                                      testsupport::MakeStream(testsupport::FrameLayout(1, 3, 2, 0, 1), 2)});
  const auto r = walkAll(stream);
  EXPECT_NEAR(r.durationMs, 2000.9, 1e-6);
  EXPECT_EQ(mp3::WholeMilliseconds(r.durationMs), 2000u);
  EXPECT_EQ(r.lowestBitRate, 40000u);
  EXPECT_EQ(r.highestBitRate, 96000u);
  EXPECT_EQ(mp3::WholeMilliseconds(5e12), 0xFFFFFFFFu);
}

TEST_F(FrameWalk, BufferedWalkMatchesFourByteStepsOnMixedStreams) {
  // Every version and layer, padding, garbage full of sync lookalikes, and
  // frames larger than the smallest buffers.
  const FrameSpec layouts[] = {testsupport::FrameLayout(1, 3, 9, 0),  testsupport::FrameLayout(1, 3, 9, 0, 1),
                               testsupport::FrameLayout(2, 3, 8, 0),  testsupport::FrameLayout(3, 3, 1, 1),
                               testsupport::FrameLayout(1, 2, 14, 1), testsupport::FrameLayout(1, 1, 13, 2),
                               testsupport::FrameLayout(2, 1, 3, 1),  testsupport::FrameLayout(2, 2, 5, 2)};
  std::mt19937 random(20240607);
  for (int round = 0; round < 12; ++round) {
    Bytes stream;
    for (int i = 0; i < 60; ++i) {
      const Bytes frame = testsupport::MakeFrame(layouts[random() % std::size(layouts)]);
      stream.insert(stream.end(), frame.begin(), frame.end());
      for (unsigned junk = random() % 6; junk > 0; --junk) {
        const uint8_t lookalikes[] = {0xFF, 0xFF, 0xE0, 0xFB, 0x00, 0x90};
        stream.push_back(lookalikes[random() % std::size(lookalikes)]);
      }
    }
    const uint64_t start = random() % 8;
    const int64_t last = static_cast<int64_t>(stream.size()) - 1 - static_cast<int64_t>(random() % 300);
    const auto expected = FourByteSteps(stream, start, last);
    ASSERT_GT(expected.frames, 30u);
    for (size_t buffer : {size_t{4}, size_t{5}, size_t{7}, size_t{500}, mp3::kFrameWalkBuffer}) {
      const auto r = walk(stream, start, last, buffer);
      EXPECT_EQ(r.frames, expected.frames) << "round " << round << " buffer " << buffer;
      EXPECT_EQ(r.lowestBitRate, expected.lowestBitRate);
      EXPECT_EQ(r.highestBitRate, expected.highestBitRate);
      EXPECT_EQ(r.durationMs, expected.durationMs);
    }
  }
}

}  // namespace
