// CIPACWrap::Transfer against the simulated player: the stored track byte
// for byte, progress, cancelling, every injected failure, disconnection.
#include <gtest/gtest.h>

#include "device/ipac_wrap.h"
#include "tests/device/mp3_files.h"
#include "tests/device/standin_player.h"

namespace {

using devicetest::Frames;
using devicetest::StandInPlayer;
using testsupport::Concat;
using testsupport::FrameSpec;

void PutBe32(std::vector<uint8_t>& v, uint32_t n) {
  for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(n >> s));
}

// The 3,072-byte tag of a new track, built from the layout rules.
std::vector<uint8_t> ExpectedTag(const std::u16string& title, const std::u16string& artist,
                                 const std::u16string& album, const std::u16string& genre) {
  std::vector<uint8_t> t = {'k', 'v', 'x', 0x03, 0x00, 0x00, 0x00, 0x00, 0x17, 0x76};
  for (auto [id, text] : {std::pair{"TIT2", &title}, {"TPE1", &artist}, {"TALB", &album}, {"TCON", &genre}}) {
    t.insert(t.end(), id, id + 4);
    PutBe32(t, static_cast<uint32_t>(1 + 2 * text->size()));
    t.insert(t.end(), {0x00, 0x00, 0x02});
    for (char16_t c : *text)
      t.insert(t.end(), {static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c & 0xFF)});
  }
  t.resize(3072, 0);
  return t;
}

std::vector<uint8_t> ExpectedHeader(std::array<uint8_t, 4> codec, uint32_t ms, uint32_t frames) {
  std::vector<uint8_t> h = {'k', 'v', 'x', 0x02, 0x00, 0x60, 0xFF, 0xFE};
  h.resize(32, 0);
  h.insert(h.end(), codec.begin(), codec.end());
  PutBe32(h, ms);
  PutBe32(h, frames);
  h.resize(96, 0);
  return h;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, size_t from, size_t n) {
  return std::vector<uint8_t>(v.begin() + from, v.begin() + std::min(v.size(), from + n));
}

// Audio of exactly n bytes: frames cut to the length.
std::vector<uint8_t> AudioOf(size_t n) {
  auto audio = Frames(FrameSpec{}, n / 417 + 1, 0x55);
  audio.resize(n, 0x55);
  return audio;
}

class TransferTest : public ::testing::Test {
 protected:
  // Asserts that no trace of an unfinished track is left.
  void expectNoTrack(StandInPlayer& p, uint32_t album) {
    EXPECT_TRUE(p.tracks(album).empty());
    EXPECT_TRUE(p.trackFiles().empty());
    p.expectClean();
  }
};

struct StoredCase {
  const char* name;
  std::vector<FrameSpec> runs;  // one run of frames per layout
  size_t framesPerRun;
  int wrapper;  // 0 none, 1 ID3v2 + ID3v1, 2 ID3v2 with footer, 3 RIFF WAVE, 4 RIFF RMP3, 5 ID3v2.4
  std::array<uint8_t, 4> codec;
  uint32_t ms;
};

TEST_F(TransferTest, StoredTrackIsTagHeaderAndTheSourceFrames) {
  const StoredCase cases[] = {
      {"mpeg1-l3-128", {testsupport::FrameLayout(1, 3, 9)}, 1000, 0, {0x03, 0x80, 0xD9, 0x00}, 26122},
      {"mpeg2-l3-64-joint",
       {testsupport::FrameLayout(2, 3, 8, 0, 0, 1)},
       300,
       1,
       {0x03, 0x80, 0x98, 0x10},
       7836},
      {"mpeg25-l3-32-mono",
       {testsupport::FrameLayout(3, 3, 4, 0, 0, 3)},
       100,
       2,
       {0x03, 0x80, 0x14, 0x30},
       5224},
      {"mpeg1-l1-128", {testsupport::FrameLayout(1, 1, 4)}, 700, 3, {0x03, 0x80, 0xF4, 0x00}, 6095},
      {"mpeg1-l2-192-dual",
       {testsupport::FrameLayout(1, 2, 10, 0, 0, 2)},
       400,
       4,
       {0x03, 0x80, 0xEA, 0x20},
       10448},
      {"vbr-128-320",
       {testsupport::FrameLayout(1, 3, 9), testsupport::FrameLayout(1, 3, 14)},
       100,
       5,
       {0x03, 0x90, 0xDE, 0x00},
       5224},
  };
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"Album");
  const std::u16string title = u"Caf\u00e9 \u6771\u4eac", artist = u"Artist", albumText = u"Disc",
                       genre = u"Rock";
  for (const StoredCase& c : cases) {
    std::vector<uint8_t> audio;
    uint8_t fill = 0x21;
    for (const FrameSpec& s : c.runs) testsupport::Append(audio, Frames(s, c.framesPerRun, fill++));
    std::vector<uint8_t> file;
    const auto tag =
        devicetest::Id3v2Tag(devicetest::Id3v2TextFrame("TIT2", "x"), c.wrapper == 2, c.wrapper == 5 ? 4 : 3);
    switch (c.wrapper) {
      case 0:
        file = audio;
        break;
      case 1:
        file = Concat({tag, audio, devicetest::Id3v1Tag("t", "a", "b", 1)});
        break;
      case 2:
      case 5:
        file = Concat({tag, audio});
        break;
      case 3:
        file = devicetest::RiffFile("WAVE", 0x55, audio);
        break;
      case 4:
        file = devicetest::RiffFile("RMP3", 0x55, audio, true);
        break;
    }
    const auto job =
        p.job(p.writeSource(std::string(c.name) + ".mp3", file), title, artist, albumText, genre, 4321);
    ASSERT_EQ(p.transfer(job, album), S_OK) << c.name;
    const uint32_t eid = p.tracks(album).back().eid;
    EXPECT_EQ(p.lastNewTrackEid, eid) << c.name;  // the new track's EID comes out of the transfer
    const auto stored = p.trackBytes(eid);
    ASSERT_EQ(stored.size(), 3072 + 96 + audio.size()) << c.name;
    EXPECT_EQ(Slice(stored, 0, 3072), ExpectedTag(title, artist, albumText, genre)) << c.name;
    const uint32_t frames = static_cast<uint32_t>(c.runs.size() * c.framesPerRun);
    EXPECT_EQ(Slice(stored, 3072, 96), ExpectedHeader(c.codec, c.ms, frames)) << c.name;
    EXPECT_TRUE(Slice(stored, 3168, audio.size()) == audio) << c.name;
    EXPECT_EQ(p.state().lastExportTotal, audio.size() + 192) << c.name;
  }
  const auto tracks = p.tracks(album);
  ASSERT_EQ(tracks.size(), 6u);
  EXPECT_EQ(tracks[0].title, title);
  EXPECT_EQ(tracks[0].artist, artist);
  EXPECT_EQ(tracks[0].album, albumText);
  EXPECT_EQ(tracks[0].genre, genre);
  EXPECT_EQ(tracks[0].playTimeMs, 4321);
  const standin::PlayerStore store = p.stored();
  const auto& props = store.tracks().at(tracks[0].eid).properties;
  EXPECT_EQ(std::get<std::vector<uint8_t>>(props.at(device::kPropHeaderBytes)), std::vector<uint8_t>(24, 0));
  EXPECT_EQ(std::get<uint32_t>(props.at(device::kPropTrackFlags)), 0xFFFEu);
  EXPECT_EQ(std::get<uint32_t>(props.at(device::kPropTrackNumber)), 1u);
  p.expectClean();
}

TEST_F(TransferTest, PlayerFolderOutsideTheAnsiCodePageGetsItsTag) {
  StandInPlayer p("", true, u"\u64ad\u653e\u5668");
  const uint32_t album = p.createAlbum(u"A");
  const auto audio = Frames(testsupport::FrameLayout(1, 3, 9), 20, 0x44);
  ASSERT_EQ(p.transfer(p.job(p.writeSource("a.mp3", audio)), album), S_OK);
  const auto stored = p.trackBytes(p.tracks(album).at(0).eid);
  EXPECT_EQ(Slice(stored, 0, 3072), ExpectedTag(u"Title", u"Artist", u"Album", u"Genre"));
  EXPECT_TRUE(Slice(stored, 3168, audio.size()) == audio);
  p.expectClean();
}

TEST_F(TransferTest, AnalysedFileCarriesItsTagTexts) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  std::vector<uint8_t> body;
  for (auto [id, text] :
       {std::pair{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Record"}, {"TCON", "(17)"}}) {
    testsupport::Append(body, devicetest::Id3v2TextFrame(id, text));
  }
  const auto audio = Frames(testsupport::FrameLayout(2, 3, 8), 300, 0x33);
  const auto path = p.writeSource("tagged.mp3", Concat({devicetest::Id3v2Tag(body), audio}));
  mp3::TrackInfo info;
  ASSERT_TRUE(p.wrap().CheckValidity(path, info));
  ASSERT_EQ(p.transfer(info, album), S_OK);
  const auto stored = p.trackBytes(p.tracks(album).at(0).eid);
  EXPECT_EQ(Slice(stored, 0, 3072), ExpectedTag(u"Song", u"Band", u"Record", u"Rock"));
  EXPECT_TRUE(Slice(stored, 3168, audio.size()) == audio);
  // The analyser's duration: 300 frames of 208 bytes at 64 kbit/s, 26 ms each.
  EXPECT_EQ(p.tracks(album).at(0).playTimeMs, 7800);
  p.expectClean();
}

TEST_F(TransferTest, ProgressThroughTheChunks) {
  struct Case {
    size_t audio;
    std::vector<uint32_t> percents;
  };
  const Case cases[] = {
      {0, {10, 70, 80, 100}},
      {65536, {10, 69, 70, 80, 100}},
      {65537, {10, 69, 69, 70, 80, 100}},
      {200000, {10, 29, 49, 68, 69, 70, 80, 100}},
  };
  for (const Case& c : cases) {
    StandInPlayer p;
    const uint32_t album = p.createAlbum(u"A");
    const auto file =
        c.audio ? AudioOf(c.audio) : devicetest::Id3v2Tag(devicetest::Id3v2TextFrame("TIT2", "x"));
    auto job = p.job(p.writeSource("a.mp3", file));
    job.number = 7;
    ASSERT_EQ(p.transfer(job, album), S_OK) << c.audio;
    EXPECT_EQ(p.events().percents, c.percents) << c.audio;
    EXPECT_EQ(p.events().sequences, std::vector<uint32_t>(c.percents.size(), 7u));
    EXPECT_EQ(p.events().pastCancel, 1);
    EXPECT_EQ(p.state().lastExportTotal, c.audio + 192);
    const auto stored = p.trackBytes(p.tracks(album).at(0).eid);
    EXPECT_EQ(stored.size(), 3072 + 96 + c.audio);
    p.expectClean();
  }
}

TEST_F(TransferTest, CancelBetweenChunksLeavesNoTrackAndTheNextStartsClean) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  const auto source = p.writeSource("big.mp3", AudioOf(300000));
  bool cancel = false;
  p.wrap().SetCancelQuery([&] { return cancel; });
  p.events().onProgress = [&](uint32_t percent) { cancel = cancel || percent > 10; };
  EXPECT_EQ(p.transfer(p.job(source), album), S_FALSE);
  EXPECT_EQ(p.events().percents, (std::vector<uint32_t>{10, 23}));
  EXPECT_EQ(p.lastNewTrackEid, 0u);
  expectNoTrack(p, album);
  EXPECT_NE(p.log().find("discarded: cancelled"), std::string::npos);
  // The user's file is let go at once, not at the next transfer.
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::remove(source, ec)) << ec.message();

  cancel = false;
  p.events().onProgress = nullptr;
  const auto audio = Frames(testsupport::FrameLayout(1, 3, 9), 50, 0x44);
  ASSERT_EQ(p.transfer(p.job(p.writeSource("small.mp3", audio)), album), S_OK);
  const auto stored = p.trackBytes(p.tracks(album).at(0).eid);
  EXPECT_EQ(Slice(stored, 3072, 96), ExpectedHeader({0x03, 0x80, 0xD9, 0x00}, 1306, 50));
  EXPECT_TRUE(Slice(stored, 3168, audio.size()) == audio);
  p.expectClean();
}

// Once the track is committed it is the player's: a cancel seen while the
// player files it away ends the wait and the track is reported as stored.
// Before the commit a cancel still abandons it; a vanished device always
// ends the transfer with 1.
TEST_F(TransferTest, CancelAroundTheCommitNeverSplitsPlayerAndResult) {
  {
    StandInPlayer p("commit-delay-ms = 400\n");
    const uint32_t album = p.createAlbum(u"A");
    bool cancel = false;
    p.wrap().SetCancelQuery([&] { return cancel; });
    p.events().onProgress = [&](uint32_t percent) { cancel = cancel || percent == 100; };
    EXPECT_EQ(p.transfer(p.job(p.writeSource("a.mp3", AudioOf(5000)), u"Kept"), album), S_OK);
    ASSERT_EQ(p.tracks(album).size(), 1u);
    EXPECT_EQ(p.tracks(album)[0].title, u"Kept");
    EXPECT_EQ(p.events().pastCancel, 1);
    p.expectClean();
  }
  {
    // A press taken just as the transfer reaches the point of no return.
    StandInPlayer p("commit-delay-ms = 400\n");
    const uint32_t album = p.createAlbum(u"A");
    bool cancel = false;
    p.wrap().SetCancelQuery([&] { return cancel; });
    p.events().onPastCancel = [&] { cancel = true; };
    EXPECT_EQ(p.transfer(p.job(p.writeSource("a.mp3", AudioOf(5000))), album), S_FALSE);
    expectNoTrack(p, album);
  }
  {
    StandInPlayer p("commit-delay-ms = 400\ndisconnect-at-poll = 2\n");  // Initialize polled once
    const uint32_t album = p.createAlbum(u"A");
    p.events().onProgress = [&](uint32_t percent) {
      if (percent == 100) p.wrap().CheckConnectivity();
    };
    EXPECT_EQ(p.wrap().StartTransaction(), S_OK);
    EXPECT_EQ(p.wrap().Transfer(p.job(p.writeSource("a.mp3", AudioOf(5000))), album, device::kPlaceInto),
              S_FALSE);
  }
}

TEST_F(TransferTest, CancelBeforeTheStartTouchesNothing) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  p.wrap().SetCancelQuery([] { return true; });
  const ULONG before = p.state().transactionsStarted;
  EXPECT_EQ(p.transfer(p.job(p.writeSource("a.mp3", AudioOf(1000))), album), S_FALSE);
  EXPECT_TRUE(p.events().percents.empty());
  EXPECT_EQ(p.state().transactionsStarted - before, 1u);
  expectNoTrack(p, album);
}

TEST_F(TransferTest, EveryInjectedFailureGivesItsResultAndLeavesNoHalfTrack) {
  struct Case {
    const char* settings;
    HRESULT expected;
  };
  // Three chunks of audio: WriteExportData calls are 1 opening header, 2-4
  // chunks, 5 closing header; GetOperationProgress 1 after the header,
  // 2-4 after the chunks, 5 after the closing header, 6 after the end.
  const Case cases[] = {
      {"fail = StartExportOperation 1 0x80070070\n", E_FAIL},
      {"fail = GetProperties 1 0x80004005\n", E_FAIL},
      {"fail = GetProperties 1 0x8007000E\n", E_OUTOFMEMORY},
      {"fail = WriteExportData 1 0x8007001F\n", static_cast<HRESULT>(0x8007001F)},
      {"fail = WriteExportData 3 0x8007001F\n", static_cast<HRESULT>(0x8007001F)},
      {"fail = WriteExportData 3 0x80004005\nfail = WriteExportData 4 0x80004005\n", E_FAIL},
      {"fail = WriteExportData 5 0x8007001F\n", static_cast<HRESULT>(0x8007001F)},
      {"fail = GetOperationProgress 1 0x8007001F\n", static_cast<HRESULT>(0x8007001F)},
      {"fail = GetOperationProgress 3 0x80004005\n", E_FAIL},
      {"fail = GetOperationProgress 5 0x80004005\n", E_FAIL},
      {"fail = EndExportOperation 1 0x8007001F\n", static_cast<HRESULT>(0x8007001F)},
      {"fail = GetCurrentOperation 1 0x8007001F\n", static_cast<HRESULT>(0x8007001F)},
  };
  for (const Case& c : cases) {
    StandInPlayer p(c.settings);
    const uint32_t album = p.createAlbum(u"A");
    const auto source = p.writeSource("a.mp3", AudioOf(140000));
    EXPECT_EQ(p.transfer(p.job(source), album), c.expected) << c.settings;
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::remove(source, ec)) << c.settings << ": the source is still held open";
    if (std::string(c.settings).find("GetCurrentOperation") != std::string::npos) {
      // The track was committed before the wait failed: it stays, whole.
      EXPECT_EQ(p.tracks(album).size(), 1u);
      p.expectClean();
      continue;
    }
    expectNoTrack(p, album);
    EXPECT_EQ(p.state().injectedFaults,
              std::string(c.settings).find("\nfail") != std::string::npos ? 2u : 1u);
  }
}

TEST_F(TransferTest, ChunkWriteThatFailsPlainlyIsRetriedOnce) {
  StandInPlayer p("fail = WriteExportData 3 0x80004005\n");
  const uint32_t album = p.createAlbum(u"A");
  const auto audio = AudioOf(140000);
  ASSERT_EQ(p.transfer(p.job(p.writeSource("a.mp3", audio)), album), S_OK);
  const auto stored = p.trackBytes(p.tracks(album).at(0).eid);
  EXPECT_TRUE(Slice(stored, 3168, audio.size()) == audio);
  EXPECT_EQ(p.state().injectedFaults, 1u);
  p.expectClean();
}

TEST_F(TransferTest, RefusedPropertiesStillCommitTheTrack) {
  StandInPlayer p("fail = SetProperties 2 0x80004005\n");  // 1 names the album
  const uint32_t album = p.createAlbum(u"A");
  ASSERT_EQ(p.transfer(p.job(p.writeSource("a.mp3", AudioOf(5000))), album), S_OK);
  const auto tracks = p.tracks(album);
  ASSERT_EQ(tracks.size(), 1u);
  EXPECT_EQ(tracks[0].title, u"Unknown");
  EXPECT_EQ(Slice(p.trackBytes(tracks[0].eid), 0, 3072),
            ExpectedTag(u"Title", u"Artist", u"Album", u"Genre"));
  p.expectClean();
}

TEST_F(TransferTest, UnusableSourceFailsBeforeTheDeviceIsAsked) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  const auto riff = devicetest::RiffFile("WAVE", 0x01, AudioOf(5000));
  EXPECT_EQ(p.transfer(p.job(p.writeSource("pcm.mp3", riff)), album), E_FAIL);
  EXPECT_EQ(p.transfer(p.job(p.dir() / "missing.mp3"), album), E_FAIL);
  EXPECT_EQ(p.state().lastExportTotal, 0u);
  expectNoTrack(p, album);
}

TEST_F(TransferTest, FullMediumRefusesTheExport) {
  StandInPlayer p("medium-full = 1\n");
  const uint32_t album = p.createAlbum(u"A");
  EXPECT_EQ(p.transfer(p.job(p.writeSource("a.mp3", AudioOf(5000))), album), E_FAIL);
  expectNoTrack(p, album);
  EXPECT_NE(p.log().find("medium full"), std::string::npos);
}

TEST_F(TransferTest, ZeroProgressTotalIsNeverDividedBy) {
  StandInPlayer p("zero-progress-total = 1\n");
  const uint32_t album = p.createAlbum(u"A");
  ASSERT_EQ(p.transfer(p.job(p.writeSource("a.mp3", AudioOf(140000))), album), S_OK);
  EXPECT_EQ(p.events().percents, (std::vector<uint32_t>{10, 10, 10, 10, 70, 80, 100}));
  EXPECT_EQ(p.tracks(album).size(), 1u);
  p.expectClean();
}

TEST_F(TransferTest, DisconnectionDuringATransferStopsItAndLeavesNoTrack) {
  StandInPlayer p("disconnect-at-poll = 2\n");  // Initialize polls once
  const uint32_t album = p.createAlbum(u"A");
  p.events().onProgress = [&](uint32_t percent) {
    if (percent > 10) p.wrap().CheckConnectivity();  // the connectivity thread's poll
  };
  EXPECT_EQ(p.wrap().StartTransaction(), S_OK);
  EXPECT_EQ(p.wrap().Transfer(p.job(p.writeSource("a.mp3", AudioOf(300000))), album, device::kPlaceInto),
            S_FALSE);
  EXPECT_EQ(p.events().percents.size(), 2u);
  EXPECT_EQ(p.state().disconnected, 1u);
  // The gone device cannot be asked to cancel; once the library goes, so
  // does the export.
  p.release();
  EXPECT_TRUE(p.trackFiles().empty());
  EXPECT_TRUE(p.stored().tracks().empty());
}

TEST_F(TransferTest, PlayerGoneBeforeTheStartFailsTheStart) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  std::string settings = "disconnect-at-poll = 1\n";
  testsupport::WriteFile(p.folder() / "settings.ini", settings);
  device::CIPACWrap other;
  ASSERT_EQ(other.Initialize(nullptr, L"c:\\temp", L"c:\\temp"), S_OK);
  EXPECT_FALSE(other.IsConnected());
  EXPECT_EQ(other.Transfer(p.job(p.writeSource("a.mp3", AudioOf(1000))), album, device::kPlaceInto), E_FAIL);
}

}  // namespace
