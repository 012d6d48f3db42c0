// CTreeListCtrl: the rows of the virtual list view. The control keeps the
// item of every row; the list view keeps only their number and, by row
// number, their selection and focus, which the control moves with their
// items when rows come and go. Also the row sink the model reports to.
#include <algorithm>
#include <unordered_set>

#include "treelist/tree_list_ctrl_win32.h"

namespace treelist {

TreeListItem* CTreeListCtrl::ItemOfRow(int row) const {
  if (!list_ || row < 0 || row >= RowCount()) return nullptr;
  return rows_[static_cast<size_t>(row)];
}

int CTreeListCtrl::FindRow(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  const std::wstring wanted = find.lvfi.psz;
  const int count = RowCount();
  if (count == 0 || wanted.empty()) return -1;
  const bool partial = (find.lvfi.flags & LVFI_PARTIAL) != 0;
  const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
  const int span = (find.lvfi.flags & LVFI_WRAP) ? count : count - start;
  for (int i = 0; i < span; ++i) {
    int row = (start + i) % count;
    std::wstring text = CellTextWide(rows_[static_cast<size_t>(row)], 0);
    if (partial && text.size() > wanted.size()) text.resize(wanted.size());
    if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), static_cast<int>(text.size()),
                         wanted.data(), static_cast<int>(wanted.size())) == CSTR_EQUAL)
      return row;
  }
  return -1;
}

std::vector<int> CTreeListCtrl::SelectedRows() const {
  std::vector<int> rows;
  if (!list_) return rows;
  for (int row = -1;;) {
    row = static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) break;
    rows.push_back(row);
  }
  return rows;
}

std::vector<TreeListItem*> CTreeListCtrl::SelectedItems() const {
  std::vector<TreeListItem*> items;
  for (int row : SelectedRows())
    if (TreeListItem* item = ItemOfRow(row)) items.push_back(item);
  return items;
}

void CTreeListCtrl::SelectRow(int row, bool selected) {
  if (!list_) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = selected ? LVIS_SELECTED : 0;
  ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void CTreeListCtrl::OnItemChanged(const NMLISTVIEW& change) {
  if (!(change.uChanged & LVIF_STATE)) return;
  if (change.uNewState & LVIS_FOCUSED)
    focusedRow_ = change.iItem;
  else if ((change.uOldState & LVIS_FOCUSED) && (change.iItem == focusedRow_ || change.iItem < 0))
    focusedRow_ = -1;
}

int CTreeListCtrl::FocusedRow() {
  if (focusedRow_ >= 0 &&
      !(::SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(focusedRow_), LVIS_FOCUSED) & LVIS_FOCUSED))
    focusedRow_ = static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  return focusedRow_;
}

CTreeListCtrl::RowStates CTreeListCtrl::TakeRowStates(int fromRow) {
  RowStates states;
  // Rows above fromRow keep their numbers and their states; the search for
  // selected rows starts at fromRow (each search walks the rows it passes).
  if (::SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0) > 0) {
    for (int row = fromRow - 1;;) {
      row = static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
      if (row < 0) break;
      states.selected.push_back(row);
    }
  }
  const int focused = FocusedRow();
  states.focused = focused >= fromRow ? focused : -1;
  states.mark = static_cast<int>(::SendMessageW(list_, LVM_GETSELECTIONMARK, 0, 0));
  // Cleared while the rows change, so no state is left on a row number that
  // now shows another item; row by row, as clearing "every row" walks them all.
  for (int row : states.selected) SelectRow(row, false);
  if (states.focused >= 0) {
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(states.focused),
                   reinterpret_cast<LPARAM>(&state));
  }
  return states;
}

void CTreeListCtrl::RestoreRowStates(const RowStates& states) {
  const int count = RowCount();
  for (int row : states.selected)
    if (row >= 0 && row < count) SelectRow(row, true);
  if (states.focused >= 0 && states.focused < count) {
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(states.focused),
                   reinterpret_cast<LPARAM>(&state));
  }
  ::SendMessageW(list_, LVM_SETSELECTIONMARK, 0, states.mark < count ? states.mark : -1);
}

void CTreeListCtrl::ApplyRowCount(int firstChangedRow) {
  // The scroll position stays where it is, as it does for inserted rows of
  // an ordinary list view.
  ::SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  // With redrawing off the whole list is repainted at the end of the
  // bracket; else only the shown rows from the first changed one down.
  if (redrawSuspended_) return;
  RECT area = RowArea();
  const int top = static_cast<int>(::SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
  RECT first{LVIR_BOUNDS, 0, 0, 0};
  if (firstChangedRow > top && ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(firstChangedRow),
                                              reinterpret_cast<LPARAM>(&first)))
    area.top = std::max(area.top, first.top);
  if (area.top < area.bottom) ::InvalidateRect(list_, &area, FALSE);
}

// The row states move with their rows: rows at or after firstRow move down.
void CTreeListCtrl::insertRows(int firstRow, const std::vector<TreeListItem*>& items) {
  if (!list_ || items.empty()) return;
  SuspendRedrawFor(static_cast<int>(items.size()));
  pendingEdit_ = {};
  firstRow = std::clamp(firstRow, 0, RowCount());
  const int added = static_cast<int>(items.size());
  RowStates states = TakeRowStates(firstRow);
  auto shift = [&](int& row) {
    if (row >= firstRow) row += added;
  };
  for (int& row : states.selected) shift(row);
  shift(states.focused);
  shift(states.mark);
  rows_.insert(rows_.begin() + firstRow, items.begin(), items.end());
  ApplyRowCount(firstRow);
  RestoreRowStates(states);
}

void CTreeListCtrl::deleteRows(int firstRow, int count) {
  if (!list_ || count <= 0 || firstRow < 0 || firstRow >= RowCount()) return;
  count = std::min(count, RowCount() - firstRow);
  SuspendRedrawFor(count);
  // An open editor or a pending slow click would name a row that moved.
  CloseEdit(false);
  pendingEdit_ = {};
  RowStates states = TakeRowStates(firstRow);
  // States of deleted rows go; those below move up.
  auto shift = [&](int& row) {
    if (row >= firstRow + count)
      row -= count;
    else if (row >= firstRow)
      row = -1;
  };
  for (int& row : states.selected) shift(row);
  shift(states.focused);
  shift(states.mark);
  rows_.erase(rows_.begin() + firstRow, rows_.begin() + firstRow + count);
  ApplyRowCount(firstRow);
  RestoreRowStates(states);
}

void CTreeListCtrl::updateRow(int row, TreeListItem*) {
  if (list_) ::SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

void CTreeListCtrl::refreshAll() {
  if (list_ && !redrawSuspended_) ::InvalidateRect(list_, nullptr, FALSE);
}

void CTreeListCtrl::resetRows(const std::vector<TreeListItem*>& items) {
  if (!list_) return;
  CloseEdit(false);
  pendingEdit_ = {};
  // The selection survives a refill: moved items stay selected.
  std::vector<TreeListItem*> selected = SelectedItems();
  std::unordered_set<const TreeListItem*> keep(selected.begin(), selected.end());
  BulkChange bulk(*this);
  SuspendRedrawFor(static_cast<int>(items.size()) + 3);
  // No row keeps its state: an empty list drops the selection and focus,
  // then the new rows are shown at once.
  rows_.clear();
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  focusedRow_ = -1;
  rows_ = items;
  ApplyRowCount(0);
  for (size_t i = 0; i < rows_.size() && !keep.empty(); ++i)
    if (keep.count(rows_[i])) SelectRow(static_cast<int>(i), true);
}

void CTreeListCtrl::beginBulk() { ++bulkDepth_; }

void CTreeListCtrl::endBulk() {
  if (--bulkDepth_ > 0) return;
  bulkRows_ = 0;
  if (redrawSuspended_ && list_) {
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, FALSE);
  }
  redrawSuspended_ = false;
}

void CTreeListCtrl::SuspendRedrawFor(int rows) {
  // Switching redrawing off and on costs the list view a scroll-bar update
  // and a repaint; a change of a row or two is cheaper done directly.
  if (bulkDepth_ == 0 || redrawSuspended_ || !list_) return;
  bulkRows_ += rows;
  if (bulkRows_ <= 2) return;
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  redrawSuspended_ = true;
}

void CTreeListCtrl::BeginUpdate() {
  beginBulk();
  SuspendRedrawFor(3);
}

void CTreeListCtrl::EndUpdate() {
  if (bulkDepth_ > 0) endBulk();
}

}  // namespace treelist
