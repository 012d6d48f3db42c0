// The device wrapper behind the tree list's device interface: the list
// moves, erases and finds tracks through it and never sees the wrapper.
#pragma once

#include "device/ipac_wrap.h"
#include "treelist/track_list_device.h"

namespace device {

class CTrackListDeviceAdapter : public treelist::TrackListDevice {
 public:
  explicit CTrackListDeviceAdapter(CIPACWrap& wrap) : m_wrap(wrap) {}

  HRESULT MoveItems(treelist::Eid reference, treelist::Placement placement,
                    const std::vector<treelist::Eid>& items) override {
    return m_wrap.MoveItems(reference, static_cast<uint32_t>(placement), items);
  }
  HRESULT GetTrackIdAt(treelist::Eid album, uint32_t index, treelist::Eid& track) override {
    return m_wrap.GetTrackIdAt(album, index, track);
  }
  HRESULT DeleteTracks(const std::vector<treelist::Eid>& tracks) override {
    return m_wrap.DeleteTracks(tracks);
  }
  HRESULT DeleteAlbums(const std::vector<treelist::Eid>& albums) override {
    return m_wrap.DeleteAlbums(albums);
  }

 private:
  CIPACWrap& m_wrap;
};

static_assert(static_cast<uint32_t>(treelist::Placement::kBefore) == kPlaceBefore);
static_assert(static_cast<uint32_t>(treelist::Placement::kAfter) == kPlaceAfter);
static_assert(static_cast<uint32_t>(treelist::Placement::kInto) == kPlaceInto);

}  // namespace device
