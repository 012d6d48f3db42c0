#include "app/engine/posted_track.h"

#include <new>

#include "app/registered_messages.h"

namespace app::engine {

bool PostOneTrackCompleted(HWND window, const CompletedTrack& track) {
  std::unique_ptr<CompletedTrack> copy(new (std::nothrow) CompletedTrack(track));
  if (!copy) return false;
  if (!::PostMessageW(window, messages::kOneTrackCompleted.id(), reinterpret_cast<WPARAM>(copy.get()), 0))
    return false;
  copy.release();  // the handler owns it now
  return true;
}

std::unique_ptr<CompletedTrack> TakePostedTrack(WPARAM wParam) {
  return std::unique_ptr<CompletedTrack>(reinterpret_cast<CompletedTrack*>(wParam));
}

}  // namespace app::engine
