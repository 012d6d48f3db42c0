// A track list over an in-memory player, with the rows mirrored in a vector
// and the owner's messages recorded.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/treelist/memory_player.h"
#include "tests/treelist/mirror_rows.h"
#include "treelist/track_list.h"

namespace treelisttest {

class RecordingHost : public treelist::TrackListHost {
 public:
  void ShowMessage(unsigned messageId) override { messages.push_back(messageId); }
  void ShowText(const std::string& text) override { texts.push_back(text); }
  bool IsTransferRunning() const override { return transferRunning; }
  void OnAlbumOrderChanged() override { ++albumOrderChanges; }
  void OnListOutOfStep() override { ++outOfStep; }

  std::vector<unsigned> messages;
  std::vector<std::string> texts;
  bool transferRunning = false;
  int albumOrderChanges = 0;
  int outOfStep = 0;
};

// Puts albums named as given with that many tracks ("<name>1", ...) on the
// player and answers them as the loader would read them back.
std::vector<treelist::LoadedAlbum> PutOnPlayer(MemoryPlayer& player,
                                               const std::vector<std::pair<std::string, int>>& albums);

class TrackListFixture : public ::testing::Test {
 protected:
  // Puts albums named as given with that many tracks ("<name>1", ...) on
  // the player and loads the list from it.
  void load(const std::vector<std::pair<std::string, int>>& albums);
  void load(int albums, int tracksPerAlbum);

  treelist::TrackListItem* album(int index) { return list.albumAt(index); }
  treelist::TrackListItem* track(int albumIndex, int index) {
    return treelist::AsTrackItem(album(albumIndex)->child(index));
  }
  treelist::TrackListItem* itemAt(int row) { return treelist::AsTrackItem(model.itemAt(row)); }
  int rowOf(const treelist::TreeListItem* item) { return model.rowOf(item); }
  treelist::Eid eidOf(int albumIndex) { return album(albumIndex)->album()->eid; }

  // One text per row: "+Name" for an open album, "-Name" for a closed one,
  // the title for a track.
  std::vector<std::string> rowTexts() const;
  // The player's tracks of an album, by title.
  std::vector<std::string> playerTitles(int albumIndex) { return player.trackTitles(eidOf(albumIndex)); }
  // The list's tracks of an album, by title.
  std::vector<std::string> listTitles(int albumIndex);
  // The mirrored rows are exactly the rows of the tree.
  void expectRowsInStep();
  // Erases the selection as the main window does: the selection's ids, the
  // player's erase (tracks, then albums), then the list; a failure leaves
  // the list as it was.
  HRESULT eraseAsTheMainWindowDoes(const std::vector<treelist::TreeListItem*>& selected);

  MirrorRows rows;
  treelist::TreeListModel model{rows};
  MemoryPlayer player;
  RecordingHost host;
  treelist::TrackList list{model, &host, &player};
};

}  // namespace treelisttest
