#include "tests/treelist/track_list_fixture.h"

namespace treelisttest {

std::vector<treelist::LoadedAlbum> PutOnPlayer(MemoryPlayer& player,
                                               const std::vector<std::pair<std::string, int>>& albums) {
  std::vector<treelist::LoadedAlbum> loaded;
  for (const auto& [name, count] : albums) {
    treelist::LoadedAlbum album;
    album.name = name;
    album.eid = player.addAlbum(name);
    for (int i = 1; i <= count; ++i) {
      treelist::LoadedTrack track;
      track.title = name + std::to_string(i);
      track.artist = "Artist";
      track.album = name;
      track.genre = "Rock";
      track.durationMs = 60000 * i;
      track.eid = player.addTrack(album.eid, track.title);
      album.tracks.push_back(track);
    }
    loaded.push_back(album);
  }
  return loaded;
}

void TrackListFixture::load(const std::vector<std::pair<std::string, int>>& albums) {
  list.loadAll(PutOnPlayer(player, albums));
}

void TrackListFixture::load(int albums, int tracksPerAlbum) {
  std::vector<std::pair<std::string, int>> albumSizes;
  for (int i = 0; i < albums; ++i)
    albumSizes.emplace_back(std::string(1, static_cast<char>('A' + i)), tracksPerAlbum);
  load(albumSizes);
}

std::vector<std::string> TrackListFixture::rowTexts() const {
  std::vector<std::string> out;
  for (treelist::TreeListItem* item : rows.rows) {
    const treelist::TrackListItem* t = treelist::AsTrackItem(item);
    std::string text = list.cellText(item, treelist::column::kTitle);
    if (t && t->isAlbum()) text = (t->isExpanded() ? "+" : "-") + text;
    out.push_back(text);
  }
  return out;
}

std::vector<std::string> TrackListFixture::listTitles(int albumIndex) {
  std::vector<std::string> out;
  treelist::TrackListItem* a = album(albumIndex);
  for (int i = 0; i < a->childCount(); ++i) out.push_back(track(albumIndex, i)->track()->title.str());
  return out;
}

void TrackListFixture::expectRowsInStep() {
  EXPECT_EQ(rows.fault, "");
  EXPECT_EQ(rows.bulkDepth, 0);
  EXPECT_EQ(rows.rows, model.shownItems());
  ASSERT_EQ(static_cast<int>(rows.rows.size()), model.rowCount());
  for (int r = 0; r < model.rowCount(); ++r) {
    EXPECT_EQ(model.itemAt(r), rows.rows[static_cast<size_t>(r)]) << "row " << r;
    EXPECT_EQ(model.rowOf(rows.rows[static_cast<size_t>(r)]), r) << "row " << r;
  }
}

HRESULT TrackListFixture::eraseAsTheMainWindowDoes(const std::vector<treelist::TreeListItem*>& selected) {
  std::vector<treelist::Eid> albums;
  std::vector<treelist::Eid> tracks;
  HRESULT h = list.selectedIds(selected, albums, tracks);
  if (hr::Succeeded(h) && !tracks.empty()) h = player.DeleteTracks(tracks);
  if (hr::Succeeded(h) && !albums.empty()) h = player.DeleteAlbums(albums);
  if (hr::Succeeded(h)) list.eraseSelectedItem(selected);
  return h;
}

}  // namespace treelisttest
