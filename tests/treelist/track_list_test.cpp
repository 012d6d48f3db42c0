// The album/track list: loading, numbering, texts, drops of files and
// erasing.
#include "treelist/track_list.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "tests/treelist/track_list_fixture.h"

namespace {

using treelist::TrackListItem;
using treelisttest::TrackListFixture;
namespace column = treelist::column;

using TrackListTest = TrackListFixture;

TEST_F(TrackListTest, LoadingOpensAlbumsWithTracksAndNumbersThrough) {
  load({{"A", 3}, {"B", 3}, {"Empty", 0}});
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+A", "A1", "A2", "A3", "+B", "B1", "B2", "B3", "-Empty"}));
  EXPECT_EQ(album(0)->album()->albumNumber, 1u);
  EXPECT_EQ(album(1)->album()->albumNumber, 2u);
  EXPECT_EQ(album(2)->album()->albumNumber, 3u);
  EXPECT_EQ(track(0, 0)->track()->trackNumber, 1u);
  EXPECT_EQ(track(0, 2)->track()->trackNumber, 3u);
  EXPECT_EQ(track(1, 0)->track()->trackNumber, 4u);
  EXPECT_EQ(track(1, 2)->track()->trackNumber, 6u);
  EXPECT_EQ(album(1)->album()->firstTrackNumber, 4u);
  EXPECT_EQ(album(1)->album()->lastTrackNumber, 6u);
  EXPECT_EQ(album(2)->album()->firstTrackNumber, 0u);
  EXPECT_EQ(album(2)->album()->lastTrackNumber, 0u);
  EXPECT_EQ(album(0)->album()->totalDurationMs, 6 * 60000);
  expectRowsInStep();
}

TEST_F(TrackListTest, ErasingTheFirstAlbumRenumbersTheSecond) {
  load(2, 3);
  list.eraseSelectedItem({album(0)});
  ASSERT_EQ(list.albumCount(), 1);
  EXPECT_EQ(album(0)->album()->name.str(), "B");
  EXPECT_EQ(album(0)->album()->albumNumber, 1u);
  EXPECT_EQ(track(0, 0)->track()->trackNumber, 1u);
  EXPECT_EQ(track(0, 1)->track()->trackNumber, 2u);
  EXPECT_EQ(track(0, 2)->track()->trackNumber, 3u);
  EXPECT_EQ(album(0)->album()->firstTrackNumber, 1u);
  EXPECT_EQ(album(0)->album()->lastTrackNumber, 3u);
  expectRowsInStep();
}

TEST_F(TrackListTest, AlbumWhoseLastTrackIsErasedClosesAndShowsZeroTime) {
  load({{"A", 1}, {"B", 2}});
  ASSERT_TRUE(album(0)->isExpanded());
  EXPECT_EQ(list.cellText(album(0), column::kTime), "");  // open albums leave the time to their tracks
  list.eraseSelectedItem({track(0, 0)});
  EXPECT_FALSE(album(0)->isExpanded());
  EXPECT_EQ(list.cellText(album(0), column::kTime), "00:00");
  EXPECT_EQ(list.rowLook(album(0)).image, treelist::image::kAlbumClosed);
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"-A", "+B", "B1", "B2"}));
  EXPECT_EQ(track(1, 0)->track()->trackNumber, 1u);
  expectRowsInStep();
}

TEST_F(TrackListTest, TimesAndImagesOfRows) {
  EXPECT_EQ(treelist::FormatPlayTime(3725000), "62:05");
  EXPECT_EQ(treelist::FormatPlayTime(0), "00:00");
  EXPECT_EQ(treelist::FormatPlayTime(59999), "00:59");
  EXPECT_EQ(treelist::FormatPlayTime(6000000000), "100000:00");  // no cap on minutes
  EXPECT_EQ(treelist::FormatPlayTime(-5000), "00:00");

  load({{"A", 2}});
  EXPECT_EQ(list.cellText(track(0, 1), column::kTime), "02:00");
  EXPECT_EQ(list.cellText(track(0, 1), column::kArtist), "Artist");
  EXPECT_EQ(list.cellText(track(0, 1), column::kAlbum), "A");
  EXPECT_EQ(list.cellText(track(0, 1), column::kGenre), "Rock");
  EXPECT_EQ(list.cellText(album(0), column::kArtist), "");
  EXPECT_EQ(list.rowLook(track(0, 0)).image, treelist::image::kTrack);
  EXPECT_EQ(list.rowLook(track(0, 0)).indent, 1);
  EXPECT_EQ(list.rowLook(album(0)).image, treelist::image::kAlbumOpen);
  list.collapseAlbum(album(0));
  EXPECT_EQ(list.cellText(album(0), column::kTime), "03:00");
  album(0)->setRealItem(false);
  EXPECT_EQ(list.rowLook(album(0)).image, treelist::image::kPlaceholderClosed);
  list.expandAlbum(album(0));
  EXPECT_EQ(list.rowLook(album(0)).image, treelist::image::kPlaceholderOpen);
  expectRowsInStep();
}

TEST_F(TrackListTest, DroppedFolderGetsAClosedAlbumThatCountsItsTracks) {
  load({{"A", 2}});
  TrackListItem* folder = list.oleInsertFolder("Live", 777);
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(list.dropPosition().album, folder);
  EXPECT_EQ(folder->album()->albumNumber, 2u);
  EXPECT_EQ(folder->album()->eid, 777u);

  treelist::TransferredTrack t;
  t.title = "  Song  ";
  t.artist = "   ";
  t.album = "\tLive  ";
  t.genre = "";
  t.durationMs = 125000;
  TrackListItem* added = list.addCompletedTrack(t);
  ASSERT_NE(added, nullptr);
  t.title = "";
  t.durationMs = 5000;
  TrackListItem* untitled = list.addCompletedTrack(t);
  ASSERT_NE(untitled, nullptr);

  EXPECT_EQ(added->track()->title.str(), "  Song  ");  // titles keep their spaces
  EXPECT_EQ(added->track()->artist.str(), "Unknown");  // artists of spaces do not
  EXPECT_EQ(added->track()->album.str(), "Live");
  EXPECT_EQ(added->track()->genre.str(), "Unknown");
  EXPECT_EQ(added->track()->editState, 1u);
  EXPECT_EQ(untitled->track()->title.str(), "Unknown");
  EXPECT_FALSE(folder->isExpanded());
  EXPECT_EQ(list.cellText(folder, column::kTime), "02:10");
  EXPECT_EQ(list.dropTrackCount(), 2);
  EXPECT_EQ(added->track()->trackNumber, treelist::kUnnumbered);  // numbered at the next renumbering
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+A", "A1", "A2", "-Live"}));
  expectRowsInStep();

  list.expandAlbum(folder);
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+A", "A1", "A2", "+Live", "  Song  ", "Unknown"}));
  expectRowsInStep();
}

TEST_F(TrackListTest, CompletedTrackWithoutDropAlbumIsIgnored) {
  load({{"A", 1}});
  EXPECT_EQ(list.addCompletedTrack({}), nullptr);
  TrackListItem* folder = list.oleInsertFolder("X");
  list.eraseSelectedItem({folder});
  EXPECT_EQ(list.dropPosition().album, nullptr);  // the erased album is forgotten
  EXPECT_EQ(list.addCompletedTrack({}), nullptr);
  expectRowsInStep();
}

TEST_F(TrackListTest, RemovingEveryItemForgetsTheDropAlbumAndEndsTheDrag) {
  // The control's RemoveAllItems ("ClearListItems", "MediumChanged") clears
  // the model directly, not through the list.
  load({{"A", 2}});
  list.oleInsertFolder("X", 9);
  ASSERT_TRUE(list.canStartDrag({track(0, 0)}));
  model.clear();
  EXPECT_EQ(list.dropPosition().album, nullptr);
  EXPECT_FALSE(list.isDragging());
  EXPECT_TRUE(list.draggedItems().empty());
  treelist::TransferredTrack t;
  t.title = "late";
  EXPECT_EQ(list.addCompletedTrack(t), nullptr);  // no stale album is read

  // Removing one album the same way forgets it too, and ends a drag of its tracks.
  load({{"A", 2}, {"B", 1}});
  list.setDropPosition({rowOf(album(1)), treelist::tlMove_Lower});
  ASSERT_TRUE(list.canStartDrag({track(1, 0)}));
  model.remove(album(1));
  EXPECT_EQ(list.dropPosition().album, nullptr);
  EXPECT_FALSE(list.isDragging());
  EXPECT_EQ(list.addCompletedTrack(t), nullptr);
  expectRowsInStep();
}

TEST_F(TrackListTest, DropPositionFollowsTheTargetRow) {
  load({{"A", 2}, {"B", 2}});
  list.collapseAlbum(album(1));  // rows: +A A1 A2 -B
  const treelist::DropPosition& onTrack = list.setDropPosition({1, treelist::tlMove_Lower});
  EXPECT_EQ(onTrack.album, album(0));
  EXPECT_EQ(onTrack.trackPosition, 1);
  EXPECT_EQ(onTrack.nextRow, 2);
  EXPECT_FALSE(onTrack.dropToHead);

  const treelist::DropPosition& openAlbum = list.setDropPosition({0, treelist::tlMove_Upper});
  EXPECT_EQ(openAlbum.album, album(0));
  EXPECT_EQ(openAlbum.trackPosition, 0);
  EXPECT_EQ(openAlbum.nextRow, 0);
  EXPECT_TRUE(openAlbum.dropToHead);

  const treelist::DropPosition& closedAlbum = list.setDropPosition({3, treelist::tlMove_Added});
  EXPECT_EQ(closedAlbum.album, album(1));
  EXPECT_EQ(closedAlbum.trackPosition, 2);

  const treelist::DropPosition& none = list.setDropPosition(treelist::DropTarget::None());
  EXPECT_EQ(none.album, nullptr);
  EXPECT_EQ(none.trackPosition, 0);
}

TEST_F(TrackListTest, EraseSkipsTracksOfSelectedAlbumsAndPlaceholders) {
  load({{"A", 2}, {"B", 2}, {"C", 1}});
  album(2)->setRealItem(false);
  std::vector<treelist::TreeListItem*> selection = {album(0), track(0, 1), track(1, 0), album(2)};
  std::vector<TrackListItem*> erasable = list.erasableItems(selection);
  ASSERT_EQ(erasable.size(), 2u);
  EXPECT_EQ(erasable[0], album(0));
  EXPECT_EQ(erasable[1], track(1, 0));

  list.eraseSelectedItem(selection);
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+B", "B2", "+C", "C1"}));
  expectRowsInStep();
  list.eraseAll();
  EXPECT_EQ(model.rowCount(), 0);
  expectRowsInStep();
}

TEST_F(TrackListTest, EraseOnThePlayerThenInTheList) {
  load({{"A", 3}, {"B", 2}});
  treelist::Eid b = eidOf(1);
  // A track added by a transfer has no id yet; it is looked up by position.
  list.setDropPosition({rowOf(album(1)), treelist::tlMove_Lower});
  player.addTrack(b, "New");
  treelist::TransferredTrack t;
  t.title = "New";
  ASSERT_NE(list.addCompletedTrack(t), nullptr);

  ASSERT_EQ(eraseAsTheMainWindowDoes({track(0, 1), track(1, 2)}), hr::kOk);
  EXPECT_EQ(player.trackTitles(eidOf(0)), (std::vector<std::string>{"A1", "A3"}));
  EXPECT_EQ(player.trackTitles(b), (std::vector<std::string>{"B1", "B2"}));
  EXPECT_EQ(player.idLookups, 1);
  EXPECT_EQ(listTitles(0), (std::vector<std::string>{"A1", "A3"}));
  EXPECT_EQ(listTitles(1), (std::vector<std::string>{"B1", "B2"}));

  ASSERT_EQ(eraseAsTheMainWindowDoes({album(0)}), hr::kOk);
  EXPECT_EQ(player.albumOrder(), (std::vector<treelist::Eid>{b}));
  EXPECT_EQ(list.albumCount(), 1);
  expectRowsInStep();
}

TEST_F(TrackListTest, PlayerRefusingAnEraseLeavesTheList) {
  load({{"A", 2}});
  album(0)->album()->eid = 9999;  // unknown to the player
  EXPECT_EQ(eraseAsTheMainWindowDoes({album(0)}), hr::kInvalidArg);
  EXPECT_EQ(list.albumCount(), 1);
  EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(TrackListTest, SelectedIdsForTheMainWindowsErase) {
  load({{"A", 2}, {"B", 2}});
  std::vector<treelist::Eid> albums;
  std::vector<treelist::Eid> tracks;
  ASSERT_EQ(list.selectedIds({album(0), track(0, 0), track(1, 1)}, albums, tracks), hr::kOk);
  EXPECT_EQ(albums, (std::vector<treelist::Eid>{eidOf(0)}));
  EXPECT_EQ(tracks, (std::vector<treelist::Eid>{track(1, 1)->track()->eid}));
}

TEST_F(TrackListTest, TransferredTrackKnowsItsOwnIdentifier) {
  load({{"A", 1}});
  // The player holds a track the listing could not read, in front of the
  // transferred one: positions in the list and on the player differ.
  player.insertTrack(eidOf(0), 0, "Damaged");
  const treelist::Eid added = player.addTrack(eidOf(0), "New");
  list.setDropPosition({rowOf(album(0)), treelist::tlMove_Lower});
  treelist::TransferredTrack t;
  t.title = "New";
  t.eid = added;
  ASSERT_NE(list.addCompletedTrack(t), nullptr);
  std::vector<treelist::Eid> albums;
  std::vector<treelist::Eid> tracks;
  ASSERT_EQ(list.selectedIds({track(0, 1)}, albums, tracks), hr::kOk);
  EXPECT_EQ(tracks, std::vector<treelist::Eid>{added});
  EXPECT_EQ(player.idLookups, 0);
}

TEST_F(TrackListTest, RowWithoutIdentifierIsActedOnOnlyWhenItsPositionHoldsItsTitle) {
  load({{"A", 2}, {"B", 1}});
  player.insertTrack(eidOf(0), 0, "Damaged");  // unknown to the list
  player.addTrack(eidOf(0), "New");
  list.setDropPosition({rowOf(album(0)), treelist::tlMove_Lower});
  treelist::TransferredTrack t;
  t.title = "New";  // no identifier came with it
  ASSERT_NE(list.addCompletedTrack(t), nullptr);

  // Position 2 on the player holds A2, not New: nothing is named for erasing.
  std::vector<treelist::Eid> albums;
  std::vector<treelist::Eid> tracks;
  EXPECT_EQ(list.selectedIds({track(0, 2)}, albums, tracks), treelist::kListOutOfStep);
  EXPECT_TRUE(tracks.empty());
  EXPECT_EQ(track(0, 2)->track()->eid, 0u);

  // Nor is it moved: the player is untouched, the owner reads the list again, no failure box.
  ASSERT_TRUE(list.canStartDrag({track(0, 2)}));
  EXPECT_EQ(list.moveSelection({rowOf(album(1)), treelist::tlMove_Added}), treelist::kListOutOfStep);
  EXPECT_EQ(player.moveCalls, 0);
  EXPECT_EQ(host.outOfStep, 1);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(listTitles(0), (std::vector<std::string>{"A1", "A2", "New"}));

  // Where the positions agree, the lookup is taken and kept.
  player.insertTrack(eidOf(1), 1, "Late");
  t.title = "Late";
  list.setDropPosition({rowOf(album(1)), treelist::tlMove_Lower});
  ASSERT_NE(list.addCompletedTrack(t), nullptr);
  ASSERT_EQ(list.selectedIds({track(1, 1)}, albums, tracks), hr::kOk);
  EXPECT_EQ(tracks, std::vector<treelist::Eid>{player.album(eidOf(1))->tracks[1]});
  EXPECT_EQ(track(1, 1)->track()->eid, tracks[0]);
}

TEST_F(TrackListTest, TextFieldsKeepAtMost126BytesAndEditsStoreOnlyTheirColumns) {
  load({{"A", 1}});
  std::string longText(200, 'x');
  EXPECT_TRUE(list.storeEditedText(album(0), column::kTitle, longText));
  EXPECT_EQ(album(0)->album()->name.str(), std::string(126, 'x'));
  EXPECT_FALSE(list.storeEditedText(album(0), column::kArtist, "a"));
  EXPECT_TRUE(list.storeEditedText(track(0, 0), column::kArtist, "Someone"));
  EXPECT_TRUE(list.storeEditedText(track(0, 0), column::kGenre, "Jazz"));
  EXPECT_FALSE(list.storeEditedText(track(0, 0), column::kTime, "99:99"));
  EXPECT_EQ(list.cellText(track(0, 0), column::kArtist), "Someone");
  EXPECT_EQ(list.cellText(track(0, 0), column::kGenre), "Jazz");
  EXPECT_EQ(list.cellText(track(0, 0), column::kTime), "01:00");
  EXPECT_TRUE(album(0)->mayEditColumn(0));
  EXPECT_FALSE(album(0)->mayEditColumn(1));
  EXPECT_TRUE(track(0, 0)->mayEditColumn(4));
  // A text stops at an embedded NUL, as the fixed fields do.
  EXPECT_TRUE(list.storeEditedText(track(0, 0), column::kTitle, std::string("ab\0cd", 5)));
  EXPECT_EQ(track(0, 0)->track()->title.str(), "ab");
}

TEST(CutAnsiText, NeverSplitsADoubleByteCharacter) {
  uint32_t saved = sys::AnsiCodePage();
  sys::SetAnsiCodePage(932);
  if (sys::AnsiCodePage() != 932) GTEST_SKIP() << "code page 932 is not the ANSI code page here";
  // 0x82 0xA0 is HIRAGANA A in Shift-JIS: 63 of them are 126 bytes, 64 are 128.
  std::string text;
  for (int i = 0; i < 64; ++i) text += "\x82\xA0";
  EXPECT_EQ(treelist::CutAnsiText(text, 126).size(), 126u);
  EXPECT_EQ(treelist::CutAnsiText("a" + text, 126).size(), 125u);
  sys::SetAnsiCodePage(saved);
}

TEST_F(TrackListTest, AddingLoadedItemsOneByOne) {
  TrackListItem* a = list.addLoadedAlbum("A", 90000, 5);
  ASSERT_NE(a, nullptr);
  EXPECT_FALSE(a->isExpanded());
  EXPECT_EQ(list.cellText(a, column::kTime), "01:30");
  treelist::LoadedTrack t;
  t.title = "Intro   ";
  t.artist = "";
  TrackListItem* one = list.addLoadedTrack(a, t);
  ASSERT_NE(one, nullptr);
  EXPECT_TRUE(a->isExpanded());
  EXPECT_EQ(one->track()->title.str(), "Intro");
  EXPECT_EQ(one->track()->artist.str(), "Unknown");
  EXPECT_EQ(list.addLoadedTrack(one, t), nullptr);  // a track is no album
  EXPECT_EQ(list.addLoadedTrack(nullptr, t), nullptr);
  expectRowsInStep();
}

TEST_F(TrackListTest, ExpandAllAndCollapseAll) {
  load({{"A", 2}, {"B", 0}, {"C", 3}});
  list.collapseAll();
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"-A", "-B", "-C"}));
  expectRowsInStep();
  list.expandAll();
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+A", "A1", "A2", "-B", "+C", "C1", "C2", "C3"}));
  expectRowsInStep();
}

}  // namespace
