#include "device/fringe_data.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

mp3::TrackInfo Job() {
  mp3::TrackInfo job;
  job.wideTitle = u"T";
  job.wideArtist = u"A";
  job.wideAlbum = u"B";
  job.wideGenre = u"G";
  return job;
}

std::vector<uint8_t> TextFrame(const char* id, char16_t c) {
  return {static_cast<uint8_t>(id[0]),
          static_cast<uint8_t>(id[1]),
          static_cast<uint8_t>(id[2]),
          static_cast<uint8_t>(id[3]),
          0,
          0,
          0,
          3,
          0,
          0,
          0x02,
          0x00,
          static_cast<uint8_t>(c)};
}

TEST(WriteFringeData, NewTrackGetsTheFullSizeTagInTheLsiOrder) {
  testsupport::TempDir dir;
  const auto path = dir / "track.kvx";
  ASSERT_EQ(device::WriteFringeData(path, Job(), nullptr), hr::kOk);
  const auto bytes = testsupport::ReadFile(path);
  ASSERT_EQ(bytes.size(), 3072u);
  const std::vector<uint8_t> head = {'k', 'v', 'x', 0x03, 0x00, 0x00, 0x00, 0x00, 0x17, 0x76};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10), head);
  std::vector<uint8_t> frames;
  for (auto [id, c] : {std::pair{"TIT2", u'T'}, {"TPE1", u'A'}, {"TALB", u'B'}, {"TCON", u'G'}}) {
    const auto f = TextFrame(id, c);
    frames.insert(frames.end(), f.begin(), f.end());
  }
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 10, bytes.begin() + 10 + 52), frames);
  EXPECT_TRUE(std::all_of(bytes.begin() + 62, bytes.end(), [](uint8_t b) { return b == 0; }));
}

TEST(WriteFringeData, StopWritesNoText) {
  testsupport::TempDir dir;
  for (int stopAt : {1, 2, 4, 5}) {
    const auto path = dir / ("stop" + std::to_string(stopAt) + ".kvx");
    int asked = 0;
    const HRESULT h = device::WriteFringeData(path, Job(), [&] { return ++asked == stopAt; });
    EXPECT_EQ(h, hr::kFalse) << stopAt;
    // A new file is created only when its tag is complete.
    EXPECT_FALSE(std::filesystem::exists(path)) << stopAt;
  }
}

}  // namespace
