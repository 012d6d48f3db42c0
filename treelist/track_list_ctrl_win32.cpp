#include "treelist/track_list_ctrl_win32.h"

namespace treelist {

CTrackListCtrl::CTrackListCtrl(TrackListHost* host, TrackListDevice* device)
    : host_(host), list_(Model(), host, device) {}

CTrackListCtrl::~CTrackListCtrl() { tip_.destroy(); }

void CTrackListCtrl::OnAttached() {
  // Without a tip the list still works; cut-off cells then show ellipses only.
  tip_.create(hwnd());
}

bool CTrackListCtrl::InsertStandardColumns(const std::vector<std::wstring>& headings) {
  if (!hwnd() || headings.size() != static_cast<size_t>(column::kCount)) return false;
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  int width = (client.right - client.left - 3) / column::kCount;
  for (int c = 0; c < column::kCount; ++c)
    if (InsertColumn(headings[static_cast<size_t>(c)], LVCFMT_LEFT, width, false, 0) < 0) return false;
  return true;
}

int CTrackListCtrl::ChooseRowColours(int, const TreeListItem* item, bool selected, bool focused) const {
  // Albums use keys 1 and 2, tracks 3 and 5; all read the system colours.
  const TrackListItem* t = AsTrackItem(item);
  bool track = t && t->isTrack();
  if (!selected) return track ? 3 : 1;
  if (track) return 5;
  return focused ? 2 : 4;
}

bool CTrackListCtrl::StoreEditedText(int row, int column, const std::string& text) {
  return list_.storeEditedText(ItemOfRow(row), column, text);
}

void CTrackListCtrl::AdjustMarkerRect(RECT& rect, int row) {
  // After an open album's row the tracks go in as its first tracks: the
  // marker starts under the tracks' images.
  const TrackListItem* item = AsTrackItem(ItemOfRow(row));
  DropTarget target = CurrentDropTarget();
  if (item && item->isAlbum() && item->isExpanded() && target.row == row && target.mode == tlMove_Lower)
    rect.left += 18;
}

void CTrackListCtrl::PerformMove(DropTarget target) {
  list_.moveSelection(target);
  list_.endDrag();
}

void CTrackListCtrl::OnKeyPressed(UINT key) {
  if (key == VK_DELETE) {
    if (HWND owner = ::GetParent(hwnd())) ::PostMessageW(owner, WM_COMMAND, MAKEWPARAM(kEraseCommand, 0), 0);
  } else if (key == VK_HELP) {
    if (host_) host_->ShowText(kHelpKeyNote);
  }
}

bool CTrackListCtrl::MayHoverExpand(const TreeListItem* item) const {
  // Albums being reordered are dropped between albums; opening albums
  // under the pointer would only get in the way.
  return !list_.draggingAlbums();
}

void CTrackListCtrl::OnDragEnded() { list_.endDrag(); }

void CTrackListCtrl::ShowMessage(unsigned messageId) {
  if (host_) host_->ShowMessage(messageId);
}

void CTrackListCtrl::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!tip_.hwnd()) return;
  if (RowCount() > 0) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int row = RowAt(point);
    RECT cell{};
    int column = row >= 0 ? ColumnAt(row, point, &cell) : -1;
    const TrackListItem* item = AsTrackItem(ItemOfRow(row));
    bool cutOff = false;
    std::wstring text;
    if (item && column >= 0) {
      text = CellTextWide(item, column);
      int columnWidth =
          static_cast<int>(::SendMessageW(hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
      cutOff = !text.empty() && IsCellCutOff(columnWidth, TextWidth(text), ::GetSystemMetrics(SM_CYDRAG),
                                             column, item->isAlbum());
    }
    if (!cutOff)
      tip_.hide();
    else
      tip_.showFor(row, column, cell, text);
  }
  tip_.relay(message, wParam, lParam);
}

}  // namespace treelist
