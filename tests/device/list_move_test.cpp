// Moving albums and tracks in the album/track list as the program does it:
// through the device adapter the main window uses, the device wrapper and
// the simulated player, so that what the player holds afterwards is
// checked against what the list shows.
#include <gtest/gtest.h>

#include "device/track_list_adapter.h"
#include "tests/device/mp3_files.h"
#include "tests/device/standin_player.h"
#include "tests/treelist/mirror_rows.h"
#include "tests/treelist/track_list_fixture.h"
#include "treelist/track_list.h"

namespace {

using devicetest::StandInPlayer;
using treelist::Eid;
using treelist::TrackListItem;

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class ListMoveTest : public ::testing::Test {
 protected:
  // Albums named as given, each with that many tracks ("<name>1", ...),
  // then the list read back from the player as the loader reads it.
  void put(const std::vector<std::pair<std::u16string, int>>& albums) {
    for (const auto& [name, count] : albums) {
      const uint32_t eid = player.createAlbum(name);
      for (int i = 1; i <= count; ++i) {
        const std::u16string title = name + static_cast<char16_t>(u'0' + i);
        const auto source = player.writeSource(Narrow(title) + ".mp3", devicetest::Frames({}, 5, 0x55));
        ASSERT_EQ(player.transfer(player.job(source, title), eid), S_OK);
      }
    }
    reload();
  }

  void reload() {
    std::vector<treelist::LoadedAlbum> loaded;
    for (const auto& [eid, name] : albumsOnPlayer()) {
      treelist::LoadedAlbum album;
      album.eid = eid;
      album.name = name;
      for (const auto& t : player.tracks(eid)) album.tracks.push_back({t.eid, Narrow(t.title), "", "", "", 0});
      loaded.push_back(album);
    }
    list.loadAll(loaded);
  }

  std::vector<std::pair<Eid, std::string>> albumsOnPlayer() {
    uint32_t count = 0;
    std::vector<device::AlbumRecord> albums;
    EXPECT_EQ(player.wrap().EnumAlbums(count, albums), S_OK);
    std::vector<std::pair<Eid, std::string>> out;
    for (const auto& a : albums) out.emplace_back(a.eid, Narrow(a.name));
    return out;
  }

  // "Album: title title ..." for every album, from the player or the list.
  std::vector<std::string> playerView() {
    std::vector<std::string> view;
    for (const auto& [eid, name] : albumsOnPlayer()) {
      std::string line = name + ":";
      for (const auto& t : player.tracks(eid)) line += " " + Narrow(t.title);
      view.push_back(line);
    }
    return view;
  }
  std::vector<std::string> listView() {
    std::vector<std::string> view;
    for (int a = 0; a < list.albumCount(); ++a) {
      std::string line = list.albumAt(a)->album()->name.str() + ":";
      for (int t = 0; t < list.albumAt(a)->childCount(); ++t)
        line += " " + treelist::AsTrackItem(list.albumAt(a)->child(t))->track()->title.str();
      view.push_back(line);
    }
    return view;
  }

  TrackListItem* track(int album, int index) { return treelist::AsTrackItem(list.albumAt(album)->child(index)); }
  int rowOf(const TrackListItem* item) { return model.rowOf(item); }
  uint32_t transactions() { return player.state().transactionsStarted; }

  StandInPlayer player;
  device::CTrackListDeviceAdapter adapter{player.wrap()};
  treelisttest::MirrorRows rows;
  treelist::TreeListModel model{rows};
  treelisttest::RecordingHost host;
  treelist::TrackList list{model, &host, &adapter};
};

TEST_F(ListMoveTest, OneMoveIsOneCallWithTheWholeSelectionInOneTransaction) {
  put({{u"A", 3}, {u"B", 1}});
  // A1 and A3 after B1: the player places them in the selection's order.
  ASSERT_TRUE(list.canStartDrag({track(0, 0), track(0, 2)}));
  uint32_t before = transactions();
  ASSERT_EQ(list.moveSelection({rowOf(track(1, 0)), treelist::tlMove_Lower}), hr::kOk);
  EXPECT_EQ(transactions() - before, 1u);
  EXPECT_EQ(playerView(), (std::vector<std::string>{"A: A2", "B: B1 A1 A3"}));
  EXPECT_EQ(listView(), playerView());

  // Both back to the head of A, before A2.
  ASSERT_TRUE(list.canStartDrag({track(1, 1), track(1, 2)}));
  before = transactions();
  ASSERT_EQ(list.moveSelection({rowOf(track(0, 0)), treelist::tlMove_Upper}), hr::kOk);
  EXPECT_EQ(transactions() - before, 1u);
  EXPECT_EQ(playerView(), (std::vector<std::string>{"A: A1 A3 A2", "B: B1"}));
  EXPECT_EQ(listView(), playerView());

  // Albums: B before A; the album order is read again afterwards.
  ASSERT_TRUE(list.canStartDrag({list.albumAt(1)}));
  ASSERT_EQ(list.moveSelection({rowOf(list.albumAt(0)), treelist::tlMove_Upper}), hr::kOk);
  EXPECT_EQ(playerView(), (std::vector<std::string>{"B: B1", "A: A1 A3 A2"}));
  EXPECT_EQ(listView(), playerView());
  EXPECT_EQ(host.albumOrderChanges, 1);
  EXPECT_TRUE(host.messages.empty());
  player.expectClean();
}

TEST_F(ListMoveTest, RefusedItemsAreNamedAndTheListIsReadAgain) {
  put({{u"A", 3}, {u"B", 1}});
  // A2 goes from the player behind the list's back; A1 and A2 are then
  // dragged into B. The player moves A1 and refuses A2.
  const Eid gone = track(0, 1)->track()->eid;
  ASSERT_EQ(player.wrap().DeleteTracks({gone}), S_OK);
  const std::vector<std::string> listBefore = listView();
  ASSERT_TRUE(list.canStartDrag({track(0, 0), track(0, 1)}));
  EXPECT_TRUE(hr::Failed(list.moveSelection({rowOf(list.albumAt(1)), treelist::tlMove_Added})));
  EXPECT_EQ(host.messages, (std::vector<unsigned>{17921}));
  EXPECT_EQ(listView(), listBefore);  // the list is not guessed at ...
  EXPECT_EQ(adapter.TakeRefusedMoves(), (std::vector<Eid>{gone}));
  EXPECT_TRUE(adapter.TakeMoveFailed());  // ... it is read again from the player
  EXPECT_FALSE(adapter.TakeMoveFailed());
  reload();
  EXPECT_EQ(playerView(), (std::vector<std::string>{"A: A3", "B: B1 A1"}));
  EXPECT_EQ(listView(), playerView());
  player.expectClean();
}

}  // namespace
