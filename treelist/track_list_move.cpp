// Dragging albums or tracks to a new place: which selections may be
// dragged, which rows may take them, and the move on the player and in the
// list.
#include <algorithm>
#include <memory>
#include <unordered_set>
#include <utility>

#include "treelist/track_list.h"

namespace treelist {

bool TrackList::canStartDrag(const std::vector<TreeListItem*>& selected) {
  endDrag();
  if (host_ && host_->IsTransferRunning()) return false;
  bool albums = false;
  bool tracks = false;
  std::vector<TrackListItem*> items;
  for (TreeListItem* s : selected) {
    TrackListItem* item = AsTrackItem(s);
    if (!item || !model_.contains(item)) continue;
    (item->isAlbum() ? albums : tracks) = true;
    if (item->isRealItem()) items.push_back(item);
  }
  if (items.empty() || (albums && tracks)) return false;
  dragged_ = std::move(items);
  dragKind_ = albums ? DragKind::kAlbums : DragKind::kTracks;
  return true;
}

void TrackList::beginFileDrag() {
  dragged_.clear();
  dragKind_ = DragKind::kFiles;
}

void TrackList::endDrag() {
  dragged_.clear();
  dragKind_ = DragKind::kNone;
}

DropTarget TrackList::adjustDropTarget(DropTarget proposed) const {
  if (!proposed.valid() || dragKind_ == DragKind::kNone) return DropTarget::None();
  const TrackListItem* item = AsTrackItem(model_.itemAt(proposed.row));
  if (!item) return DropTarget::None();

  if (dragKind_ == DragKind::kAlbums) {
    if (item->isAlbum()) {
      // Below an open album would be between the album and its tracks.
      if (item->isExpanded() && proposed.mode != tlMove_Upper) return DropTarget::None();
      return proposed;
    }
    // Below the very last row the albums go to the end of the list.
    if (proposed.row == model_.rowCount() - 1 && proposed.mode == tlMove_Lower) return proposed;
    return DropTarget::None();
  }

  // Tracks, dragged in the list or as files from outside.
  if (item->isAlbum()) {
    if (!item->isExpanded()) return {proposed.row, tlMove_Added};
    if (proposed.mode == tlMove_Upper) {
      // Above an open album means after the last track of the album above.
      const TrackListItem* above = AsTrackItem(model_.itemAt(proposed.row - 1));
      if (!above || above->isAlbum()) return DropTarget::None();
      return {proposed.row - 1, tlMove_Lower};
    }
  }
  return proposed;
}

bool TrackList::stillInList(const TrackListItem* item) const { return item && model_.contains(item); }

namespace {

// How many of the items stand among parent's children before position.
int MovedAbove(const std::vector<TrackListItem*>& items, const TreeListItem* parent, int position) {
  int n = 0;
  for (const TrackListItem* item : items)
    if (item->parent() == parent && item->indexInParent() < position) ++n;
  return n;
}

// True when the items already stand, in order, where the move would put them.
bool AlreadyInPlace(const std::vector<TrackListItem*>& items, const TreeListItem* parent, int position) {
  int corrected = position - MovedAbove(items, parent, position);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i]->parent() != parent || items[i]->indexInParent() != corrected + static_cast<int>(i))
      return false;
  return true;
}

// The reference for the player when the natural one is itself moved: the
// first sibling that stays, at or after position (the items go before it),
// else the last one before it (after it). Null when every child moves.
const TrackListItem* StayingNeighbour(const std::vector<TrackListItem*>& items, const TreeListItem* parent,
                                      int position, Placement& placement) {
  std::unordered_set<const TreeListItem*> moving(items.begin(), items.end());
  for (int i = std::max(position, 0); i < parent->childCount(); ++i) {
    if (!moving.count(parent->child(i))) {
      placement = Placement::kBefore;
      return AsTrackItem(parent->child(i));
    }
  }
  for (int i = std::min(position, parent->childCount()) - 1; i >= 0; --i) {
    if (!moving.count(parent->child(i))) {
      placement = Placement::kAfter;
      return AsTrackItem(parent->child(i));
    }
  }
  return nullptr;
}

bool Contains(const std::vector<TrackListItem*>& items, const TreeListItem* item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace

HRESULT TrackList::moveSelection(DropTarget target) {
  if (!target.valid() || dragged_.empty() || dragKind_ == DragKind::kFiles) return hr::kFalse;
  for (const TrackListItem* item : dragged_)
    if (!stillInList(item)) return hr::kFalse;
  TrackListItem* targetItem = AsTrackItem(model_.itemAt(target.row));
  if (!targetItem || !targetItem->isRealItem()) return hr::kFalse;
  return dragKind_ == DragKind::kAlbums ? moveAlbums(targetItem, target.mode)
                                        : moveTracks(targetItem, target.mode);
}

HRESULT TrackList::moveTracks(TrackListItem* target, TreeListMove mode) {
  TrackListItem* album = target->isAlbum() ? target : target->parentAlbum();
  if (!album) return hr::kFalse;

  // Position among the album's tracks, before the moved ones are taken out,
  // and the reference the player places them by.
  int position = 0;
  const TrackListItem* reference = nullptr;
  Placement placement = Placement::kInto;
  if (target->isTrack()) {
    position = target->indexInParent() + (mode == tlMove_Lower ? 1 : 0);
    reference = target;
    placement = mode == tlMove_Lower ? Placement::kAfter : Placement::kBefore;
  } else if (mode == tlMove_Added || !album->isExpanded()) {
    position = album->childCount();
    reference = album;
  } else {
    position = 0;
    reference = album->hasChildren() ? AsTrackItem(album->firstChild()) : album;
    placement = album->hasChildren() ? Placement::kBefore : Placement::kInto;
  }
  if (reference != album && Contains(dragged_, reference)) {
    // Dropped onto one of the moved tracks: place by a track that stays.
    reference = StayingNeighbour(dragged_, album, position, placement);
    if (!reference) {
      reference = album;
      placement = Placement::kInto;
    }
  }
  if (AlreadyInPlace(dragged_, album, position)) return hr::kFalse;

  int incoming = 0;
  for (const TrackListItem* item : dragged_)
    if (item->parent() != album) ++incoming;
  if (album->childCount() + incoming > kMaxTracksPerAlbum) {
    showMessage(msg::kAlbumFull);
    return hr::kFalse;
  }
  if (!device_) return hr::kUnexpected;

  // Every id is found before the player moves anything: positions change.
  std::vector<Eid> ids;
  ids.reserve(dragged_.size());
  for (TrackListItem* item : dragged_) {
    Eid eid = 0;
    HRESULT result = trackId(item, eid);
    if (hr::Failed(result)) return lookupFailed(result);
    ids.push_back(eid);
  }
  Eid referenceId = reference->isAlbum() ? reference->album()->eid : 0;
  if (reference->isTrack()) {
    HRESULT result = trackId(const_cast<TrackListItem*>(reference), referenceId);
    if (hr::Failed(result)) return lookupFailed(result);
  }
  HRESULT result = device_->MoveItems(referenceId, placement, ids);
  if (hr::Failed(result)) {
    showMessage(msg::kDeviceFailure);
    return result;
  }
  BulkChange bulk(model_.sink());
  relocate(album, position - MovedAbove(dragged_, album, position));
  renumber();
  return hr::kOk;
}

HRESULT TrackList::moveAlbums(TrackListItem* target, TreeListMove mode) {
  TreeListItem& root = model_.root();
  int position = 0;
  const TrackListItem* reference = nullptr;
  Placement placement = Placement::kBefore;
  if (target->isTrack()) {
    // Only the last row takes albums this way: they go to the end.
    reference = target->parentAlbum();
    if (!reference) return hr::kFalse;
    position = root.childCount();
    placement = Placement::kAfter;
  } else {
    reference = target;
    position = target->indexInParent() + (mode == tlMove_Lower ? 1 : 0);
    placement = mode == tlMove_Lower ? Placement::kAfter : Placement::kBefore;
  }
  if (Contains(dragged_, reference)) {
    reference = StayingNeighbour(dragged_, &root, position, placement);
    if (!reference) return hr::kFalse;  // every album moves: the order cannot change
  }
  if (AlreadyInPlace(dragged_, &root, position)) return hr::kFalse;
  if (!device_) return hr::kUnexpected;

  std::vector<Eid> ids;
  ids.reserve(dragged_.size());
  for (const TrackListItem* item : dragged_) ids.push_back(item->album()->eid);
  HRESULT result = device_->MoveItems(reference->album()->eid, placement, ids);
  if (hr::Failed(result)) {
    showMessage(msg::kDeviceFailure);
    return result;
  }
  BulkChange bulk(model_.sink());
  relocate(&root, position - MovedAbove(dragged_, &root, position));
  renumber();
  if (host_) host_->OnAlbumOrderChanged();
  return hr::kOk;
}

HRESULT TrackList::lookupFailed(HRESULT result) {
  // Out of step with the player: the move is not made, and the list is read
  // again so that it shows what the player holds.
  if (result == kListOutOfStep) {
    if (host_) host_->OnListOutOfStep();
  } else {
    showMessage(msg::kDeviceFailure);
  }
  return result;
}

void TrackList::relocate(TreeListItem* parent, int position) {
  int rows = 0;
  for (const TrackListItem* item : dragged_) rows += item->rowSpan();
  // Moving many rows one by one shifts the rows below each time; past a
  // few hundred rows one refill of the view is cheaper.
  std::unique_ptr<TreeListModel::QuietChanges> quiet;
  if (2 * rows > kBulkRowThreshold) quiet = std::make_unique<TreeListModel::QuietChanges>(model_);
  std::vector<std::unique_ptr<TreeListItem>> taken;
  taken.reserve(dragged_.size());
  for (TrackListItem* item : dragged_) taken.push_back(model_.detach(item));
  for (auto& item : taken) {
    // An album that receives tracks opens to show them; open albums that
    // were moved keep their state.
    if (model_.insert(parent, position, std::move(item))) ++position;
  }
}

}  // namespace treelist
