// The main window as the drop target's host (the start of a drop and
// DoOleDrop) and as the album/track list's host.
#include <cstdio>

#include "app/debug_log.h"
#include "app/engine/drop_phases.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg.h"
#include "app/pellmark_dlg_res.h"
#include "app/transfer_progress_dlg.h"
#include "platform/codepage.h"
#include "win32/wide_text.h"
#include "winui/message_text.h"

namespace app {

namespace {

std::wstring WideFromAnsi(const std::string& text) {
  std::u16string out;
  sys::ToUtf16(sys::kAnsiCodePage, text, out);
  return win::WideFromUtf16(out);
}

// The name a list row shows for a device identifier; empty when the list
// does not hold it.
std::string NameOfEid(treelist::TrackList& list, treelist::Eid eid) {
  for (int a = 0; a < list.albumCount(); ++a) {
    treelist::TrackListItem* album = list.albumAt(a);
    if (!album || !album->isAlbum()) continue;
    if (album->album()->eid == eid) return album->album()->name.str();
    for (int t = 0; t < album->childCount(); ++t) {
      treelist::TrackListItem* track = treelist::AsTrackItem(album->child(t));
      if (track && track->isTrack() && track->track()->eid == eid) return track->track()->title.str();
    }
  }
  return {};
}

}  // namespace

void CPellmarkDlg::PrepareForTransfer() {
  if (progress_) progress_->ShowForTransfer(list_.hwnd());
}

void CPellmarkDlg::DoOleDrop(bool accepted, bool refused) {
  if (jobs_.NothingToTransfer()) {
    if (progress_) {
      progress_->SetProgressText(winui::MessageText(msg::kNothingToTransfer));
      progress_->SetButtonState(kProgressButtonCloses);
    }
    return;
  }
  const treelist::DropPosition& position = list_.List().dropPosition();
  if (position.album && position.album->isAlbum()) {
    dropState_.m_nOleDropAlbumIndex = albums_.IndexOfEid(position.album->album()->eid);
    if (dropState_.m_nOleDropAlbumIndex == -1) {
      DebugLog("\n m_nOleDropAlbumIndex = -1. return");
      winui::ShowMessageText(hwnd(), L"m_nOleDropAlbumIndex = -1. return", MB_OK);
      if (progress_) {
        progress_->HideAndReleaseMainWindow();
        progress_->EnableButton(true);
      }
      enableButtons(true);
      return;
    }
    device::AlbumRecord album;
    albums_.At(dropState_.m_nOleDropAlbumIndex, album);
    dropState_.m_dwOleDropAlbumEID = album.eid;
    dropState_.m_sOleDropAlbumName = album.name;
  } else {
    // Dropped where no album is: the tracks go into a new album, never
    // into whichever album an earlier drop used (the list would not show
    // them there).
    dropState_.m_nOleDropAlbumIndex = -1;
    dropState_.m_dwOleDropAlbumEID = 0;
    dropState_.m_sOleDropAlbumName = win::Utf16FromWide(winui::MessageText(msg::kNewAlbumName));
  }
  DebugLog("\nDoOleDrop: m_nOleDropAlbumIndex = %d, m_dwOleDropAlbumEID = %d, m_sOleDropAlbumName=%s",
           dropState_.m_nOleDropAlbumIndex, static_cast<int>(dropState_.m_dwOleDropAlbumEID),
           engine::NarrowForLog(dropState_.m_sOleDropAlbumName).c_str());
  flags_.busy.store(1);
  dropState_.accepted = accepted;
  dropState_.refused = refused;
  progressAlbumName_ = dropState_.m_sOleDropAlbumName;
  tracksDoneInDrop_ = 0;
  enableButtons(false);

  engine::DropThreadContext context;
  context.mainWindow = hwnd();
  context.device = &device_;
  context.lists = &jobs_;
  context.albums = &albums_;
  context.state = &dropState_;
  context.flags = &flags_;
  context.newAlbumName = win::Utf16FromWide(winui::MessageText(msg::kNewAlbumName));
  if (!dropThread_.Start(context)) {
    DebugLog("\nDoOleDrop: the drop thread cannot start");
    flags_.busy.store(0);
    jobs_.ClearAll();
    if (progress_) progress_->HideAndReleaseMainWindow();
    enableButtons(true);
    winui::ShowMessage(hwnd(), msg::kTransferStopped, MB_OK);
  }
}

bool CPellmarkDlg::IsTransferRunning() const { return flags_.busy.load() != 0 || dropThread_.IsRunning(); }

void CPellmarkDlg::EnableMainWindow(bool enable) { ::EnableWindow(hwnd(), enable ? TRUE : FALSE); }

void CPellmarkDlg::ShowMessage(unsigned messageId) {
  std::vector<treelist::Eid> failed = listDevice_.TakeRefusedMoves();
  // A failed move may have moved some of the items: the list shows the
  // player's order again rather than a guess.
  const bool moveFailed = listDevice_.TakeMoveFailed();
  if (messageId != msg::kDeviceFailure || failed.empty()) {
    winui::ShowMessage(hwnd(), messageId, MB_OK);
    if (moveFailed) relist();
    return;
  }
  // One message for a move the player refused in part, naming each item
  // it kept where it was.
  std::wstring text = winui::MessageText(msg::kDeviceFailure);
  for (treelist::Eid eid : failed) {
    std::string name = NameOfEid(list_.List(), eid);
    if (name.empty()) {
      char number[32];
      std::snprintf(number, sizeof number, "#%lu", static_cast<unsigned long>(eid));
      name = number;
    }
    text += L"\n" + WideFromAnsi(name);
  }
  winui::ShowMessageText(hwnd(), text, MB_OK | MB_ICONWARNING);
  if (moveFailed) relist();
}

void CPellmarkDlg::ShowText(const std::string& text) {
  winui::ShowMessageText(hwnd(), WideFromAnsi(text), MB_OK);
}

void CPellmarkDlg::OnAlbumOrderChanged() {
  uint32_t count = 0;
  std::vector<device::AlbumRecord> records;
  if (SUCCEEDED(device_.EnumAlbums(count, records))) albums_.Assign(std::move(records));
}

void CPellmarkDlg::OnListOutOfStep() {
  DebugLog("\nThe list does not match the player; reading it again");
  relist();
}

}  // namespace app
