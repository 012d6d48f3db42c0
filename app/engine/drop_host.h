// What the drop target needs from the main window (CPellmarkDlg implements
// it). All of it is called on the UI thread.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/engine/refusal_list.h"
#include "app/transfer_progress_dlg.h"
#include "device/ipac_wrap.h"
#include "treelist/track_list_ctrl_win32.h"

namespace app::engine {

class DropHost {
 public:
  virtual ~DropHost() = default;
  // The album/track list the target is registered for.
  virtual HWND ListWindow() = 0;
  virtual treelist::CTrackListCtrl& TrackList() = 0;
  virtual CTransferProgressDlg& ProgressWindow() = 0;
  // Shows the progress window for a new drop (placed over the list, main
  // window disabled, first picture, running button, message 16896).
  virtual void PrepareForTransfer() = 0;
  // Hands the collected lists over. Before calling, the drop target has set
  // the list's drop position from the drop's last target
  // (TrackList().SetDropPositionFromTarget), so the album under the drop
  // point is TrackList().List().dropPosition().album.
  virtual void DoOleDrop(bool accepted, bool refused) = 0;
  // The files the drop skipped, for the box at its end; called just before
  // DoOleDrop. A host that names no files may ignore them.
  virtual void KeepRefusals(const RefusalList& refusals) { (void)refusals; }
  // True while the drop thread (or a listing) runs.
  virtual bool IsTransferRunning() const = 0;
  // Albums the player holds now.
  virtual size_t AlbumCount() const = 0;
  virtual device::CIPACWrap& Device() = 0;
  virtual void EnableMainWindow(bool enable) = 0;
};

}  // namespace app::engine
