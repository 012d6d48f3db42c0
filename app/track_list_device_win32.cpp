#include "app/track_list_device_win32.h"

#include "app/debug_log.h"
#include "app/listing_texts.h"
#include "mp3/tag_code_page.h"

namespace app {

HRESULT CTrackListDevice::GetTrackTitle(treelist::Eid track, std::string& title) {
  title.clear();
  device::TrackRecord record;
  const HRESULT h = wrap_.GetTrackRecord(track, record);
  if (FAILED(h)) return h;
  title = ToLoadedTrack(record, mp3::TagCodePage()).title;
  return S_OK;
}

HRESULT CTrackListDevice::MoveItems(treelist::Eid reference, treelist::Placement placement,
                                    const std::vector<treelist::Eid>& items) {
  failed_.clear();
  lastMovePartial_ = false;
  const uint32_t code = static_cast<uint32_t>(placement);
  HRESULT first = S_OK;
  size_t moved = 0;
  auto moveOne = [&](size_t i) {
    const HRESULT h = wrap_.MoveItems(reference, code, {items[i]});
    if (FAILED(h)) {
      DebugLog("\nAn error occurred when moving the #%d item.", static_cast<int>(i));
      failed_.push_back(items[i]);
      if (SUCCEEDED(first)) first = h;
    } else {
      ++moved;
    }
  };
  if (placement == treelist::Placement::kAfter) {
    // Each item goes right after the reference, so the last goes first.
    for (size_t i = items.size(); i-- > 0;) moveOne(i);
    std::vector<treelist::Eid> inOrder(failed_.rbegin(), failed_.rend());
    failed_ = std::move(inOrder);
  } else {
    for (size_t i = 0; i < items.size(); ++i) moveOne(i);
  }
  lastMovePartial_ = FAILED(first) && moved > 0;
  return first;
}

std::vector<treelist::Eid> CTrackListDevice::TakeFailedMoves() {
  std::vector<treelist::Eid> out;
  out.swap(failed_);
  return out;
}

}  // namespace app
