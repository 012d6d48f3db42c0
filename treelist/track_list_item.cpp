#include "treelist/track_list_item.h"

#include <utility>

namespace treelist {

std::unique_ptr<TrackListItem> TrackListItem::MakeAlbum(std::unique_ptr<AlbumData> data) {
  std::unique_ptr<TrackListItem> item(new TrackListItem(false));
  item->album_ = data ? std::move(data) : std::make_unique<AlbumData>();
  return item;
}

std::unique_ptr<TrackListItem> TrackListItem::MakeTrack(std::unique_ptr<TrackData> data) {
  std::unique_ptr<TrackListItem> item(new TrackListItem(true));
  item->track_ = data ? std::move(data) : std::make_unique<TrackData>();
  return item;
}

bool TrackListItem::mayEditColumn(int column) const {
  if (isAlbum()) return column == 0;
  return column >= 0;
}

void TrackListItem::release() {
  // The records go first, then the children, as the base does.
  track_.reset();
  album_.reset();
  TreeListItem::release();
}

TrackListItem* TrackListItem::parentAlbum() const {
  TrackListItem* p = AsTrackItem(parent());
  return p && p->isAlbum() ? p : nullptr;
}

}  // namespace treelist
