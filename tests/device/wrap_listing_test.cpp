// Listing, album creation, erasing, moving and capacity through the device
// wrapper, against the simulated player.
#include <gtest/gtest.h>

#include "device/ipac_wrap.h"
#include "device/track_list_adapter.h"
#include "tests/device/mp3_files.h"
#include "tests/device/standin_player.h"

namespace {

using devicetest::StandInPlayer;

std::vector<uint32_t> Eids(const std::vector<device::AlbumRecord>& albums) {
  std::vector<uint32_t> ids;
  for (const auto& a : albums) ids.push_back(a.eid);
  return ids;
}

std::vector<uint32_t> Eids(const std::vector<device::TrackRecord>& tracks) {
  std::vector<uint32_t> ids;
  for (const auto& t : tracks) ids.push_back(t.eid);
  return ids;
}

std::vector<device::AlbumRecord> Albums(StandInPlayer& p, HRESULT expected = S_OK) {
  uint32_t count = 99;
  std::vector<device::AlbumRecord> albums;
  EXPECT_EQ(p.wrap().EnumAlbums(count, albums), expected);
  EXPECT_EQ(count, albums.size());
  return albums;
}

// A small valid MP3 source: ten MPEG-1 Layer III frames.
mp3::TrackInfo SmallJob(StandInPlayer& p, const std::string& name, const std::u16string& title) {
  return p.job(p.writeSource(name, devicetest::Frames(testsupport::FrameSpec{}, 10, 0x55)), title);
}

TEST(WrapListing, AlbumsInDisplayOrderWithUntitledForNoName) {
  StandInPlayer p;
  EXPECT_TRUE(Albums(p).empty());
  const uint32_t rock = p.createAlbum(u"Rock");
  const uint32_t unnamed = p.createAlbum(u"");
  const auto albums = Albums(p);
  ASSERT_EQ(albums.size(), 2u);
  EXPECT_EQ(Eids(albums), (std::vector<uint32_t>{rock, unnamed}));
  EXPECT_EQ(albums[0].name, u"Rock");
  EXPECT_EQ(albums[1].name, u"Untitled");
  p.expectClean();
}

TEST(WrapListing, NoMediumOfKindOneListsNothing) {
  StandInPlayer p("medium-kind = 2\n");
  EXPECT_TRUE(Albums(p, S_FALSE).empty());
  StandInPlayer none("media = 0\n");
  EXPECT_TRUE(Albums(none, S_FALSE).empty());
  none.expectClean();
}

TEST(WrapListing, RefusedListingGivesAccessDenied) {
  StandInPlayer p("deny-listing = 1\n");
  EXPECT_TRUE(Albums(p, E_ACCESSDENIED).empty());
  uint32_t count = 5;
  EXPECT_EQ(p.wrap().EnumTracks(300, count, nullptr), E_ACCESSDENIED);
  p.expectClean();
}

TEST(WrapListing, AlbumThatCannotBeReadIsSkipped) {
  StandInPlayer p("fail = GetProperties 1 0x80004005\n");
  p.createAlbum(u"A");
  const uint32_t b = p.createAlbum(u"B");
  const auto albums = Albums(p);  // reading the first album is call 1
  EXPECT_EQ(Eids(albums), (std::vector<uint32_t>{b}));
  p.expectClean();
}

TEST(WrapListing, TracksShowUnknownForMissingTextsAndReserveTheirNumbers) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  ASSERT_EQ(
      p.transfer(p.job(p.writeSource("a.mp3", devicetest::Frames({}, 10, 0x55)), u"", u"", u"", u""), album),
      S_OK);
  ASSERT_EQ(p.transfer(SmallJob(p, "b.mp3", u"Second"), album), S_OK);
  const auto tracks = p.tracks(album);
  ASSERT_EQ(tracks.size(), 2u);
  EXPECT_EQ(tracks[0].title, u"Unknown");
  EXPECT_EQ(tracks[0].artist, u"Unknown");
  EXPECT_EQ(tracks[0].album, u"Unknown");
  EXPECT_EQ(tracks[0].genre, u"Unknown");
  EXPECT_EQ(tracks[0].trackNumber, 1u);
  EXPECT_EQ(tracks[1].title, u"Second");
  EXPECT_EQ(tracks[1].trackNumber, 2u);
  EXPECT_EQ(tracks[1].playTimeMs, 1000);
  uint32_t count = 0;
  EXPECT_EQ(p.wrap().EnumTracks(album, count, nullptr), S_OK);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(Albums(p)[0].playTimeMs, 2000);
  p.expectClean();
}

TEST(WrapListing, NumbersInUseAreLearnedFromTheListing) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  ASSERT_EQ(p.transfer(SmallJob(p, "a.mp3", u"a"), album), S_OK);
  ASSERT_EQ(p.transfer(SmallJob(p, "b.mp3", u"b"), album), S_OK);
  device::CIPACWrap later;
  ASSERT_EQ(later.Initialize(nullptr, L"c:\\temp", L"c:\\temp"), S_OK);
  EXPECT_EQ(later.AllocateTrackNumber(), 1u);  // not listed yet
  std::vector<device::TrackRecord> tracks;
  uint32_t count = 0;
  ASSERT_EQ(later.EnumTracks(album, count, &tracks), S_OK);
  EXPECT_TRUE(later.IsTrackNumberInUse(2));
  EXPECT_EQ(later.AllocateTrackNumber(), 3u);
}

TEST(WrapListing, TrackIdAtIndexAndPastTheEnd) {
  StandInPlayer p;
  const uint32_t album = p.createAlbum(u"A");
  ASSERT_EQ(p.transfer(SmallJob(p, "a.mp3", u"a"), album), S_OK);
  ASSERT_EQ(p.transfer(SmallJob(p, "b.mp3", u"b"), album), S_OK);
  const auto ids = Eids(p.tracks(album));
  uint32_t eid = 0;
  EXPECT_EQ(p.wrap().GetTrackIdAt(album, 1, eid), S_OK);
  EXPECT_EQ(eid, ids[1]);
  EXPECT_EQ(p.wrap().GetTrackIdAt(album, 2, eid), E_FAIL);
  p.expectClean();
}

TEST(WrapListing, CapacityFallsAsTracksAreStored) {
  StandInPlayer p("capacity = 10000000\n");
  int64_t capacity = 0, freeBytes = 0;
  ASSERT_EQ(p.wrap().GetMediumCapacity(&capacity, &freeBytes, nullptr), S_OK);
  EXPECT_EQ(capacity, 10000000);
  EXPECT_EQ(freeBytes, 10000000);
  const uint32_t album = p.createAlbum(u"A");
  ASSERT_EQ(p.transfer(SmallJob(p, "a.mp3", u"a"), album), S_OK);
  ASSERT_EQ(p.wrap().GetMediumCapacity(&capacity, &freeBytes, nullptr), S_OK);
  EXPECT_EQ(freeBytes, 10000000 - (3072 + 96 + 4170));
  p.expectClean();
}

TEST(WrapListing, RefusedAlbumCreationGivesTheLibrarysResult) {
  StandInPlayer p("album-creation-fails = 1\n");
  ASSERT_EQ(p.wrap().StartTransaction(), S_OK);
  uint32_t eid = 7;
  EXPECT_EQ(p.wrap().CreateAlbum(u"A", eid), static_cast<HRESULT>(0x8000000A));
  EXPECT_EQ(eid, 0u);
  EXPECT_EQ(p.wrap().EndTransaction(), S_OK);
  p.expectClean();
}

TEST(WrapListing, ErasingAlbumsEmptiesThemFirstInTwoTransactions) {
  StandInPlayer p("operation-polls = 2\n");
  const uint32_t a = p.createAlbum(u"A");
  const uint32_t b = p.createAlbum(u"B");
  const uint32_t c = p.createAlbum(u"C");
  ASSERT_EQ(p.transfer(SmallJob(p, "1.mp3", u"1"), a), S_OK);
  ASSERT_EQ(p.transfer(SmallJob(p, "2.mp3", u"2"), a), S_OK);
  ASSERT_EQ(p.transfer(SmallJob(p, "3.mp3", u"3"), b), S_OK);
  ASSERT_EQ(p.trackFiles().size(), 3u);
  const ULONG before = p.state().transactionsStarted;
  EXPECT_EQ(p.wrap().DeleteAlbums({a, b}), S_OK);
  EXPECT_EQ(p.state().transactionsStarted - before, 2u);
  EXPECT_EQ(Eids(Albums(p)), (std::vector<uint32_t>{c}));
  EXPECT_TRUE(p.trackFiles().empty());
  EXPECT_EQ(p.stored().tracks().size(), 0u);
  p.expectClean();
}

TEST(WrapListing, ErasingTracksLeavesTheOthers) {
  StandInPlayer p;
  const uint32_t a = p.createAlbum(u"A");
  for (const char* n : {"1", "2", "3"})
    ASSERT_EQ(p.transfer(SmallJob(p, std::string(n) + ".mp3", u"t"), a), S_OK);
  const auto ids = Eids(p.tracks(a));
  EXPECT_EQ(p.wrap().DeleteTracks({ids[0], ids[2]}), S_OK);
  EXPECT_EQ(Eids(p.tracks(a)), (std::vector<uint32_t>{ids[1]}));
  EXPECT_EQ(p.trackFiles().size(), 1u);
  EXPECT_EQ(p.wrap().DeleteTracks({ids[0]}), static_cast<HRESULT>(0x80070490));  // gone already
  p.expectClean();
}

TEST(WrapListing, MovesThroughTheTreeListInterface) {
  StandInPlayer p;
  device::CTrackListDeviceAdapter list(p.wrap());
  const uint32_t a = p.createAlbum(u"A");
  const uint32_t b = p.createAlbum(u"B");
  const uint32_t c = p.createAlbum(u"C");
  EXPECT_EQ(list.MoveItems(a, treelist::Placement::kBefore, {c}), S_OK);
  EXPECT_EQ(Eids(Albums(p)), (std::vector<uint32_t>{c, a, b}));
  EXPECT_EQ(list.MoveItems(b, treelist::Placement::kAfter, {c, a}), S_OK);
  EXPECT_EQ(Eids(Albums(p)), (std::vector<uint32_t>{b, c, a}));

  for (const char* n : {"1", "2"}) ASSERT_EQ(p.transfer(SmallJob(p, std::string(n) + ".mp3", u"t"), a), S_OK);
  ASSERT_EQ(p.transfer(SmallJob(p, "3.mp3", u"t"), b), S_OK);
  const auto inA = Eids(p.tracks(a));
  const auto inB = Eids(p.tracks(b));
  EXPECT_EQ(list.MoveItems(b, treelist::Placement::kInto, {inA[1]}), S_OK);
  EXPECT_EQ(Eids(p.tracks(b)), (std::vector<uint32_t>{inB[0], inA[1]}));
  EXPECT_EQ(list.MoveItems(inB[0], treelist::Placement::kBefore, {inA[1]}), S_OK);
  EXPECT_EQ(Eids(p.tracks(b)), (std::vector<uint32_t>{inA[1], inB[0]}));
  uint32_t eid = 0;
  EXPECT_EQ(list.GetTrackIdAt(a, 0, eid), S_OK);
  EXPECT_EQ(eid, inA[0]);
  std::string title;
  EXPECT_EQ(list.GetTrackTitle(eid, title), S_OK);
  EXPECT_EQ(title, "t");
  EXPECT_LT(list.GetTrackTitle(999999, title), 0);
  // An album cannot go into an album: the item's refusal is reported.
  EXPECT_EQ(list.MoveItems(a, treelist::Placement::kInto, {c}), E_INVALIDARG);
  EXPECT_EQ(list.DeleteAlbums({a, b}), S_OK);
  EXPECT_EQ(Eids(Albums(p)), (std::vector<uint32_t>{c}));
  p.expectClean();
}

TEST(WrapListing, ConnectivityFollowsThePlayer) {
  StandInPlayer p("disconnect-at-poll = 3\n");  // Initialize polled once
  EXPECT_TRUE(p.wrap().IsConnected());
  EXPECT_EQ(p.wrap().CheckConnectivity(), 1u);
  EXPECT_EQ(p.wrap().CheckConnectivity(), 0u);
  EXPECT_FALSE(p.wrap().IsConnected());
  EXPECT_EQ(p.wrap().CheckConnectivity(), 0u);  // no device listed any more
  EXPECT_TRUE(p.wrap().GetDeviceList().empty());
}

TEST(WrapListing, EndWithoutTransactionNeverReachesTheLibrary) {
  StandInPlayer p;
  EXPECT_EQ(p.wrap().EndTransaction(), S_FALSE);
  ASSERT_EQ(p.wrap().StartTransaction(), S_OK);
  EXPECT_TRUE(p.wrap().InTransaction());
  EXPECT_EQ(p.wrap().EndTransaction(), S_OK);
  EXPECT_EQ(p.wrap().EndTransaction(), S_FALSE);
  p.expectClean();
}

TEST(WrapListing, RunningStateIsPostedToTheNotificationWindow) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  device::CWindowEvents events;
  events.setWindow(window);
  events.RunningState(4, 70);
  MSG msg{};
  ASSERT_TRUE(
      ::PeekMessageW(&msg, window, device::RunningStateMessage(), device::RunningStateMessage(), PM_REMOVE));
  EXPECT_EQ(msg.wParam, 4u);
  EXPECT_EQ(msg.lParam, 70);
  EXPECT_EQ(device::RunningStateMessage(), ::RegisterWindowMessageW(L"RunningState"));
  ::DestroyWindow(window);
}

}  // namespace
