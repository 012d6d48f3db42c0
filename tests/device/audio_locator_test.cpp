#include "device/audio_locator.h"

#include <gtest/gtest.h>

#include "tests/device/mp3_files.h"

namespace {

using devicetest::Frames;
using testsupport::Concat;
using testsupport::FrameSpec;

const FrameSpec kMpeg1Layer3;  // 128 kbit/s, 44,100 Hz: 417-byte frames

device::AudioSearch Locate(const std::vector<uint8_t>& file, device::AudioLocation& at) {
  return device::LocateAudio(file.data(), file.size(), at);
}

TEST(AudioLocator, PlainFramesStartAtZeroAndRunToTheEnd) {
  const auto file = Frames(kMpeg1Layer3, 3, 0x55);
  device::AudioLocation at;
  ASSERT_EQ(Locate(file, at), device::AudioSearch::kFound);
  EXPECT_EQ(at.offset, 0u);
  EXPECT_EQ(at.size, 3u * 417);
  EXPECT_EQ(at.firstFrame.frameLength, 417u);
}

TEST(AudioLocator, JunkAndAnUnconfirmedSyncAreSkipped) {
  // A lone header whose "next frame" position holds junk is not a frame.
  auto lone = Frames(kMpeg1Layer3, 1, 0x00);
  lone.resize(500, 0x11);
  const auto file = Concat({std::vector<uint8_t>(7, 0x20), lone, Frames(kMpeg1Layer3, 2, 0x55)});
  device::AudioLocation at;
  ASSERT_EQ(Locate(file, at), device::AudioSearch::kFound);
  EXPECT_EQ(at.offset, 7u + 500u);
  EXPECT_EQ(at.size, 2u * 417);
}

TEST(AudioLocator, ConfirmingFrameMustHaveTheSameVersionAndLayer) {
  FrameSpec mpeg2;
  mpeg2.version = 2;
  mpeg2.bitRateIndex = 8;  // 64 kbit/s at 22,050 Hz: 208 bytes
  // MPEG-1 header followed by an MPEG-2 header: the first is not confirmed.
  const auto file = Concat({Frames(kMpeg1Layer3, 1, 0x00), Frames(mpeg2, 2, 0x00)});
  device::AudioLocation at;
  ASSERT_EQ(Locate(file, at), device::AudioSearch::kFound);
  EXPECT_EQ(at.offset, 417u);
  EXPECT_EQ(at.firstFrame.version, container::kMpegVersion2);
}

TEST(AudioLocator, LeadingAndTrailingTagsAreLeftOut) {
  const auto body = devicetest::Id3v2TextFrame("TIT2", "Song");
  const auto audio = Frames(kMpeg1Layer3, 2, 0x55);
  for (bool footer : {false, true}) {
    const auto tag = devicetest::Id3v2Tag(body, footer);
    const auto file = Concat({tag, audio, devicetest::Id3v1Tag("t", "a", "b", 17)});
    device::AudioLocation at;
    ASSERT_EQ(Locate(file, at), device::AudioSearch::kFound) << footer;
    EXPECT_EQ(at.offset, 10u + body.size() + (footer ? 10u : 0u));
    EXPECT_EQ(at.size, audio.size());
  }
}

TEST(AudioLocator, TagsOnlyLeaveNoAudio) {
  const auto tag = devicetest::Id3v2Tag(devicetest::Id3v2TextFrame("TIT2", "x"));
  device::AudioLocation at;
  EXPECT_EQ(Locate(tag, at), device::AudioSearch::kNoAudio);
  EXPECT_EQ(Locate(Concat({tag, devicetest::Id3v1Tag("t", "a", "b", 1)}), at), device::AudioSearch::kNoAudio);
  EXPECT_EQ(at.size, 0u);
}

TEST(AudioLocator, TagLongerThanTheFileIsRejected) {
  auto tag = devicetest::Id3v2Tag(std::vector<uint8_t>(20, 0));
  tag.resize(tag.size() - 1);
  device::AudioLocation at;
  EXPECT_EQ(Locate(Concat({tag, std::vector<uint8_t>(0)}), at), device::AudioSearch::kRejected);
}

TEST(AudioLocator, RiffWrapperGivesTheDataChunk) {
  const auto audio = Frames(kMpeg1Layer3, 2, 0x55);
  for (const char* form : {"WAVE", "RMP3"}) {
    for (bool odd : {false, true}) {
      const auto file = devicetest::RiffFile(form, 0x55, audio, odd);
      device::AudioLocation at;
      ASSERT_EQ(Locate(file, at), device::AudioSearch::kFound) << form << odd;
      EXPECT_EQ(at.offset, file.size() - audio.size());
      EXPECT_EQ(at.size, audio.size());
    }
  }
}

TEST(AudioLocator, RiffDataChunkLongerThanTheFileIsCut) {
  const auto audio = Frames(kMpeg1Layer3, 2, 0x55);
  auto file = devicetest::RiffFile("WAVE", 0x55, audio);
  file.resize(file.size() - 100);
  device::AudioLocation at;
  ASSERT_EQ(Locate(file, at), device::AudioSearch::kFound);
  EXPECT_EQ(at.size, audio.size() - 100);
}

TEST(AudioLocator, RiffThatIsNotMpegIsRejected) {
  const auto audio = Frames(kMpeg1Layer3, 2, 0x55);
  device::AudioLocation at;
  EXPECT_EQ(Locate(devicetest::RiffFile("AVI ", 0x55, audio), at), device::AudioSearch::kRejected);
  EXPECT_EQ(Locate(devicetest::RiffFile("WAVE", 0x01, audio), at), device::AudioSearch::kRejected);
  // No "data" chunk: the walk runs out of bytes.
  auto noData = devicetest::RiffFile("WAVE", 0x55, {});
  noData.resize(noData.size() - 8);
  EXPECT_EQ(Locate(noData, at), device::AudioSearch::kRejected);
}

TEST(AudioLocator, ShortRemaindersFollowTheFourByteRule) {
  const auto header = testsupport::MakeHeader(kMpeg1Layer3);
  const std::vector<uint8_t> four(header.begin(), header.end());
  device::AudioLocation at;
  ASSERT_EQ(Locate(four, at), device::AudioSearch::kFound);
  EXPECT_EQ(at.size, 4u);
  EXPECT_EQ(Locate({0xFF, 0xFB, 0x90}, at), device::AudioSearch::kRejected);
  EXPECT_EQ(Locate({0x00, 0x00, 0x00, 0x00}, at), device::AudioSearch::kRejected);
  // One whole frame alone has nothing to confirm it.
  EXPECT_EQ(Locate(Frames(kMpeg1Layer3, 1, 0x55), at), device::AudioSearch::kRejected);
}

}  // namespace
