// Dragging within the album/track list: which selections may start a drag,
// the drop-target rules, and moves on the player and in the list.
#include <gtest/gtest.h>

#include "tests/treelist/track_list_fixture.h"

namespace {

using treelist::DropTarget;
using treelist::Placement;
using treelist::tlMove_Added;
using treelist::tlMove_Lower;
using treelist::tlMove_None;
using treelist::tlMove_Upper;
using treelisttest::TrackListFixture;

class MoveFixture : public TrackListFixture {
 protected:
  int row(int albumIndex) { return rowOf(album(albumIndex)); }
  int row(int albumIndex, int trackIndex) { return rowOf(track(albumIndex, trackIndex)); }
  void dragTracks(std::vector<std::pair<int, int>> tracks) {
    std::vector<treelist::TreeListItem*> selection;
    for (auto [a, t] : tracks) selection.push_back(track(a, t));
    ASSERT_TRUE(list.canStartDrag(selection));
  }
  void dragAlbums(std::vector<int> albums) {
    std::vector<treelist::TreeListItem*> selection;
    for (int a : albums) selection.push_back(album(a));
    ASSERT_TRUE(list.canStartDrag(selection));
  }
  void expectListMatchesPlayer() {
    ASSERT_EQ(player.albumOrder().size(), static_cast<size_t>(list.albumCount()));
    for (int a = 0; a < list.albumCount(); ++a) {
      EXPECT_EQ(player.albumOrder()[static_cast<size_t>(a)], eidOf(a));
      EXPECT_EQ(listTitles(a), playerTitles(a)) << "album " << a;
    }
  }
  // An album of count tracks named prefix0, prefix1, ... on the player.
  treelist::LoadedAlbum bigAlbum(const std::string& name, const std::string& prefix, int count) {
    treelist::LoadedAlbum album;
    album.name = name;
    album.eid = player.addAlbum(name);
    for (int i = 0; i < count; ++i) {
      treelist::LoadedTrack t;
      t.title = prefix + std::to_string(i);
      t.eid = player.addTrack(album.eid, t.title);
      album.tracks.push_back(t);
    }
    return album;
  }
};

class TrackListMoveTest : public MoveFixture {
 protected:
  // Rows: +A A1 A2 A3 | -B (B1 B2) | +C C1 C2 | -D (empty)
  void SetUp() override {
    load({{"A", 3}, {"B", 2}, {"C", 2}, {"D", 0}});
    list.collapseAlbum(album(1));
  }
};

using BigAlbumMoveTest = MoveFixture;

TEST_F(TrackListMoveTest, DragStartRules) {
  EXPECT_FALSE(list.canStartDrag({}));
  EXPECT_FALSE(list.canStartDrag({album(0), track(0, 1)}));  // albums and tracks together
  EXPECT_FALSE(list.isDragging());
  album(3)->setRealItem(false);
  EXPECT_FALSE(list.canStartDrag({album(3)}));  // nothing real to move
  EXPECT_TRUE(list.canStartDrag({album(3), album(1)}));
  EXPECT_EQ(list.draggedItems(), (std::vector<treelist::TrackListItem*>{album(1)}));
  EXPECT_TRUE(list.draggingAlbums());
  host.transferRunning = true;
  EXPECT_FALSE(list.canStartDrag({track(0, 0)}));
  EXPECT_FALSE(list.isDragging());
}

TEST_F(TrackListMoveTest, DropTargetRulesForAlbums) {
  dragAlbums({2});
  // A closed album takes either side, an open one only the upper side.
  EXPECT_EQ(list.adjustDropTarget({row(1), tlMove_Upper}), (DropTarget{row(1), tlMove_Upper}));
  EXPECT_EQ(list.adjustDropTarget({row(1), tlMove_Lower}), (DropTarget{row(1), tlMove_Lower}));
  EXPECT_EQ(list.adjustDropTarget({row(0), tlMove_Upper}), (DropTarget{row(0), tlMove_Upper}));
  EXPECT_EQ(list.adjustDropTarget({row(0), tlMove_Lower}), DropTarget::None());
  // Track rows refuse albums, except below the very last row.
  EXPECT_EQ(list.adjustDropTarget({row(0, 1), tlMove_Upper}), DropTarget::None());
  EXPECT_EQ(list.adjustDropTarget({row(0, 1), tlMove_Lower}), DropTarget::None());
  list.eraseSelectedItem({album(3)});  // the last row is now C2; erasing ends the drag
  dragAlbums({2});
  int last = model.rowCount() - 1;
  ASSERT_EQ(itemAt(last), track(2, 1));
  EXPECT_EQ(list.adjustDropTarget({last, tlMove_Lower}), (DropTarget{last, tlMove_Lower}));
  EXPECT_EQ(list.adjustDropTarget({last, tlMove_Upper}), DropTarget::None());
  EXPECT_EQ(list.adjustDropTarget(DropTarget::None()), DropTarget::None());
}

TEST_F(TrackListMoveTest, DropTargetRulesForTracks) {
  dragTracks({{0, 0}});
  EXPECT_EQ(list.adjustDropTarget({row(1), tlMove_Upper}), (DropTarget{row(1), tlMove_Added}));
  EXPECT_EQ(list.adjustDropTarget({row(1), tlMove_Lower}), (DropTarget{row(1), tlMove_Added}));
  // Above an open album: after the last track of the album above...
  EXPECT_EQ(list.adjustDropTarget({row(2), tlMove_Upper}), DropTarget::None());  // ...which is closed here
  list.expandAlbum(album(1));
  EXPECT_EQ(list.adjustDropTarget({row(2), tlMove_Upper}), (DropTarget{row(1, 1), tlMove_Lower}));
  // No row above the first album.
  EXPECT_EQ(list.adjustDropTarget({row(0), tlMove_Upper}), DropTarget::None());
  // Below an open album's row: its first place.
  EXPECT_EQ(list.adjustDropTarget({row(0), tlMove_Lower}), (DropTarget{row(0), tlMove_Lower}));
  // Track rows stay as chosen.
  EXPECT_EQ(list.adjustDropTarget({row(2, 1), tlMove_Upper}), (DropTarget{row(2, 1), tlMove_Upper}));
  EXPECT_EQ(list.adjustDropTarget({row(2, 1), tlMove_Lower}), (DropTarget{row(2, 1), tlMove_Lower}));
  // Files dragged in from outside follow the same rules.
  list.beginFileDrag();
  EXPECT_EQ(list.adjustDropTarget({row(3), tlMove_Lower}), (DropTarget{row(3), tlMove_Added}));
  list.endDrag();
  EXPECT_EQ(list.adjustDropTarget({row(3), tlMove_Lower}), DropTarget::None());
}

TEST_F(TrackListMoveTest, TracksGoBeforeOrAfterATrackRow) {
  dragTracks({{0, 0}});
  ASSERT_EQ(list.moveSelection({row(2, 1), tlMove_Upper}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kBefore);
  EXPECT_EQ(player.title(player.lastReference), "C2");
  EXPECT_EQ(listTitles(2), (std::vector<std::string>{"C1", "A1", "C2"}));
  expectListMatchesPlayer();

  dragTracks({{2, 0}, {2, 1}});  // C1, A1 after A3
  ASSERT_EQ(list.moveSelection({row(0, 1), tlMove_Lower}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kAfter);
  EXPECT_EQ(player.title(player.lastReference), "A3");
  EXPECT_EQ(listTitles(0), (std::vector<std::string>{"A2", "A3", "C1", "A1"}));
  EXPECT_EQ(listTitles(2), (std::vector<std::string>{"C2"}));
  // Numbers follow the new order.
  EXPECT_EQ(track(0, 3)->track()->trackNumber, 4u);
  EXPECT_EQ(track(1, 0)->track()->trackNumber, 5u);
  expectListMatchesPlayer();
  expectRowsInStep();
}

TEST_F(TrackListMoveTest, TracksGoIntoAnAlbumByItsRow) {
  dragTracks({{0, 1}});
  // A closed album: into it, after its last track; it opens to show them.
  DropTarget intoClosed = list.adjustDropTarget({row(1), tlMove_Upper});
  ASSERT_EQ(list.moveSelection(intoClosed), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kInto);
  EXPECT_EQ(player.lastReference, eidOf(1));
  EXPECT_EQ(listTitles(1), (std::vector<std::string>{"B1", "B2", "A2"}));
  EXPECT_TRUE(album(1)->isExpanded());
  expectListMatchesPlayer();

  // An open album's own row: before its first track.
  dragTracks({{1, 2}});
  ASSERT_EQ(list.moveSelection({row(2), tlMove_Lower}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kBefore);
  EXPECT_EQ(player.title(player.lastReference), "C1");
  EXPECT_EQ(listTitles(2), (std::vector<std::string>{"A2", "C1", "C2"}));

  // An empty album takes tracks by itself.
  dragTracks({{2, 0}});
  ASSERT_EQ(list.moveSelection({row(3), tlMove_Added}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kInto);
  EXPECT_EQ(player.lastReference, eidOf(3));
  EXPECT_EQ(listTitles(3), (std::vector<std::string>{"A2"}));
  expectListMatchesPlayer();
  expectRowsInStep();
}

TEST_F(TrackListMoveTest, ATrackDroppedOntoItselfOrItsOwnPlaceChangesNothing) {
  dragTracks({{0, 1}});
  EXPECT_EQ(list.moveSelection({row(0, 1), tlMove_Upper}), hr::kFalse);
  EXPECT_EQ(list.moveSelection({row(0, 1), tlMove_Lower}), hr::kFalse);
  EXPECT_EQ(list.moveSelection({row(0, 2), tlMove_Upper}), hr::kFalse);
  EXPECT_EQ(player.moveCalls, 0);
}

TEST_F(TrackListMoveTest, DroppingOntoOneOfTheMovedTracksPlacesByATrackThatStays) {
  dragTracks({{0, 0}, {0, 2}});
  // Onto A3, itself moved: A1 and A3 end after A2, placed after A2.
  ASSERT_EQ(list.moveSelection({row(0, 2), tlMove_Lower}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kAfter);
  EXPECT_EQ(player.title(player.lastReference), "A2");
  EXPECT_EQ(listTitles(0), (std::vector<std::string>{"A2", "A1", "A3"}));
  expectListMatchesPlayer();
}

TEST_F(BigAlbumMoveTest, MoveThatWouldMakeAThousandTracksIsRefusedWithNothingChanged) {
  treelist::LoadedAlbum full = bigAlbum("Full", "F", 998);
  treelist::LoadedAlbum small = bigAlbum("Small", "S", 2);
  list.loadAll({full, small});
  std::vector<std::string> rowsBefore = rowTexts();
  uint32_t numberBefore = track(1, 0)->track()->trackNumber;

  dragTracks({{1, 0}, {1, 1}});
  EXPECT_EQ(list.moveSelection({rowOf(track(0, 10)), tlMove_Lower}), hr::kFalse);
  EXPECT_EQ(host.messages, (std::vector<unsigned>{17665}));
  EXPECT_EQ(player.moveCalls, 0);
  EXPECT_EQ(rowTexts(), rowsBefore);
  EXPECT_EQ(track(1, 0)->track()->trackNumber, numberBefore);
  EXPECT_EQ(player.trackTitles(small.eid).size(), 2u);

  // One track fits: 999 is the limit, not 1,000.
  dragTracks({{1, 0}});
  EXPECT_EQ(list.moveSelection({rowOf(track(0, 10)), tlMove_Lower}), hr::kOk);
  EXPECT_EQ(album(0)->childCount(), 999);
  expectListMatchesPlayer();
  expectRowsInStep();
}

TEST_F(BigAlbumMoveTest, MovingWithinAFullAlbumIsAllowed) {
  list.loadAll({bigAlbum("Full", "F", 999)});
  dragTracks({{0, 0}});
  EXPECT_EQ(list.moveSelection({rowOf(track(0, 5)), tlMove_Lower}), hr::kOk);
  EXPECT_EQ(track(0, 5)->track()->title.str(), "F0");
  EXPECT_TRUE(host.messages.empty());
  expectListMatchesPlayer();
}

TEST_F(TrackListMoveTest, AlbumsMoveBeforeOrAfterAlbumsAndToTheEnd) {
  dragAlbums({2});  // C before A
  ASSERT_EQ(list.moveSelection({row(0), tlMove_Upper}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kBefore);
  EXPECT_EQ(player.lastReference, eidOf(1));  // A, now second
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+C", "C1", "C2", "+A", "A1", "A2", "A3", "-B", "-D"}));
  EXPECT_EQ(host.albumOrderChanges, 1);
  EXPECT_EQ(album(0)->album()->albumNumber, 1u);
  EXPECT_EQ(track(0, 0)->track()->trackNumber, 1u);
  expectListMatchesPlayer();

  dragAlbums({0, 1});  // C and A after B (closed)
  ASSERT_EQ(list.moveSelection({row(2), tlMove_Lower}), hr::kOk);
  EXPECT_EQ(player.lastPlacement, Placement::kAfter);
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"-B", "+C", "C1", "C2", "+A", "A1", "A2", "A3", "-D"}));
  expectListMatchesPlayer();

  ASSERT_EQ(eraseAsTheMainWindowDoes({album(3)}), hr::kOk);  // now the last row is a track: A3
  dragAlbums({0});
  ASSERT_EQ(list.moveSelection({model.rowCount() - 1, tlMove_Lower}), hr::kOk);
  EXPECT_EQ(rowTexts(), (std::vector<std::string>{"+C", "C1", "C2", "+A", "A1", "A2", "A3", "-B"}));
  expectListMatchesPlayer();
  expectRowsInStep();
}

TEST_F(TrackListMoveTest, PlayerFailureLeavesTheListAsItWas) {
  std::vector<std::string> before = rowTexts();
  player.failNextMove = hr::kFail;
  dragTracks({{0, 0}});
  EXPECT_EQ(list.moveSelection({row(2, 0), tlMove_Upper}), hr::kFail);
  EXPECT_EQ(host.messages, (std::vector<unsigned>{17921}));
  EXPECT_EQ(rowTexts(), before);
  expectListMatchesPlayer();

  player.failNextMove = hr::kFail;
  dragAlbums({1});
  EXPECT_EQ(list.moveSelection({row(0), tlMove_Upper}), hr::kFail);
  EXPECT_EQ(rowTexts(), before);
  EXPECT_EQ(host.albumOrderChanges, 0);
}

TEST_F(TrackListMoveTest, NoTargetOrNoDragMovesNothing) {
  EXPECT_EQ(list.moveSelection({row(0), tlMove_Upper}), hr::kFalse);  // no drag
  dragTracks({{0, 0}});
  EXPECT_EQ(list.moveSelection(DropTarget::None()), hr::kFalse);
  EXPECT_EQ(list.moveSelection({row(0), tlMove_None}), hr::kFalse);
  EXPECT_EQ(player.moveCalls, 0);
}

TEST_F(BigAlbumMoveTest, ManyTracksMoveWithOneRefillOfTheRows) {
  treelist::LoadedAlbum big = bigAlbum("Big", "T", 400);
  treelist::LoadedAlbum other = bigAlbum("Other", "O", 0);
  list.loadAll({big, other});
  std::vector<treelist::TreeListItem*> selection;
  for (int i = 0; i < 300; ++i) selection.push_back(track(0, i));
  ASSERT_TRUE(list.canStartDrag(selection));
  int resets = rows.resets;
  ASSERT_EQ(list.moveSelection({rowOf(album(1)), tlMove_Added}), hr::kOk);
  EXPECT_EQ(rows.resets, resets + 1);
  EXPECT_EQ(album(1)->childCount(), 300);
  EXPECT_EQ(album(0)->childCount(), 100);
  EXPECT_EQ(track(1, 299)->track()->title.str(), "T299");
  expectListMatchesPlayer();
  expectRowsInStep();
}

}  // namespace
