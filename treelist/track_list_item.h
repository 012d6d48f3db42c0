// An album or track of the album/track list: a tree item that owns the
// album's or the track's record. Albums are non-leaf items with AlbumData,
// tracks are leaves with TrackData.
#pragma once

#include <memory>

#include "treelist/track_records.h"
#include "treelist/tree_list_item.h"

namespace treelist {

class TrackListItem : public TreeListItem {
 public:
  static constexpr int kKind = 1;

  static std::unique_ptr<TrackListItem> MakeAlbum(std::unique_ptr<AlbumData> data);
  static std::unique_ptr<TrackListItem> MakeTrack(std::unique_ptr<TrackData> data);

  // An album allows editing of its name (column 0) only; a track allows
  // every column (the time column is never stored, see TrackList).
  bool mayEditColumn(int column) const override;
  void release() override;

  bool isAlbum() const { return album_ != nullptr; }
  bool isTrack() const { return track_ != nullptr; }
  // Rows of items that are not real items are ignored by selection, erase
  // and move.
  bool isRealItem() const { return realItem_ != 0; }
  void setRealItem(bool real) { realItem_ = real ? 1 : 0; }

  AlbumData* album() const { return album_.get(); }
  TrackData* track() const { return track_.get(); }
  // The album a track belongs to; null for albums and detached tracks.
  TrackListItem* parentAlbum() const;

 private:
  TrackListItem(bool leaf) : TreeListItem(kKind, leaf) {}

  int realItem_ = 1;
  std::unique_ptr<TrackData> track_;
  std::unique_ptr<AlbumData> album_;
};

// The list's items are all TrackListItems; these casts say so in one place.
inline TrackListItem* AsTrackItem(TreeListItem* item) {
  return item && item->kind() == TrackListItem::kKind ? static_cast<TrackListItem*>(item) : nullptr;
}
inline const TrackListItem* AsTrackItem(const TreeListItem* item) {
  return item && item->kind() == TrackListItem::kKind ? static_cast<const TrackListItem*>(item) : nullptr;
}

}  // namespace treelist
