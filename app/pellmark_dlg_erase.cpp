// Erase, Erase All and the capacity shown in the status line.
#include "app/capacity_text.h"
#include "app/debug_log.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg.h"
#include "app/pellmark_dlg_res.h"
#include "winui/message_text.h"

namespace app {

namespace {

// The wait cursor for one scope.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace

void CPellmarkDlg::onErase() {
  if (flags_.busy.load() != 0) {
    setItemText(IDC_ERASE, winui::MessageText(msg::kEraseButton));
    return;
  }
  std::vector<treelist::TreeListItem*> selected = list_.SelectedItems();
  if (!selected.empty()) {
    if (winui::ShowMessage(hwnd(), msg::kConfirmErase, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  } else {
    winui::ShowMessage(hwnd(), msg::kNothingSelected, MB_OK);
  }
  WaitCursor wait;
  std::vector<treelist::Eid> albums;
  std::vector<treelist::Eid> tracks;
  const HRESULT found = list_.SelectedIds(albums, tracks);
  if (found == treelist::kListOutOfStep) {
    // A row does not match the track at its place on the player: nothing
    // is erased, and the list is read again to show what the player holds.
    OnListOutOfStep();
    return;
  }
  bool failed = FAILED(found);
  DebugLog("\nDelete 1");
  if (!failed && !tracks.empty()) failed = FAILED(device_.DeleteTracks(tracks));
  if (!failed && !albums.empty()) failed = FAILED(device_.DeleteAlbums(albums));
  if (!failed && !albums.empty()) {
    uint32_t count = 0;
    std::vector<device::AlbumRecord> records;
    if (FAILED(device_.EnumAlbums(count, records))) {
      failed = true;
    } else {
      albums_.Assign(std::move(records));
    }
  }
  DebugLog("\nDelete 2");
  if (failed) {
    // The player may have erased part of the selection: the list shows
    // what it really holds rather than what was asked for.
    winui::ShowMessage(hwnd(), msg::kDeviceFailure, MB_OK | MB_ICONWARNING);
    relist();
  } else {
    list_.EraseSelectedItem();
  }
  if (list_.List().albumCount() == 0) {
    DebugLog("\nDelete 3");
    dropState_.m_nOleDropAlbumIndex = -1;
    dropState_.m_dwOleDropAlbumEID = 0;
  }
  UpdateMemoryState();
  DebugLog("\nDelete 4");
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void CPellmarkDlg::onEraseAll() {
  if (flags_.busy.load() != 0) return;
  if (winui::ShowMessage(hwnd(), msg::kConfirmEraseAll, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  WaitCursor wait;
  std::vector<uint32_t> eids;
  for (const device::AlbumRecord& album : albums_.Snapshot()) eids.push_back(album.eid);
  const HRESULT h = eids.empty() ? S_OK : device_.DeleteAlbums(eids);
  if (FAILED(h)) {
    winui::ShowMessage(hwnd(), msg::kDeviceFailure, MB_OK | MB_ICONWARNING);
    relist();
  } else {
    list_.EraseAll();
    albums_.Clear();
  }
  dropState_.m_nOleDropAlbumIndex = -1;
  dropState_.m_dwOleDropAlbumEID = -1;
  UpdateMemoryState();
}

void CPellmarkDlg::UpdateMemoryState() {
  DebugLog("\r\nCPellmarkDlg::UpdateMemoryState()");
  int64_t capacity = 0;
  int64_t freeBytes = 0;
  int64_t third = 0;
  if (FAILED(device_.GetMediumCapacity(&capacity, &freeBytes, &third))) return;
  setItemText(IDC_STATUS_LINE, FormatCapacityLine(freeBytes, capacity));
  DebugLog("\r\nCPellmarkDlg::UpdateMemoryState()  1");
}

void CPellmarkDlg::enableButtons(bool enable) {
  enableItem(IDC_ERASE, enable);
  enableItem(IDC_ERASE_ALL, enable);
  enableItem(IDCANCEL, enable);
}

void CPellmarkDlg::relist() {
  if (!deviceStarted_ || flags_.deviceGone.load() != 0) return;
  mediumListShown_ = false;
  startLoad();
}

}  // namespace app
