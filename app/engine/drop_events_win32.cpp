#include "app/engine/drop_events_win32.h"

#include "app/debug_log.h"
#include "app/engine/posted_album_name.h"
#include "app/engine/posted_track.h"
#include "app/registered_messages.h"
#include "winui/message_text.h"

namespace app::engine {

void CPostingJobEvents::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!::PostMessageW(window_, message, wParam, lParam)) {
    DebugLog("\nDrop thread: PostMessage(0x%04X) failed, error %u", message,
             static_cast<unsigned>(::GetLastError()));
  }
}

void CPostingJobEvents::OneFolderCreated(const std::u16string* name, int64_t eid) {
  if (!PostOneFolderCreated(window_, name, eid)) {
    DebugLog("\nDrop thread: OneFolderCreated could not be posted, error %u",
             static_cast<unsigned>(::GetLastError()));
  }
}

void CPostingJobEvents::OneTrackCompleted(const CompletedTrack& track) {
  if (!PostOneTrackCompleted(window_, track)) {
    DebugLog("\nDrop thread: OneTrackCompleted could not be posted, error %u",
             static_cast<unsigned>(::GetLastError()));
  }
}

void CPostingJobEvents::ClearListItems() { Post(messages::kClearListItems.id(), 0, 0); }

void CPostingJobEvents::ShowMessage(unsigned messageId) {
  winui::ShowMessage(nullptr, messageId, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TASKMODAL);
}

void CPostingJobEvents::TransferCompleted() { Post(messages::kTransferCompleted.id(), 0, 0); }

}  // namespace app::engine
