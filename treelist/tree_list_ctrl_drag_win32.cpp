// CTreeListCtrl: dragging rows of the list (own drags with the mouse
// captured) and the feedback for files dragged in from outside: the target
// row and move mode under the pointer, the drop highlight and marker,
// scrolling while the pointer is above or below the rows, and opening a
// closed item the pointer rests on.
#include "common/debug_log.h"
#include "treelist/tree_list_ctrl_win32.h"

namespace treelist {

void CTreeListCtrl::OnBeginDrag(int row) {
  if (dragging_ || externalDrag_ || !dragEnabled_ || row < 0) return;
  if (!MayStartDrag(row)) return;  // the selection stays as it is
  if (editTimerRunning_) ::KillTimer(list_, kEditTimer);
  editTimerRunning_ = false;
  pendingEdit_ = {};
  ::InvalidateRect(list_, nullptr, FALSE);
  dragging_ = true;
  dropInside_ = false;
  dropTarget_ = DropTarget::None();
  ::SetCapture(list_);
}

void CTreeListCtrl::SetDropTarget(DropTarget target) {
  if (!list_) return;
  // The highlight (LVIS_DROPHILITED) of a row is answered from dropTarget_:
  // the row of a valid target is highlighted, no other.
  DropTarget old = dropTarget_;
  if (old.row >= 0 && old.row != target.row) DebugLog("\nSetItemState~~~");
  dropTarget_ = target;
  if (target.row >= 0 && target.valid() && old.row != target.row) DebugLog("\nSetItemState");
  // The marker is part of the row's drawing: redraw both rows.
  if (old.row >= 0)
    ::SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(old.row), static_cast<LPARAM>(old.row));
  if (target.row >= 0 && !(old == target))
    ::SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(target.row), static_cast<LPARAM>(target.row));
}

void CTreeListCtrl::UpdateDragTarget(POINT point) {
  lastDragPoint_ = point;
  RECT area = RowArea();
  DropTarget proposed;
  int rowUnderPointer = -1;
  if (::PtInRect(&area, point)) {
    dropInside_ = true;
    if (scrollTimerRunning_) ::KillTimer(list_, kScrollTimer);
    scrollTimerRunning_ = false;
    RECT rowRect{};
    rowUnderPointer = RowAt(point, &rowRect);
    int count = RowCount();
    if (rowUnderPointer < 0) {
      // Below the last row: after the last row.
      if (count > 0) proposed = {count - 1, tlMove_Lower};
    } else {
      proposed = {rowUnderPointer, MoveModeAt(point.y, rowRect.top, rowRect.bottom - rowRect.top)};
    }
  } else {
    dropInside_ = false;
    int top = static_cast<int>(::SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
    int perPage = static_cast<int>(::SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    AutoScroll scroll = AutoScrollFor(point.y, area.top, area.bottom, top, perPage, RowCount());
    if (scroll != AutoScroll::kNone && !scrollTimerRunning_) {
      // Each step waits kAutoScrollStepMs first; the timer keeps stepping
      // while the pointer stays outside, moving or not.
      scrollTimerRunning_ = ::SetTimer(list_, kScrollTimer, kAutoScrollStepMs, nullptr) != 0;
    }
  }
  SetDropTarget(AdjustDropTarget(point, proposed));

  // Resting on a closed item opens it after the hover time.
  if (rowUnderPointer != hoverRow_) {
    ::KillTimer(list_, kHoverTimer);
    hoverRow_ = -1;
    TreeListItem* item = ItemOfRow(rowUnderPointer);
    if (item && !item->isLeaf() && !item->isExpanded() && item->hasChildren() && MayHoverExpand(item)) {
      UINT hoverTime = HOVER_DEFAULT;
      if (!::SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hoverTime, 0) || hoverTime == 0)
        hoverTime = 400;
      if (::SetTimer(list_, kHoverTimer, hoverTime, nullptr)) hoverRow_ = rowUnderPointer;
    }
  }
}

void CTreeListCtrl::OnScrollTimer() {
  if ((!dragging_ && !externalDrag_) || dropInside_) {
    ::KillTimer(list_, kScrollTimer);
    scrollTimerRunning_ = false;
    return;
  }
  RECT area = RowArea();
  int top = static_cast<int>(::SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
  int perPage = static_cast<int>(::SendMessageW(list_, LVM_GETCOUNTPERPAGE, 0, 0));
  AutoScroll scroll = AutoScrollFor(lastDragPoint_.y, area.top, area.bottom, top, perPage, RowCount());
  if (scroll == AutoScroll::kNone) {
    // At the top or the bottom: nothing more to show.
    ::KillTimer(list_, kScrollTimer);
    scrollTimerRunning_ = false;
    return;
  }
  ::SendMessageW(list_, WM_VSCROLL, scroll == AutoScroll::kUp ? SB_LINEUP : SB_LINEDOWN, 0);
}

void CTreeListCtrl::OnHoverTimer() {
  ::KillTimer(list_, kHoverTimer);
  int row = hoverRow_;
  hoverRow_ = -1;
  if (!dragging_ && !externalDrag_) return;
  TreeListItem* item = ItemOfRow(row);
  if (item && !item->isExpanded() && item->hasChildren() && MayHoverExpand(item)) {
    ExpandItem(item);
    UpdateDragTarget(lastDragPoint_);
  }
}

void CTreeListCtrl::StopDragTimers() {
  if (!list_) return;
  if (scrollTimerRunning_) ::KillTimer(list_, kScrollTimer);
  scrollTimerRunning_ = false;
  ::KillTimer(list_, kHoverTimer);
  hoverRow_ = -1;
}

void CTreeListCtrl::EndOwnDrag(bool drop) {
  if (!dragging_) return;
  dragging_ = false;
  StopDragTimers();
  if (::GetCapture() == list_) ::ReleaseCapture();
  DropTarget target = dropTarget_;
  SetDropTarget(DropTarget::None());
  if (drop && dropInside_ && target.valid()) PerformMove(target);
  dropTarget_ = DropTarget::None();
  OnDragEnded();
}

void CTreeListCtrl::BeginExternalDrag() {
  if (dragging_) EndOwnDrag(false);
  externalDrag_ = true;
  dropInside_ = false;
  dropTarget_ = DropTarget::None();
  OnExternalDragBegan();
}

DropTarget CTreeListCtrl::ExternalDragOver(POINT client) {
  if (!externalDrag_) BeginExternalDrag();
  UpdateDragTarget(client);
  return dropTarget_;
}

DropTarget CTreeListCtrl::EndExternalDrag() {
  DropTarget last = dropInside_ ? dropTarget_ : DropTarget::None();
  if (!externalDrag_) return last;
  externalDrag_ = false;
  StopDragTimers();
  SetDropTarget(DropTarget::None());
  OnDragEnded();
  return last;
}

}  // namespace treelist
