// The device wrapper behind the tree list's device interface: the list
// moves, erases and finds tracks through it and never sees the wrapper. A
// move is one call of the library with every item, in one transaction; when
// the player refuses it, the adapter keeps which items it refused, so that
// the main window can name them and read the list again from the player.
#pragma once

#include <vector>

#include "device/ipac_wrap.h"
#include "mp3/tag_code_page.h"
#include "platform/codepage.h"
#include "treelist/track_list_device.h"

namespace device {

class CTrackListDeviceAdapter : public treelist::TrackListDevice {
 public:
  explicit CTrackListDeviceAdapter(CIPACWrap& wrap) : m_wrap(wrap) {}

  HRESULT MoveItems(treelist::Eid reference, treelist::Placement placement,
                    const std::vector<treelist::Eid>& items) override;
  HRESULT GetTrackIdAt(treelist::Eid album, uint32_t index, treelist::Eid& track) override {
    return m_wrap.GetTrackIdAt(album, index, track);
  }
  // The title in the tag code page, as a listing shows it.
  HRESULT GetTrackTitle(treelist::Eid track, std::string& title) override {
    title.clear();
    TrackRecord record;
    const HRESULT h = m_wrap.GetTrackRecord(track, record);
    if (FAILED(h)) return h;
    if (!sys::FromUtf16(mp3::TagCodePage(), record.title, title, sys::kNoLimit, '?'))
      sys::FromUtf16(sys::kAnsiCodePage, record.title, title, sys::kNoLimit, '?');
    title = treelist::LoadedText(title);
    return S_OK;
  }
  HRESULT DeleteTracks(const std::vector<treelist::Eid>& tracks) override {
    return m_wrap.DeleteTracks(tracks);
  }
  HRESULT DeleteAlbums(const std::vector<treelist::Eid>& albums) override {
    return m_wrap.DeleteAlbums(albums);
  }

  // The items the last move's player refused, in the move's order; taken
  // (and forgotten) by the caller that reports them.
  std::vector<treelist::Eid> TakeRefusedMoves();
  // True once a move failed, until taken: the player may have moved some of
  // the items, so the list no longer shows what it holds.
  bool TakeMoveFailed();

 private:
  CIPACWrap& m_wrap;
  std::vector<treelist::Eid> m_refused;
  bool m_moveFailed = false;
};

static_assert(static_cast<uint32_t>(treelist::Placement::kBefore) == kPlaceBefore);
static_assert(static_cast<uint32_t>(treelist::Placement::kAfter) == kPlaceAfter);
static_assert(static_cast<uint32_t>(treelist::Placement::kInto) == kPlaceInto);

}  // namespace device
