// The registered messages the worker threads and the device wrapper post
// to the main window, and the load thread's report.
#include "app/command_line_drop.h"
#include "app/debug_log.h"
#include "app/engine/drop_phases.h"
#include "app/engine/posted_album_name.h"
#include "app/engine/posted_track.h"
#include "app/engine/skipped_files_box_win32.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg.h"
#include "app/pellmark_dlg_res.h"
#include "app/progress_report.h"
#include "app/registered_messages.h"
#include "app/transfer_progress_dlg.h"
#include "mp3/tag_code_page.h"
#include "platform/codepage.h"
#include "platform/cost_meter.h"
#include "win32/wide_text.h"
#include "winui/message_text.h"

namespace app {

namespace {

std::u16string FromCodePage(uint32_t codePage, const std::string& narrow) {
  std::u16string out;
  if (!sys::ToUtf16(codePage, narrow, out)) sys::ToUtf16(sys::kAnsiCodePage, narrow, out);
  return out;
}

}  // namespace

bool CPellmarkDlg::dispatchRegistered(UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace messages;
  // Registered messages are numbered from 0xC000 on.
  if (message < 0xC000) return false;
  costs::Scope meter(costs::Area::kUiUpdates);
  if (kMediumChanged.is(message)) {
    onMediumChanged(wParam, lParam);
  } else if (kRunningState.is(message)) {
    onRunningState(wParam, lParam);
  } else if (kTransferCompleted.is(message)) {
    onTransferCompleted();
  } else if (kOneTrackCompleted.is(message)) {
    onOneTrackCompleted(wParam);
  } else if (kOneFolderCreated.is(message)) {
    onOneFolderCreated(wParam, lParam);
  } else if (kTransferCancelled.is(message)) {
    onTransferCancelled();
  } else if (kMediumDisconnected.is(message)) {
    onMediumDisconnected();
  } else if (kClearListItems.is(message)) {
    onClearListItems();
  } else {
    // "TransferError" is registered but carries nothing to act on.
    return false;
  }
  return true;
}

void CPellmarkDlg::onMediumChanged(WPARAM, LPARAM) {
  // The items the message points to are not read: a posted pointer may
  // come from anywhere (another process can post this message too) and its
  // layout is not fixed. The player itself says what it holds, so the
  // listing is read again from it instead.
  KVXFringeLockGuard guard(engine::SharedAlbumLock());
  if (mediumListShown_) return;
  list_.RemoveAllItems();
  ::EnableWindow(list_.hwnd(), TRUE);
  enableButtons(true);
  relist();
}

void CPellmarkDlg::onRunningState(WPARAM wParam, LPARAM lParam) {
  if (!progress_) return;
  RunningStateInput in;
  in.sequence = static_cast<int32_t>(wParam);
  in.percent = static_cast<uint32_t>(lParam);
  std::string title;
  jobs_.CurrentJobTitle(in.sequence, title, in.queueSize);
  in.title = FromCodePage(mp3::TagCodePage(), title);
  in.albumName = progressAlbumName_;
  in.tracksDone = tracksDoneInDrop_;
  const RunningStateView view = DescribeRunningState(in);
  switch (view.action) {
    case RunningStateAction::kIgnore:
      return;
    case RunningStateAction::kFinishing:
      progress_->SetProgressText(winui::MessageText(msg::kFinishingTrack));
      progress_->SetButtonState(kProgressButtonDisabled);
      return;
    case RunningStateAction::kProgress:
      progress_->SetProgressText(win::WideFromUtf16(view.progressText));
      setItemText(IDC_STATUS_LINE, win::WideFromUtf16(view.statusText));
      if (!warningUp_) progress_->MakeTopMost();
      progress_->SetButtonState(0);
      return;
  }
}

void CPellmarkDlg::onTransferCompleted() {
  DebugLog("\r\nOnTrackTransferCompleted");
  // The drop thread posts this as its very last act; wait for it to be
  // gone so the next drop can start one.
  dropThread_.Wait();
  list_.Renumber();
  ::InvalidateRect(list_.hwnd(), nullptr, TRUE);
  UpdateMemoryState();
  jobs_.ClearQueueAndPool();
  setItemText(IDC_ERASE, winui::MessageText(msg::kEraseButton));
  flags_.busy.store(0);
  if (progress_) {
    progress_->HideAndReleaseMainWindow();
    progress_->EnableButton(true);
  }
  enableButtons(true);
  EnableMainWindow(true);

  if (flags_.cancelledMark.load() != 0) {
    winui::ShowMessage(hwnd(), msg::kTransferStopped, MB_OK);
  } else if (dropState_.accepted && dropState_.refused) {
    engine::ShowSkippedFiles(hwnd(), dropRefusals_);
  }
  dropRefusals_.Clear();
  dropState_.accepted = false;
  dropState_.refused = false;
  flags_.cancelledMark.store(0);
  tracksDoneInDrop_ = 0;
  DebugLog("\nOnTrackTransferCompleted 1");

  if (relistAfterDrop_) {
    relistAfterDrop_ = false;
    relist();
  }
}

void CPellmarkDlg::onOneTrackCompleted(WPARAM wParam) {
  // The report is ours to free, whatever happens below.
  const std::unique_ptr<engine::CompletedTrack> done = engine::TakePostedTrack(wParam);
  CSemaphoreHold hold(listSemaphore_);
  DebugLog("\nOnTransferOneJobDone: start");
  DebugLog("\nOnTransferOneJobDone: nIndxJob=%d", done ? static_cast<int>(done->index) : -1);
  if (!done) return;
  ++tracksDoneInDrop_;
  const engine::TransferJob& job = done->job;
  treelist::TransferredTrack track;
  track.eid = done->eid;
  track.title = job.title;
  track.artist = job.artist;
  track.album = job.album;
  track.genre = job.genre;
  track.durationMs = job.durationMs;
  uint64_t size = 0;
  if (sys::GetFileSize(job.sourcePath, size)) track.size = size;
  track.sourcePath = sys::AnsiFromPath(job.sourcePath);
  if (!list_.AddCompletedTrack(track)) relistAfterDrop_ = true;
}

void CPellmarkDlg::onOneFolderCreated(WPARAM wParam, LPARAM lParam) {
  // The name is ours to free, whatever happens below.
  engine::PostedAlbumName name(wParam);
  const int64_t eid = static_cast<int64_t>(lParam);
  if (!name.has()) {
    if (eid == engine::kAlbumNotCreatedEid) winui::ShowMessage(hwnd(), msg::kAlbumNotCreated, MB_OK);
    if (eid == engine::kNoMoreAlbumsEid) winui::ShowMessage(hwnd(), msg::kNoMoreAlbums, MB_OK);
    return;
  }
  const std::string text = name.text();
  list_.OLEInsertFolder(text, static_cast<treelist::Eid>(eid));
  const std::u16string wide = FromCodePage(sys::kAnsiCodePage, text);
  albums_.AppendIfMissing(static_cast<uint32_t>(eid), wide);
  progressAlbumName_ = wide;
}

void CPellmarkDlg::onTransferCancelled() {
  flags_.cancel.store(1);
  if (flags_.deviceGone.load() != 0) {
    if (progress_) progress_->HideAndReleaseMainWindow();
    EnableMainWindow(true);
    EndDialog(IDCANCEL);
  }
}

void CPellmarkDlg::onMediumDisconnected() {
  if (IsTransferRunning()) ::Sleep(500);
  send(WM_CLOSE);
}

void CPellmarkDlg::onClearListItems() {
  list_.RemoveAllItems();
  // The list is empty now but the player is not: it is read again once the
  // drop is over.
  relistAfterDrop_ = true;
}

void CPellmarkDlg::onListingReady() {
  std::optional<Listing> listing = loader_.TakeListing();
  if (!listing) return;
  if (FAILED(listing->albumsResult)) {
    flags_.busy.store(0);
    if (listing->albumsResult == E_ACCESSDENIED) {
      winui::ShowMessage(hwnd(), msg::kStartFailed, MB_OK | MB_ICONWARNING);
      send(WM_CLOSE);
      return;
    }
    winui::ShowMessage(hwnd(), msg::kDeviceFailure, MB_OK | MB_ICONWARNING);
    return;
  }
  {
    KVXFringeLockGuard guard(engine::SharedAlbumLock());
    albums_.Assign(listing->albums);
    list_.LoadAll(listing->tree);
    mediumListShown_ = true;
  }
  ::EnableWindow(list_.hwnd(), TRUE);
  enableButtons(true);
  UpdateMemoryState();
  ::InvalidateRect(list_.hwnd(), nullptr, TRUE);
  flags_.busy.store(0);
  if (listing->unreadableAlbums > 0) winui::ShowMessage(hwnd(), msg::kTracksUnreadable, MB_OK);
  runCommandLineDrop();
}

void CPellmarkDlg::runCommandLineDrop() {
  if (!commandLine_ || !commandLine_->pending() || !dropTarget_) return;
  commandLine_->Run(*dropTarget_, list_.hwnd());
}

}  // namespace app
