// The device wrapper as the album/track list's device, with one addition:
// a move that the player refuses for some of the items remembers which
// items failed, so that the main window can name them in one message
// instead of a bare failure.
#pragma once

#include <vector>

#include "device/ipac_wrap.h"
#include "treelist/track_list_device.h"

namespace app {

class CTrackListDevice : public treelist::TrackListDevice {
 public:
  explicit CTrackListDevice(device::CIPACWrap& wrap) : wrap_(wrap) {}

  // Moves the items one by one so that each item's own result is known;
  // the order the items end up in is the order of `items`, as a single
  // move of all of them would leave it. Stops at nothing: items after a
  // refused one are still moved. The first failure is the result.
  HRESULT MoveItems(treelist::Eid reference, treelist::Placement placement,
                    const std::vector<treelist::Eid>& items) override;
  HRESULT GetTrackIdAt(treelist::Eid album, uint32_t index, treelist::Eid& track) override {
    return wrap_.GetTrackIdAt(album, index, track);
  }
  // Read and converted as the loader does (listing_texts.h).
  HRESULT GetTrackTitle(treelist::Eid track, std::string& title) override;
  HRESULT DeleteTracks(const std::vector<treelist::Eid>& tracks) override {
    return wrap_.DeleteTracks(tracks);
  }
  HRESULT DeleteAlbums(const std::vector<treelist::Eid>& albums) override {
    return wrap_.DeleteAlbums(albums);
  }

  // The items the last move could not place, in the move's order; taken
  // (and forgotten) by the caller that reports them.
  std::vector<treelist::Eid> TakeFailedMoves();
  // True when the last move moved some items and refused others: the list
  // no longer matches the player.
  bool LastMovePartial() const { return lastMovePartial_; }

 private:
  device::CIPACWrap& wrap_;
  std::vector<treelist::Eid> failed_;
  bool lastMovePartial_ = false;
};

}  // namespace app
