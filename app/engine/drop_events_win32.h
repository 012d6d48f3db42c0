// The drop phases' reports (job_events.h) as registered messages posted to
// the main window. Messages for the user are shown in boxes from the drop
// thread itself (with no owner window), as the connectivity thread does:
// the main window is disabled behind the progress window meanwhile.
#pragma once

#include <windows.h>

#include "app/engine/job_events.h"

namespace app::engine {

class CPostingJobEvents final : public JobEvents {
 public:
  explicit CPostingJobEvents(HWND mainWindow) : window_(mainWindow) {}

  void OneFolderCreated(const std::u16string* name, int64_t eid) override;
  void OneTrackCompleted(const CompletedTrack& track) override;
  void ClearListItems() override;
  void ShowMessage(unsigned messageId) override;
  void TransferCompleted() override;

 private:
  void Post(UINT message, WPARAM wParam, LPARAM lParam) const;
  HWND window_;
};

}  // namespace app::engine
