#include "tools/playertool/track_file_check.h"

#include <gtest/gtest.h>

#include "stand-ins/device_access/player_store.h"
#include "tests/support/mpeg_stream_builder.h"
#include "tests/support/temp_dir.h"
#include "tools/playertool/player_check.h"

namespace {

void PutBe32(std::vector<uint8_t>& v, uint32_t n) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(n >> s));
}

std::vector<uint8_t> Tag(std::vector<const char*> ids = {"TIT2", "TPE1", "TALB", "TCON"}) {
  std::vector<uint8_t> t = {'k', 'v', 'x', 0x03, 0x00, 0x00, 0x00, 0x00, 0x17, 0x76};
  for (const char* id : ids) {
    t.insert(t.end(), id, id + 4);
    PutBe32(t, 3);
    t.insert(t.end(), {0x00, 0x00, 0x02, 0x00, 'x'});
  }
  t.resize(3072, 0);
  return t;
}

std::vector<uint8_t> Header(uint32_t ms, uint32_t frames, uint8_t codec2 = 0xD9) {
  std::vector<uint8_t> h = {'k', 'v', 'x', 0x02, 0x00, 0x60, 0xFF, 0xFE};
  h.resize(32, 0);
  h.insert(h.end(), {0x03, 0x80, codec2, 0x00});
  PutBe32(h, ms);
  PutBe32(h, frames);
  h.resize(96, 0);
  return h;
}

std::vector<std::string> Faults(const std::vector<uint8_t>& file) {
  return playertool::CheckTrackFile(file.data(), file.size()).faults;
}

const std::vector<uint8_t> kAudio = testsupport::MakeStream(testsupport::FrameSpec{}, 1000);  // 26,122 ms

TEST(TrackFileCheck, WellFormedTrackHasNoFault) {
  const auto file = testsupport::Concat({Tag(), Header(26122, 1000), kAudio});
  const auto report = playertool::CheckTrackFile(file.data(), file.size());
  EXPECT_TRUE(report.faults.empty());
  EXPECT_EQ(report.tagLength, 3072u);
  EXPECT_EQ(report.audioLength, kAudio.size());
  EXPECT_EQ(report.frames, 1000u);
  EXPECT_EQ(report.playTimeMs, 26122u);
  // A track of no audio carries zero statistics.
  auto empty = Header(0, 0, 0x00);
  EXPECT_TRUE(Faults(testsupport::Concat({Tag(), empty})).empty());
}

TEST(TrackFileCheck, StatisticsThatDoNotMatchTheAudioAreNamed) {
  EXPECT_EQ(Faults(testsupport::Concat({Tag(), Header(26122, 999), kAudio})),
            (std::vector<std::string>{"header block: 999 frames, the audio has 1000"}));
  EXPECT_EQ(Faults(testsupport::Concat({Tag(), Header(26000, 1000), kAudio})),
            (std::vector<std::string>{"header block: 26000 ms, the audio lasts 26122 ms"}));
  EXPECT_EQ(Faults(testsupport::Concat({Tag(), Header(26122, 1000, 0xD8), kAudio})),
            (std::vector<std::string>{"header block: codec bytes 03 80 D8 00, the audio gives 03 80 D9 00"}));
}

TEST(TrackFileCheck, BrokenLayoutsAreNamed) {
  EXPECT_EQ(Faults({'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0}),
            (std::vector<std::string>{"no tag: the file does not start with \"kvx\""}));
  auto shortTag = Tag();
  shortTag.resize(2000);
  EXPECT_EQ(Faults(shortTag), (std::vector<std::string>{"tag: its size runs past the end of the file"}));
  auto cut = testsupport::Concat({Tag(), Header(0, 0, 0)});
  cut.resize(3072 + 50);
  EXPECT_EQ(Faults(cut), (std::vector<std::string>{"header block: only 50 of 96 bytes"}));
  auto badMagic = Header(26122, 1000);
  badMagic[3] = 0x01;
  EXPECT_EQ(
      Faults(testsupport::Concat({Tag(), badMagic, kAudio})),
      (std::vector<std::string>{"header block: starts 6B 76 78 01 00 60 FF FE, not kvx 02 00 60 FF FE"}));
  auto reserved = Header(26122, 1000);
  reserved[20] = 1;
  EXPECT_EQ(Faults(testsupport::Concat({Tag(), reserved, kAudio})),
            (std::vector<std::string>{"header block: reserved bytes not zero"}));
  EXPECT_EQ(Faults(testsupport::Concat({Tag({"TPE1", "TIT2", "TALB", "TCON"}), Header(26122, 1000), kAudio})),
            (std::vector<std::string>{"tag: frame 1 is not TIT2"}));
  const auto junkFirst = testsupport::Concat({Tag(), Header(26122, 1000), {0x00}, kAudio});
  EXPECT_EQ(Faults(junkFirst), (std::vector<std::string>{"audio: does not start with an MPEG frame header"}));
}

TEST(PlayerCheck, IndexAndFilesMustAgree) {
  testsupport::TempDir dir;
  standin::PlayerStore store;
  std::string problem;
  ASSERT_EQ(store.open(dir.path(), problem), 0);
  const uint32_t album = store.addAlbum(store.allocateId()).id;
  const auto good = testsupport::Concat({Tag(), Header(26122, 1000), kAudio});
  for (int i = 0; i < 3; ++i) {
    standin::StoredTrack t;
    t.id = store.allocateId();
    t.fileName = standin::PlayerStore::TrackFileName(t.id);
    t.fileBytes = good.size();
    store.insertTrack(album, SIZE_MAX, t);
  }
  ASSERT_EQ(store.save(problem), 0);
  std::filesystem::create_directories(store.tracksFolder() / "00004");
  testsupport::WriteFile(store.tracksFolder() / "00004" / "track-00000257.kvx", good);
  testsupport::WriteFile(store.tracksFolder() / "00004" / "track-00000258.kvx",
                         std::vector<uint8_t>(good.begin(), good.end() - 1));
  testsupport::WriteFile(store.tracksFolder() / "stray.kvx", good);
  const playertool::PlayerCheck check = playertool::CheckPlayer(dir.path());
  EXPECT_EQ(playertool::CheckSummary(check), "check: 1 albums, 3 tracks, 3 faults");
  // The cut frame is still counted: only the size tells.
  EXPECT_EQ(check.faults,
            (std::vector<std::string>{
                "track 258 (00004/track-00000258.kvx): file holds 420167 bytes, the index says 420168",
                "track 259 (00004/track-00000259.kvx): file missing or unreadable",
                "tracks folder: stray.kvx is not in the index",
            }));
  testsupport::WriteFile(dir / standin::PlayerStore::kIndexNames[0], std::string("garbage\n"));
  EXPECT_EQ(playertool::CheckSummary(playertool::CheckPlayer(dir.path())),
            "check: 0 albums, 0 tracks, 1 faults");
}

}  // namespace
