// Loading, drops of files, numbering, erasing and row texts of the
// album/track list. Dragging and moving are in track_list_move.cpp.
#include "treelist/track_list.h"

#include <unordered_set>
#include <utility>

#include "common/debug_log.h"

namespace treelist {

TrackList::TrackList(TreeListModel& model, TrackListHost* host, TrackListDevice* device)
    : model_(model), host_(host), device_(device) {
  model_.setRemovalObserver(this);
}

TrackList::~TrackList() {
  if (model_.removalObserver() == this) model_.setRemovalObserver(nullptr);
}

namespace {

// True when item is top or lies below it.
bool InSubtree(const TreeListItem* item, const TreeListItem* top) {
  for (; item; item = item->parent())
    if (item == top) return true;
  return false;
}

}  // namespace

void TrackList::itemsRemoving(const TreeListItem* top) {
  if (!top || InSubtree(drop_.album, top)) forgetDropAlbum();
  if (!top) {
    endDrag();
    return;
  }
  for (const TrackListItem* item : dragged_) {
    if (InSubtree(item, top)) {
      endDrag();
      return;
    }
  }
}

void TrackList::showMessage(unsigned id) const {
  if (host_) host_->ShowMessage(id);
}

bool TrackList::isAlbumOfThisList(const TrackListItem* item) const {
  return item && item->isAlbum() && item->parent() == &model_.root();
}

// ---- Loading ----------------------------------------------------------------

TrackListItem* TrackList::addLoadedAlbum(const std::string& name, int64_t durationMs, Eid eid) {
  auto data = std::make_unique<AlbumData>();
  data->name.assign(name);
  data->totalDurationMs = durationMs;
  data->eid = eid;
  DebugLog("\n pParent == m_pImageNode, the image icon is 0.");
  return AsTrackItem(model_.insert(nullptr, -1, TrackListItem::MakeAlbum(std::move(data))));
}

namespace {

std::unique_ptr<TrackListItem> MakeLoadedTrack(const LoadedTrack& track) {
  auto data = std::make_unique<TrackData>();
  data->title.assign(LoadedText(track.title));
  data->artist.assign(LoadedText(track.artist));
  data->album.assign(LoadedText(track.album));
  data->genre.assign(LoadedText(track.genre));
  data->durationMs = track.durationMs;
  data->eid = track.eid;
  return TrackListItem::MakeTrack(std::move(data));
}

}  // namespace

TrackListItem* TrackList::addLoadedTrack(TrackListItem* album, const LoadedTrack& track) {
  if (!isAlbumOfThisList(album)) return nullptr;
  return AsTrackItem(model_.insert(album, -1, MakeLoadedTrack(track)));
}

void TrackList::loadAll(const std::vector<LoadedAlbum>& albums) {
  endDrag();
  forgetDropAlbum();
  BulkChange bulk(model_.sink());
  model_.clear();
  std::vector<std::unique_ptr<TreeListItem>> items;
  items.reserve(albums.size());
  for (const LoadedAlbum& loaded : albums) {
    auto data = std::make_unique<AlbumData>();
    data->name.assign(loaded.name);
    data->totalDurationMs = loaded.durationMs;
    data->eid = loaded.eid;
    std::unique_ptr<TrackListItem> album = TrackListItem::MakeAlbum(std::move(data));
    // As when tracks are added one by one, an album opens for its tracks.
    for (const LoadedTrack& track : loaded.tracks)
      TreeListModel::Adopt(*album, -1, MakeLoadedTrack(track), TreeListModel::ParentExpansion::kExpandFirst);
    items.push_back(std::move(album));
  }
  model_.appendAll(nullptr, std::move(items));
  renumber();
}

// ---- A drop of files --------------------------------------------------------

TrackListItem* TrackList::oleInsertFolder(const std::string& name, Eid eid) {
  auto data = std::make_unique<AlbumData>();
  data->name.assign(name);
  data->eid = eid;
  DebugLog("\nOLEInsertFolder(%s), m_pOLEDropParent = %d, droptToHead=%d", data->name.str().c_str(),
           drop_.album ? drop_.album->indexInParent() : -1, drop_.dropToHead ? 1 : 0);
  BulkChange bulk(model_.sink());
  TrackListItem* album = AsTrackItem(model_.insert(nullptr, -1, TrackListItem::MakeAlbum(std::move(data))));
  dropTrackCount_ = 0;
  renumber();
  drop_.album = album;
  drop_.trackPosition = 0;
  drop_.nextRow = model_.rowOf(album) + 1;
  drop_.dropToHead = false;
  return album;
}

TrackListItem* TrackList::addCompletedTrack(const TransferredTrack& track) {
  TrackListItem* album = drop_.album;
  if (!isAlbumOfThisList(album)) return nullptr;
  auto data = std::make_unique<TrackData>();
  data->title.assign(TitleText(track.title));
  data->artist.assign(TrimmedTagText(track.artist));
  data->album.assign(TrimmedTagText(track.album));
  data->genre.assign(TrimmedTagText(track.genre));
  data->durationMs = track.durationMs;
  data->size = track.size;
  data->path.assign(track.sourcePath);
  data->editState = 1;
  data->eid = track.eid;
  BulkChange bulk(model_.sink());
  // The player puts a transferred track after the album's last track, so
  // the list does too; a closed album stays closed and shows the new total.
  TrackListItem* placed = AsTrackItem(model_.insert(album, -1, TrackListItem::MakeTrack(std::move(data)),
                                                    TreeListModel::ParentExpansion::kKeepCollapsed));
  if (!placed) return nullptr;
  ++dropTrackCount_;
  ++drop_.trackPosition;
  if (drop_.nextRow >= 0) ++drop_.nextRow;
  album->album()->totalDurationMs += track.durationMs;
  album->album()->totalSize += track.size;
  if (!album->isExpanded()) {
    int row = model_.rowOf(album);
    if (row >= 0) model_.sink().updateRow(row, album);
  }
  return placed;
}

const DropPosition& TrackList::setDropPosition(DropTarget target) {
  drop_ = DropPosition{};
  dropTrackCount_ = 0;
  TrackListItem* item = target.valid() ? AsTrackItem(model_.itemAt(target.row)) : nullptr;
  if (!item || !item->isRealItem()) return drop_;
  if (item->isTrack()) {
    drop_.album = item->parentAlbum();
    drop_.trackPosition = item->indexInParent() + 1;
  } else {
    drop_.album = item;
    drop_.trackPosition = item->isExpanded() ? 0 : item->childCount();
  }
  if (target.mode == tlMove_Lower) {
    drop_.nextRow = target.row + 1;
  } else {
    drop_.nextRow = target.row;
    drop_.dropToHead = true;
  }
  return drop_;
}

void TrackList::forgetDropAlbum() {
  drop_ = DropPosition{};
  dropTrackCount_ = 0;
}

// ---- Numbering --------------------------------------------------------------

void TrackList::renumber() {
  BulkChange bulk(model_.sink());
  uint32_t albumNumber = 1;
  uint32_t trackNumber = 1;
  TreeListItem& root = model_.root();
  for (int a = 0; a < root.childCount(); ++a) {
    TrackListItem* album = AsTrackItem(root.child(a));
    if (!album || !album->isAlbum()) continue;
    AlbumData& data = *album->album();
    data.albumNumber = albumNumber++;
    data.totalSize = 0;
    data.totalDurationMs = 0;
    data.firstTrackNumber = 0;
    data.lastTrackNumber = 0;
    for (int t = 0; t < album->childCount(); ++t) {
      TrackListItem* track = AsTrackItem(album->child(t));
      if (!track || !track->isTrack()) continue;
      TrackData& td = *track->track();
      td.trackNumber = trackNumber++;
      data.totalSize += td.size;
      data.totalDurationMs += td.durationMs;
      if (t == 0) data.firstTrackNumber = td.trackNumber;
      data.lastTrackNumber = td.trackNumber;
    }
    if (!album->hasChildren()) model_.markCollapsed(album);
  }
  // Totals and open states show in the album rows.
  model_.sink().refreshAll();
}

// ---- Erasing ----------------------------------------------------------------

std::vector<TrackListItem*> TrackList::erasableItems(const std::vector<TreeListItem*>& selected) const {
  std::unordered_set<const TreeListItem*> albums;
  for (TreeListItem* s : selected) {
    const TrackListItem* item = AsTrackItem(s);
    if (item && item->isAlbum() && item->isRealItem()) albums.insert(item);
  }
  std::vector<TrackListItem*> out;
  std::unordered_set<const TreeListItem*> seen;
  for (TreeListItem* s : selected) {
    TrackListItem* item = AsTrackItem(s);
    if (!item || !item->isRealItem() || !model_.contains(item) || !seen.insert(item).second) continue;
    if (item->isTrack() && albums.count(item->parent())) continue;  // goes with its album
    out.push_back(item);
  }
  return out;
}

void TrackList::eraseItems(const std::vector<TrackListItem*>& items) {
  endDrag();
  int rows = 0;
  for (TrackListItem* item : items) {
    if (item == drop_.album) forgetDropAlbum();
    if (model_.isShown(item)) rows += item->rowSpan();
  }
  BulkChange bulk(model_.sink());
  {
    // Removing rows one by one shifts every row below each time; past a
    // few hundred rows one refill of the view is cheaper.
    std::unique_ptr<TreeListModel::QuietChanges> quiet;
    if (rows > kBulkRowThreshold) quiet = std::make_unique<TreeListModel::QuietChanges>(model_);
    for (TrackListItem* item : items) model_.remove(item);
  }
  DebugLog("\nEraseSelectedItem 1");
  renumber();
}

void TrackList::eraseSelectedItem(const std::vector<TreeListItem*>& selected) {
  eraseItems(erasableItems(selected));
}

void TrackList::eraseAll() {
  endDrag();
  forgetDropAlbum();
  model_.clear();
  DebugLog("\nEraseSelectedItem 1");
  renumber();
}

HRESULT TrackList::trackId(TrackListItem* track, Eid& eid) {
  eid = 0;
  if (!track || !track->isTrack()) return hr::kInvalidArg;
  if (track->track()->eid != 0) {
    eid = track->track()->eid;
    return hr::kOk;
  }
  // A row without an identifier: the player says which track stands at the
  // row's position. Positions agree only while the list and the player
  // hold the same tracks (a track the listing could not read shifts them),
  // so the track found must carry the row's title before anything is done
  // to it.
  TrackListItem* album = track->parentAlbum();
  if (!album || !device_) return hr::kUnexpected;
  Eid found = 0;
  HRESULT result =
      device_->GetTrackIdAt(album->album()->eid, static_cast<uint32_t>(track->indexInParent()), found);
  if (hr::Failed(result)) return result;
  std::string title;
  result = device_->GetTrackTitle(found, title);
  if (hr::Failed(result)) return result;
  if (title != LoadedText(track->track()->title.str())) {
    DebugLog("\nThe track at position %d of the album is not the list's '%s'", track->indexInParent(),
             track->track()->title.str().c_str());
    return kListOutOfStep;
  }
  track->track()->eid = found;
  eid = found;
  return hr::kOk;
}

HRESULT TrackList::selectedIds(const std::vector<TreeListItem*>& selected, std::vector<Eid>& albums,
                               std::vector<Eid>& tracks) {
  albums.clear();
  tracks.clear();
  for (TrackListItem* item : erasableItems(selected)) {
    if (item->isAlbum()) {
      albums.push_back(item->album()->eid);
    } else {
      Eid eid = 0;
      HRESULT result = trackId(item, eid);
      if (hr::Failed(result)) return result;
      tracks.push_back(eid);
    }
  }
  return hr::kOk;
}

// ---- Rows ---------------------------------------------------------------------

std::string TrackList::cellText(const TreeListItem* item, int column) const {
  const TrackListItem* t = AsTrackItem(item);
  if (!t) return {};
  if (const AlbumData* album = t->album()) {
    if (column == column::kTitle) return album->name.str();
    // A closed album shows its total; an open one leaves the sum to its tracks.
    if (column == column::kTime && !t->isExpanded()) return FormatPlayTime(album->totalDurationMs);
    return {};
  }
  if (const TrackData* track = t->track()) {
    switch (column) {
      case column::kTitle:
        return track->title.str();
      case column::kArtist:
        return track->artist.str();
      case column::kTime:
        return FormatPlayTime(track->durationMs);
      case column::kAlbum:
        return track->album.str();
      case column::kGenre:
        return track->genre.str();
      default:
        return {};
    }
  }
  return {};
}

RowLook TrackList::rowLook(const TreeListItem* item) const {
  const TrackListItem* t = AsTrackItem(item);
  if (!t) return {};
  if (t->isTrack()) return {image::kTrack, 1};
  if (t->isRealItem()) return {t->isExpanded() ? image::kAlbumOpen : image::kAlbumClosed, 0};
  return {t->isExpanded() ? image::kPlaceholderOpen : image::kPlaceholderClosed, 0};
}

bool TrackList::storeEditedText(TreeListItem* item, int column, const std::string& text) {
  TrackListItem* t = AsTrackItem(item);
  if (!t) return false;
  if (AlbumData* album = t->album()) {
    if (column != column::kTitle) return false;
    album->name.assign(text);
    return true;
  }
  TrackData* track = t->track();
  if (!track) return false;
  switch (column) {
    case column::kTitle:
      track->title.assign(text);
      return true;
    case column::kArtist:
      track->artist.assign(text);
      return true;
    case column::kAlbum:
      track->album.assign(text);
      return true;
    case column::kGenre:
      track->genre.assign(text);
      return true;
    default:
      return false;  // the time is the player's, not the user's
  }
}

void TrackList::expandAll() {
  model_.setExpandedWhere([](const TreeListItem& item) { return item.hasChildren(); }, true);
}

void TrackList::collapseAll() {
  model_.setExpandedWhere([](const TreeListItem&) { return true; }, false);
}

}  // namespace treelist
