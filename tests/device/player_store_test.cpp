#include "stand-ins/device_access/player_store.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/property_ids.h"
#include "stand-ins/device_access/standin_results.h"
#include "tests/support/temp_dir.h"

namespace {

using standin::PlayerStore;
using standin::StoredTrack;

StoredTrack Track(PlayerStore& store, const std::u16string& title) {
  StoredTrack t;
  t.id = store.allocateId();
  t.fileName = PlayerStore::TrackFileName(t.id);
  t.fileBytes = 1000;
  t.properties[device::kPropName] = title;
  t.properties[device::kPropPlayTime] = int64_t{61000};
  t.properties[device::kPropTrackNumber] = uint32_t{7};
  t.properties[device::kPropHeaderBytes] = std::vector<uint8_t>(24, 0xA5);
  return t;
}

std::vector<uint32_t> Order(const PlayerStore& store) {
  std::vector<uint32_t> ids;
  for (const auto& a : store.albums()) ids.push_back(a.id);
  return ids;
}

class PlayerStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(store.open(dir.path(), problem), hr::kOk); }
  // A new track inserted at `at` in the album and recorded as the stand-in
  // records an added track; its identifier.
  uint32_t AddSavedTrack(uint32_t album, size_t at, const std::u16string& title) {
    StoredTrack t = Track(store, title);
    const uint32_t id = t.id;
    store.insertTrack(album, at, std::move(t));
    EXPECT_EQ(store.saveAddedTrack(id, problem), hr::kOk) << problem;
    return id;
  }
  testsupport::TempDir dir;
  PlayerStore store;
  std::string problem;
};

TEST_F(PlayerStoreTest, IndexSurvivesARestartWithEveryValueKind) {
  auto& album = store.addAlbum(store.allocateId());
  album.properties[device::kPropName] = std::u16string(u"Rock % = \u00e9t\u00e9 \u4e2d\n");
  const uint32_t albumId = album.id;
  store.insertTrack(albumId, 0, Track(store, u"one"));
  store.insertTrack(albumId, 0, Track(store, u"two"));
  ASSERT_EQ(store.save(problem), hr::kOk);

  PlayerStore again;
  ASSERT_EQ(again.open(dir.path(), problem), hr::kOk) << problem;
  EXPECT_EQ(again.indexText(), store.indexText());
  ASSERT_EQ(again.albums().size(), 1u);
  EXPECT_EQ(std::get<std::u16string>(again.albums()[0].properties.at(device::kPropName)),
            u"Rock % = \u00e9t\u00e9 \u4e2d\n");
  EXPECT_EQ(again.albums()[0].tracks, (std::vector<uint32_t>{258, 257}));
  EXPECT_EQ(again.albumPlayTime(again.albums()[0]), 122000);
  EXPECT_EQ(again.usedBytes(), 2000u);
  EXPECT_EQ(again.allocateId(), 259u);
}

TEST_F(PlayerStoreTest, IncompleteOrDamagedIndexIsRefused) {
  store.addAlbum(store.allocateId());
  ASSERT_EQ(store.save(problem), hr::kOk);
  const std::string text = store.indexText();
  PlayerStore probe;
  EXPECT_TRUE(probe.parseIndex(text + "left from a longer index\n", problem));
  const size_t endLine = text.rfind("end ");
  EXPECT_FALSE(probe.parseIndex(text.substr(0, endLine), problem));
  EXPECT_EQ(problem, "index line 4: no end line: the index is incomplete");
  EXPECT_FALSE(probe.parseIndex(text.substr(0, text.size() - 1), problem));
  std::string changed = text;
  changed[text.find("album 256") + 6] = '7';
  EXPECT_FALSE(probe.parseIndex(changed, problem));
  EXPECT_EQ(problem, "index line 5: the text does not match its hash");
  EXPECT_FALSE(probe.parseIndex("pellmark-player-index 2\nnext-id 300\ntrack 257 256 f 1\n", problem));
  EXPECT_EQ(problem, "index line 3: track outside its album");
  EXPECT_FALSE(probe.parseIndex("pellmark-player-index 2\nnext-id 300\nalbum 256 10001=q:x\n", problem));
  EXPECT_EQ(problem, "index line 3: bad album");
}

TEST_F(PlayerStoreTest, SavesTakeTurnsAndATornSaveLeavesThePreviousIndex) {
  const uint32_t a = store.addAlbum(store.allocateId()).id;
  ASSERT_EQ(store.save(problem), hr::kOk);  // generation 1, first file
  store.album(a)->properties[device::kPropName] = std::u16string(u"second");
  ASSERT_EQ(store.save(problem), hr::kOk);  // generation 2, second file
  EXPECT_EQ(store.generation(), 2u);
  const std::string second = testsupport::ReadText(dir / PlayerStore::kIndexNames[1]);
  // A third save cut short in the first file.
  store.addAlbum(store.allocateId());
  testsupport::WriteFile(dir / PlayerStore::kIndexNames[0], store.indexText().substr(0, 60));
  PlayerStore again;
  ASSERT_EQ(again.open(dir.path(), problem), hr::kOk) << problem;
  EXPECT_EQ(again.generation(), 2u);
  ASSERT_EQ(again.albums().size(), 1u);
  EXPECT_EQ(std::get<std::u16string>(again.albums()[0].properties.at(device::kPropName)), u"second");
  // The next save goes over the torn file and is the one read afterwards.
  again.addAlbum(again.allocateId());
  ASSERT_EQ(again.save(problem), hr::kOk);
  EXPECT_EQ(testsupport::ReadText(dir / PlayerStore::kIndexNames[1]), second);
  PlayerStore third;
  ASSERT_EQ(third.load(dir.path(), problem), hr::kOk);
  EXPECT_EQ(third.generation(), 3u);
  EXPECT_EQ(third.albums().size(), 2u);
  // With both files unreadable the player cannot be opened.
  testsupport::WriteFile(dir / PlayerStore::kIndexNames[0], std::string("x"));
  testsupport::WriteFile(dir / PlayerStore::kIndexNames[1], std::string("y"));
  EXPECT_EQ(third.load(dir.path(), problem), hr::kFail);
  EXPECT_EQ(problem, "index-1.txt: not a player index");
}

TEST_F(PlayerStoreTest, OpeningRemovesWhatAnInterruptedRunLeft) {
  const uint32_t albumId = store.addAlbum(store.allocateId()).id;
  store.insertTrack(albumId, 0, Track(store, u"kept"));
  ASSERT_EQ(store.save(problem), hr::kOk);
  const sys::Path kept = store.trackPath(store.tracks().begin()->second);
  std::filesystem::create_directories(kept.parent_path());
  testsupport::WriteFile(store.tracksFolder() / "track-00000999.kvx", std::string("half"));
  testsupport::WriteFile(kept.parent_path() / "track-00000300.kvx", std::string("half"));
  testsupport::WriteFile(kept, std::string("whole"));
  PlayerStore again;
  ASSERT_EQ(again.open(dir.path(), problem), hr::kOk);
  EXPECT_EQ(PlayerStore::FilesInTracksFolder(again.tracksFolder()),
            std::vector<std::string>{PlayerStore::TrackFileName(257)});
  EXPECT_EQ(PlayerStore::TrackFileName(257), "00004/track-00000257.kvx");
}

TEST_F(PlayerStoreTest, AlbumsMoveBeforeAndAfterTheReference) {
  for (int i = 0; i < 4; ++i) store.addAlbum(store.allocateId());  // 256..259
  std::vector<HRESULT> results;
  store.move(256, device::kPlaceAfter, {259, 257}, results);
  EXPECT_EQ(Order(store), (std::vector<uint32_t>{256, 259, 257, 258}));
  EXPECT_EQ(results, (std::vector<HRESULT>{hr::kOk, hr::kOk}));
  store.move(256, device::kPlaceBefore, {258}, results);
  EXPECT_EQ(Order(store), (std::vector<uint32_t>{258, 256, 259, 257}));
  // Albums cannot go into an album; unknown items are refused one by one.
  store.move(256, device::kPlaceInto, {257}, results);
  EXPECT_EQ(results, (std::vector<HRESULT>{hr::kInvalidArg}));
  store.move(256, device::kPlaceAfter, {999, 257}, results);
  EXPECT_EQ(results, (std::vector<HRESULT>{hr::kInvalidArg, hr::kOk}));
  EXPECT_EQ(Order(store), (std::vector<uint32_t>{258, 256, 257, 259}));
}

TEST_F(PlayerStoreTest, TracksMoveWithinAndBetweenAlbums) {
  const uint32_t a = store.addAlbum(store.allocateId()).id;                        // 256
  const uint32_t b = store.addAlbum(store.allocateId()).id;                        // 257
  for (int i = 0; i < 3; ++i) store.insertTrack(a, SIZE_MAX, Track(store, u"t"));  // 258..260
  store.insertTrack(b, SIZE_MAX, Track(store, u"u"));                              // 261
  std::vector<HRESULT> results;
  store.move(258, device::kPlaceBefore, {260}, results);
  EXPECT_EQ(store.album(a)->tracks, (std::vector<uint32_t>{260, 258, 259}));
  store.move(261, device::kPlaceAfter, {258, 259}, results);
  EXPECT_EQ(store.album(a)->tracks, (std::vector<uint32_t>{260}));
  EXPECT_EQ(store.album(b)->tracks, (std::vector<uint32_t>{261, 258, 259}));
  store.move(a, device::kPlaceInto, {261}, results);
  EXPECT_EQ(store.album(a)->tracks, (std::vector<uint32_t>{260, 261}));
  EXPECT_EQ(store.albumOf(261), a);
  // A track cannot be placed beside an album.
  store.move(b, device::kPlaceAfter, {260}, results);
  EXPECT_EQ(results, (std::vector<HRESULT>{hr::kInvalidArg}));
}

TEST_F(PlayerStoreTest, OnlyEmptyAlbumsGoAndTrackRemovalDeletesTheFile) {
  const uint32_t a = store.addAlbum(store.allocateId()).id;
  store.insertTrack(a, 0, Track(store, u"t"));
  const auto file = store.trackPath(store.tracks().begin()->second);
  std::filesystem::create_directories(file.parent_path());
  testsupport::WriteFile(file, std::string("x"));
  EXPECT_EQ(store.removeAlbum(a), standin::kNotEmpty);
  EXPECT_TRUE(store.removeTrack(257));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(store.removeAlbum(a), hr::kOk);
  EXPECT_EQ(store.removeAlbum(a), standin::kNotFound);
}

// Everyday changes go into the journal: a restart sees them, in order, on
// top of the index they extend, and the index files stay as they were.
TEST_F(PlayerStoreTest, JournalledChangesSurviveARestartWithoutRewritingTheIndex) {
  const uint32_t a = store.addAlbum(store.allocateId()).id;
  ASSERT_EQ(store.saveAddedAlbum(a, problem), hr::kOk);  // a new player: the first change writes an index
  const uint64_t generation = store.generation();
  const std::string index = testsupport::ReadText(dir.path() / PlayerStore::kIndexNames[0]);

  const uint32_t b = store.addAlbum(store.allocateId()).id;
  store.album(b)->properties[device::kPropName] = std::u16string(u"B = 100%");
  ASSERT_EQ(store.saveAddedAlbum(b, problem), hr::kOk);
  const uint32_t firstId = AddSavedTrack(a, SIZE_MAX, u"first");
  const uint32_t headId = AddSavedTrack(a, 0, u"head");  // placed before the album's tracks
  store.allocateId();  // an export that never ended: the next change records its number as used
  store.track(firstId)->properties[device::kPropArtist] = std::u16string(u"someone");
  ASSERT_EQ(store.saveProperties(firstId, problem), hr::kOk);

  EXPECT_EQ(store.generation(), generation);
  EXPECT_GT(store.journalBytes(), 0u);
  EXPECT_EQ(testsupport::ReadText(dir.path() / PlayerStore::kIndexNames[0]), index);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / PlayerStore::kIndexNames[1]));

  PlayerStore again;
  ASSERT_EQ(again.open(dir.path(), problem), hr::kOk) << problem;
  EXPECT_EQ(again.indexText(), store.indexText());
  EXPECT_EQ(again.albums()[0].tracks, (std::vector<uint32_t>{headId, firstId}));
  EXPECT_EQ(again.usedBytes(), 2000u);
}

// A torn last line is never replayed, and the next open folds the rest
// into a new index so later lines do not land behind the torn one. A
// journal of an older generation (a crash right after a new index) is
// ignored.
TEST_F(PlayerStoreTest, TornOrStaleJournalIsNotReplayed) {
  const uint32_t a = store.addAlbum(store.allocateId()).id;
  ASSERT_EQ(store.save(problem), hr::kOk);
  const uint32_t keptId = AddSavedTrack(a, SIZE_MAX, u"kept");
  const uint32_t tornId = AddSavedTrack(a, SIZE_MAX, u"torn");
  const sys::Path journal = dir.path() / PlayerStore::kJournalName;
  const std::string whole = testsupport::ReadText(journal);
  testsupport::WriteFile(journal, whole.substr(0, whole.size() - 5));

  PlayerStore reader;
  ASSERT_EQ(reader.load(dir.path(), problem), hr::kOk);
  EXPECT_EQ(reader.albums()[0].tracks, (std::vector<uint32_t>{keptId}));
  PlayerStore opened;
  ASSERT_EQ(opened.open(dir.path(), problem), hr::kOk);
  EXPECT_EQ(opened.generation(), store.generation() + 1);  // folded into a new index
  EXPECT_EQ(opened.journalBytes(), 0u);
  EXPECT_EQ(opened.albums()[0].tracks, (std::vector<uint32_t>{keptId}));

  // The journal as it was before that fold, now older than the index.
  testsupport::WriteFile(journal, whole);
  PlayerStore stale;
  ASSERT_EQ(stale.load(dir.path(), problem), hr::kOk);
  EXPECT_EQ(stale.albums()[0].tracks, (std::vector<uint32_t>{keptId}));
}

// The journal is folded into a new index once it outgrows the index, so
// neither file grows without end.
TEST_F(PlayerStoreTest, GrownJournalIsFoldedIntoANewIndex) {
  const uint32_t a = store.addAlbum(store.allocateId()).id;
  ASSERT_EQ(store.save(problem), hr::kOk);
  const uint64_t generation = store.generation();
  uint64_t longestJournal = 0;
  for (int i = 0; i < 2000; ++i) {
    AddSavedTrack(a, SIZE_MAX, std::u16string(200, u'x'));
    longestJournal = std::max(longestJournal, store.journalBytes());
  }
  const std::string index = store.indexText();
  EXPECT_LE(longestJournal, std::max<uint64_t>(PlayerStore::kJournalFoldBytes, index.size()) + 4096);
  const uint64_t folds = store.generation() - generation;
  EXPECT_GE(folds, 1u);
  EXPECT_LE(folds, 4u);
  PlayerStore again;
  ASSERT_EQ(again.open(dir.path(), problem), hr::kOk);
  EXPECT_EQ(again.indexText(), index);
}

}  // namespace
