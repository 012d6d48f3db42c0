#include "stand-ins/device_access/player_device.h"

#include <gtest/gtest.h>

#include <thread>

#include "device/property_ids.h"
#include "stand-ins/device_access/player_folder.h"
#include "stand-ins/device_access/player_store.h"
#include "stand-ins/device_access/standin_results.h"
#include "tests/support/temp_dir.h"

namespace {

using standin::PlayerDevice;
using standin::PropertyList;

const std::u16string kName = u"Orlen Player";

// A valid 96-byte header block with a marker byte.
std::vector<uint8_t> Block(uint8_t marker) {
  std::vector<uint8_t> b(96, 0);
  b[0] = 'k', b[1] = 'v', b[2] = 'x', b[3] = 2, b[5] = 0x60, b[6] = 0xFF, b[7] = 0xFE;
  b[32] = marker;
  return b;
}

class PlayerDeviceTest : public ::testing::Test {
 protected:
  // Settings go into the player folder before the player starts.
  std::unique_ptr<PlayerDevice> start(const std::string& settings = "") {
    std::filesystem::create_directories(player);
    testsupport::WriteFile(player / standin::kPlayerSettingsName, settings);
    auto d = std::make_unique<PlayerDevice>(dir.path());
    EXPECT_EQ(d->initialize(1, player.u16string()), hr::kOk);
    return d;
  }
  std::string log() { return testsupport::ReadText(player / standin::kPlayerLogName); }
  uint32_t newAlbum(PlayerDevice& d, const std::u16string& name) {
    uint32_t id = 0;
    EXPECT_EQ(d.createObject(kName, 4, 1, 4, id), hr::kOk);
    EXPECT_EQ(d.setProperties(kName, id, {{device::kPropName, name}}), hr::kOk);
    return id;
  }
  // Runs a whole export of the tag, the blocks and audio, the audio
  // written in pieces of `piece` bytes.
  uint32_t exportTrack(PlayerDevice& d, uint32_t album, const std::vector<uint8_t>& audio, size_t piece,
                       const std::string& tag = "TAGBYTES") {
    uint32_t id = 0, op = 0;
    const PropertyList props = {{device::kPropTrackNumber, uint32_t{3}},
                                {device::kPropTrackFlags, uint32_t{0xFFFE}}};
    EXPECT_EQ(d.startExport(kName, album, 4, audio.size() + 192, props, id, op), hr::kOk);

    std::vector<standin::PropertyValue> values;
    EXPECT_EQ(d.getProperties(kName, id, {device::kPropFilePath}, values), hr::kOk);
    const sys::Path file(std::get<std::u16string>(values.at(0)));
    EXPECT_FALSE(std::filesystem::exists(file));
    testsupport::WriteFile(file, tag);
    std::vector<uint8_t> stream = Block(1);
    stream.insert(stream.end(), audio.begin(), audio.end());
    const auto closing = Block(2);
    stream.insert(stream.end(), closing.begin(), closing.end());
    for (size_t at = 0; at < stream.size(); at += piece) {
      EXPECT_EQ(d.writeExport(kName, op, stream.data() + at, std::min(piece, stream.size() - at)), hr::kOk);
    }
    EXPECT_EQ(d.endExport(kName, op), hr::kOk);
    return id;
  }

  testsupport::TempDir dir;
  sys::Path player = dir / "player";
};

TEST_F(PlayerDeviceTest, TrackFileIsTagClosingBlockThenAudio) {
  auto d = start();
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  const uint32_t album = newAlbum(*d, u"Rock");
  std::vector<uint8_t> audio(1000);
  for (size_t i = 0; i < audio.size(); ++i) audio[i] = static_cast<uint8_t>(i * 7);
  for (size_t piece : {size_t{1}, size_t{50}, size_t{97}, size_t{100000}}) {
    const uint32_t id = exportTrack(*d, album, audio, piece);
    std::vector<standin::PropertyValue> values;
    ASSERT_EQ(d->getProperties(kName, id, {device::kPropFilePath}, values), hr::kOk);
    const auto bytes = testsupport::ReadFile(std::get<std::u16string>(values[0]));
    ASSERT_EQ(bytes.size(), 8u + 96 + 1000) << piece;
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "TAGBYTES");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 8, bytes.begin() + 104), Block(2));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 104, bytes.end()), audio);
  }
  uint32_t count = 0;
  EXPECT_EQ(d->getChildCount(kName, album, count), hr::kOk);
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
  EXPECT_EQ(d->state().callerErrors, 0u);
}

TEST_F(PlayerDeviceTest, StreamLongerOrShorterThanAnnouncedIsRefused) {
  auto d = start();
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  const uint32_t album = newAlbum(*d, u"A");
  uint32_t id = 0, op = 0;
  ASSERT_EQ(d->startExport(kName, album, 4, 192 + 10, {}, id, op), hr::kOk);
  const auto opening = Block(1);
  ASSERT_EQ(d->writeExport(kName, op, opening.data(), 96), hr::kOk);
  std::vector<uint8_t> tooMuch(107, 0);
  EXPECT_EQ(d->writeExport(kName, op, tooMuch.data(), tooMuch.size()), standin::kInvalidData);
  EXPECT_EQ(d->endExport(kName, op), standin::kInvalidData);  // 96 of 202 bytes
  EXPECT_TRUE(d->state().exportOpen);
  EXPECT_EQ(d->cancelOperation(kName, op), hr::kOk);
  EXPECT_FALSE(std::filesystem::exists(player / "tracks" / standin::PlayerStore::TrackFileName(id)));
  uint32_t count = 9;
  EXPECT_EQ(d->getChildCount(kName, album, count), hr::kOk);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
}

TEST_F(PlayerDeviceTest, CallerRulesAreCheckedAndLogged) {
  auto d = start();
  uint32_t count = 0;
  EXPECT_EQ(d->getChildCount(kName, 1, count), standin::kCallerError);
  EXPECT_EQ(d->endTransaction(kName), standin::kCallerError);
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  EXPECT_EQ(d->startTransaction(kName), standin::kCallerError);
  const uint32_t album = newAlbum(*d, u"A");
  uint32_t id = 0, op = 0, id2 = 0, op2 = 0;
  ASSERT_EQ(d->startExport(kName, album, 4, 192, {}, id, op), hr::kOk);
  EXPECT_EQ(d->startExport(kName, album, 4, 192, {}, id2, op2), standin::kCallerError);
  // Ending the transaction with the export open discards the export.
  EXPECT_EQ(d->endTransaction(kName), standin::kCallerError);
  EXPECT_FALSE(d->state().exportOpen);
  EXPECT_FALSE(d->state().transactionOpen);
  EXPECT_EQ(d->state().callerErrors, 5u);
  const std::string text = log();
  for (const char* line :
       {"caller error: GetChildCount outside a transaction",
        "caller error: EndTransaction without StartTransaction", "caller error: nested StartTransaction",
        "caller error: StartExportOperation while export",
        "caller error: export left open at EndTransaction"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

TEST_F(PlayerDeviceTest, AnotherThreadWaitsForTheTransaction) {
  auto d = start();
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  std::atomic<bool> got{false};
  std::thread other([&] {
    EXPECT_EQ(d->startTransaction(kName), hr::kOk);
    got = true;
    EXPECT_EQ(d->endTransaction(kName), hr::kOk);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(got.load());
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
  other.join();
  EXPECT_TRUE(got.load());
  EXPECT_EQ(d->state().transactionsStarted, 2u);
}

TEST_F(PlayerDeviceTest, NthCallFaultsAndListingAndCreationRefusals) {
  auto d = start("fail = GetChildCount 2 0x80004005\nfail = StartTransaction 3 0x8007001F\n");
  uint32_t count = 0;
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  EXPECT_EQ(d->getChildCount(kName, 1, count), hr::kOk);
  EXPECT_EQ(d->getChildCount(kName, 1, count), hr::kFail);
  EXPECT_EQ(d->getChildCount(kName, 1, count), hr::kOk);
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
  EXPECT_EQ(d->startTransaction(kName), hr::Make(0x8007001Fu));
  EXPECT_FALSE(d->state().transactionOpen);
  EXPECT_EQ(d->state().injectedFaults, 2u);
  EXPECT_NE(log().find("injected: GetChildCount call 2 -> 0x80004005"), std::string::npos);

  testsupport::TempDir other;
  player = other / "p2";
  auto refusing = start("deny-listing = 1\nalbum-creation-fails = 1\n");
  ASSERT_EQ(refusing->startTransaction(kName), hr::kOk);
  std::vector<uint32_t> kinds, second;
  EXPECT_EQ(refusing->enumMediumIds(kName, kinds, second), hr::kAccessDenied);
  uint32_t id = 0;
  EXPECT_EQ(refusing->createObject(kName, 4, 1, 4, id), hr::Make(0x8000000Au));
  EXPECT_EQ(refusing->endTransaction(kName), hr::kOk);
}

TEST_F(PlayerDeviceTest, DisconnectionFromTheNthPollOn) {
  auto d = start("disconnect-at-poll = 3\n");
  uint32_t connected = 0;
  EXPECT_EQ(d->isDeviceConnected(kName, connected), hr::kOk);
  EXPECT_EQ(connected, 1u);
  EXPECT_EQ(d->isDeviceConnected(kName, connected), hr::kOk);
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  EXPECT_EQ(d->isDeviceConnected(kName, connected), hr::kOk);
  EXPECT_EQ(connected, 0u);
  uint32_t count = 0;
  EXPECT_EQ(d->getChildCount(kName, 1, count), standin::kNotConnected);
  std::vector<std::u16string> names;
  EXPECT_EQ(d->getDeviceList(names), hr::kOk);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(d->endTransaction(kName), standin::kNotConnected);
  EXPECT_FALSE(d->state().transactionOpen);
}

TEST_F(PlayerDeviceTest, CapacityFallsAsTracksAreStoredAndAFullMediumRefusesExports) {
  auto d = start("capacity = 5000\n");
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  int64_t third = 0, freeBytes = 0, capacity = 0;
  ASSERT_EQ(d->getMediumCapacity(third, freeBytes, capacity), hr::kOk);
  EXPECT_EQ(capacity, 5000);
  EXPECT_EQ(freeBytes, 5000);
  const uint32_t album = newAlbum(*d, u"A");
  exportTrack(*d, album, std::vector<uint8_t>(1000, 0x55), 4096);
  ASSERT_EQ(d->getMediumCapacity(third, freeBytes, capacity), hr::kOk);
  EXPECT_EQ(freeBytes, 5000 - (8 + 96 + 1000));
  uint32_t id = 0, op = 0;
  EXPECT_EQ(d->startExport(kName, album, 4, 4000, {}, id, op), standin::kDiskFull);
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
}

TEST_F(PlayerDeviceTest, RemovalsAndMovesBecomeTheCurrentOperation) {
  auto d = start("operation-polls = 2\n");
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  const uint32_t a = newAlbum(*d, u"A");
  const uint32_t b = newAlbum(*d, u"B");
  const uint32_t t = exportTrack(*d, a, std::vector<uint8_t>(10, 0x55), 1000);
  uint32_t token = 0, op = 0;
  ASSERT_EQ(d->resolveObject(kName, t, token), hr::kOk);
  ASSERT_EQ(d->removeObject(kName, token), hr::kOk);
  EXPECT_EQ(d->removeObject(kName, token), hr::kInvalidArg);  // a token is used once
  ASSERT_EQ(d->getCurrentOperation(kName, op), hr::kOk);
  int64_t current = 0, total = 0;
  for (int64_t expected : {0, 0, 1}) {
    ASSERT_EQ(d->getOperationProgress(kName, op, current, total), hr::kOk);
    EXPECT_EQ(current, expected);
    EXPECT_EQ(total, 1);
  }
  std::vector<HRESULT> results;
  ASSERT_EQ(d->moveObjects(kName, a, device::kPlaceBefore, {b}, results), hr::kOk);
  std::vector<uint32_t> ids;
  ASSERT_EQ(d->getChildIds(kName, 1, {1, 2}, ids), hr::kOk);
  EXPECT_EQ(ids, (std::vector<uint32_t>{b, a}));
  EXPECT_EQ(d->getChildIds(kName, 1, {3}, ids), hr::kInvalidArg);
  ASSERT_EQ(d->deleteFolders(kName, {a, b}, results), hr::kOk);
  EXPECT_EQ(results, (std::vector<HRESULT>{hr::kOk, hr::kOk}));
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
}

TEST_F(PlayerDeviceTest, PlayerSurvivesARestartAndForgetsAnOpenExport) {
  std::vector<uint32_t> ids;
  uint32_t pendingId = 0;
  {
    auto d = start();
    ASSERT_EQ(d->startTransaction(kName), hr::kOk);
    const uint32_t a = newAlbum(*d, u"Kept");
    exportTrack(*d, a, std::vector<uint8_t>(10, 0x55), 1000);
    uint32_t op = 0;
    ASSERT_EQ(d->startExport(kName, a, 4, 300, {}, pendingId, op), hr::kOk);
    const auto opening = Block(1);
    ASSERT_EQ(d->writeExport(kName, op, opening.data(), 96), hr::kOk);
  }  // released with the export open
  auto d = start();
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  ASSERT_EQ(d->getChildIds(kName, 1, {1}, ids), hr::kOk);
  std::vector<standin::PropertyValue> values;
  ASSERT_EQ(d->getProperties(kName, ids[0], {device::kPropName, device::kPropPlayTime, 0x99}, values),
            hr::kOk);
  EXPECT_EQ(std::get<std::u16string>(values[0]), u"Kept");
  EXPECT_EQ(std::get<int64_t>(values[1]), 0);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(values[2]));
  uint32_t count = 0;
  ASSERT_EQ(d->getChildCount(kName, ids[0], count), hr::kOk);
  EXPECT_EQ(count, 1u);
  EXPECT_FALSE(std::filesystem::exists(player / "tracks" / standin::PlayerStore::TrackFileName(pendingId)));
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
}

TEST_F(PlayerDeviceTest, FilesLeftByExportsCutShortAreClearedBeforeTheirIdsComeBack) {
  uint32_t keptId = 0, cutId = 0;
  {
    auto d = start();
    ASSERT_EQ(d->startTransaction(kName), hr::kOk);
    const uint32_t album = newAlbum(*d, u"Kept");
    keptId = exportTrack(*d, album, std::vector<uint8_t>(10, 0x55), 1000);
    uint32_t op = 0;
    ASSERT_EQ(d->startExport(kName, album, 4, 300, {}, cutId, op), hr::kOk);
  }
  // What a crash in the middle of that export leaves: its file with the
  // tag written, and the file of the export after it. The index never
  // recorded either id, so both come back.
  const sys::Path tracks = player / "tracks";
  for (uint32_t id : {cutId, cutId + 1})
    testsupport::WriteFile(tracks / standin::PlayerStore::TrackFileName(id), "stale");

  auto d = start();
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  const uint32_t album = newAlbum(*d, u"Again");  // takes cutId
  ASSERT_EQ(album, cutId);
  // The player let go of both when it started: the new track's file does
  // not exist when its export starts (checked inside).
  const uint32_t id = exportTrack(*d, album, std::vector<uint8_t>(20, 0x66), 1000);
  ASSERT_EQ(id, cutId + 1);
  EXPECT_EQ(testsupport::ReadFile(tracks / standin::PlayerStore::TrackFileName(id)).size(), 8u + 96 + 20);
  EXPECT_FALSE(std::filesystem::exists(tracks / standin::PlayerStore::TrackFileName(cutId)));
  EXPECT_TRUE(std::filesystem::exists(tracks / standin::PlayerStore::TrackFileName(keptId)));
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
}

TEST_F(PlayerDeviceTest, PropertiesMustHaveTheirTypes) {
  auto d = start();
  ASSERT_EQ(d->startTransaction(kName), hr::kOk);
  const uint32_t a = newAlbum(*d, u"A");
  EXPECT_EQ(d->setProperties(kName, a, {{device::kPropName, uint32_t{1}}}), hr::kInvalidArg);
  EXPECT_EQ(d->setProperties(kName, a, {{device::kPropArtist, std::u16string(u"x")}}), hr::kInvalidArg);
  const uint32_t t = exportTrack(*d, a, std::vector<uint8_t>(10, 0x55), 1000);
  EXPECT_EQ(d->setProperties(kName, t, {{device::kPropHeaderBytes, std::vector<uint8_t>(23)}}),
            hr::kInvalidArg);
  EXPECT_EQ(d->setProperties(kName, t, {{device::kPropFilePath, std::u16string(u"x")}}), hr::kInvalidArg);
  EXPECT_EQ(d->setProperties(
                kName, t, {{device::kPropPlayTime, int64_t{5}}, {device::kPropGenre, std::u16string(u"G")}}),
            hr::kOk);
  EXPECT_EQ(d->setProperties(kName, 12345, {}), standin::kNotFound);
  EXPECT_EQ(d->endTransaction(kName), hr::kOk);
}

}  // namespace
