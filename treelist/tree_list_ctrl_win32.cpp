// CTreeListCtrl: creation, the two subclass procedures, columns, the tree,
// clicks, keys and in-place editing. Dragging and drawing have files of
// their own.
#include "treelist/tree_list_ctrl_win32.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "treelist/track_records.h"
#include "treelist/tree_list_messages_win32.h"
#include "treelist/window_hook_win32.h"
#include "win32/ansi_text.h"

namespace treelist {
namespace {

constexpr DWORD kRequiredStyle =
    LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | LVS_NOSORTHEADER | WS_VSCROLL;
// The view type is replaced; the list view's own label editing, sorting
// and single selection would fight the control's.
constexpr DWORD kRefusedStyle =
    LVS_TYPEMASK | LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_SINGLESEL;

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

std::string Narrow(const std::wstring& text, size_t maxBytes) {
  return CutAnsiText(win::AnsiFromWide(text), maxBytes);
}

}  // namespace

CTreeListCtrl::CTreeListCtrl() : model_(*this) {
  ColourPair normal{::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOW)};
  ColourPair highlight{::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_HIGHLIGHT)};
  colours_ = {{1, normal}, {2, highlight}, {3, normal}, {4, highlight}, {5, highlight}};
}

CTreeListCtrl::~CTreeListCtrl() {
  edit_.reset();
  HWND list = list_;
  Unsubclass();
  // The model goes with the control; its rows must not outlive it.
  if (list && ::IsWindow(list)) {
    if (ownsWindow_)
      ::DestroyWindow(list);
    else
      ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  }
}

bool CTreeListCtrl::Create(HWND parent, const RECT& rect, UINT id) {
  if (list_ || !parent) return false;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  RegisterTreeListMessages();
  parent_ = parent;
  id_ = id;
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (HDC dc = ::GetDC(parent)) {
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW tm{};
    if (::GetTextMetricsW(dc, &tm)) rowHeight_ = std::max<int>(18, tm.tmHeight + 4);
    ::SelectObject(dc, old);
    ::ReleaseDC(parent, dc);
  }
  // The parent's part comes first: the list view asks its row height
  // (WM_MEASUREITEM) while it is being created.
  if (!HookParent(parent)) return false;
  HWND list = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | kRequiredStyle, rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!list) {
    parentHook_.detach();
    return false;
  }
  ::SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!HookList(list)) {
    ::DestroyWindow(list);
    parentHook_.detach();
    return false;
  }
  ownsWindow_ = true;
  PrepareList();
  OnAttached();
  return true;
}

bool CTreeListCtrl::Attach(HWND listView) {
  if (list_ || !listView || !(::GetWindowLongPtrW(listView, GWL_STYLE) & LVS_OWNERDATA)) return false;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  RegisterTreeListMessages();
  if (!Subclass(listView, ::GetParent(listView))) return false;
  id_ = static_cast<UINT>(::GetDlgCtrlID(listView));
  ownsWindow_ = false;
  ApplyStyle();
  PrepareList();
  OnAttached();
  return true;
}

void CTreeListCtrl::PrepareList() {
  // The drop highlight is the control's own state (dropTarget_), answered
  // with the texts: a virtual list view keeps no state but selection and
  // focus.
  ::SendMessageW(list_, LVM_SETCALLBACKMASK, LVIS_DROPHILITED, 0);
  rows_.clear();
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  focusedRow_ = -1;
}

bool CTreeListCtrl::HookParent(HWND parent) {
  if (!parent) return false;
  if (!parentHook_.attach(parent, [this](UINT m, WPARAM w, LPARAM l) { return OnParentHook(m, w, l); }))
    return false;
  parent_ = parent;
  return true;
}

bool CTreeListCtrl::HookList(HWND list) {
  if (!listHook_.attach(list, [this](UINT m, WPARAM w, LPARAM l) { return OnListHook(m, w, l); }))
    return false;
  list_ = list;
  return true;
}

bool CTreeListCtrl::Subclass(HWND list, HWND parent) {
  if (!HookParent(parent)) return false;
  if (!HookList(list)) {
    parentHook_.detach();
    parent_ = nullptr;
    return false;
  }
  return true;
}

void CTreeListCtrl::Unsubclass() {
  listHook_.detach();
  parentHook_.detach();
  list_ = nullptr;
  parent_ = nullptr;
}

void CTreeListCtrl::ApplyStyle() {
  LONG_PTR style = ::GetWindowLongPtrW(list_, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(kRefusedStyle)) | kRequiredStyle;
  ::SetWindowLongPtrW(list_, GWL_STYLE, style);
}

// ---- Window procedures ------------------------------------------------------

LRESULT CTreeListCtrl::OnListHook(UINT message, WPARAM wParam, LPARAM lParam) {
  // No exception may cross into the system's message dispatch.
  try {
    return OnListMessage(list_, message, wParam, lParam);
  } catch (...) {
    return listHook_.attached() ? listHook_.next(message, wParam, lParam) : 0;
  }
}

LRESULT CTreeListCtrl::OnParentHook(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_NCDESTROY) {
      LRESULT result = parentHook_.next(message, wParam, lParam);
      parent_ = nullptr;
      return result;
    }
    LRESULT result = 0;
    if (OnParentMessage(message, wParam, lParam, result)) return result;
  } catch (...) {
  }
  return parentHook_.next(message, wParam, lParam);
}

bool CTreeListCtrl::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!measure || measure->CtlType != ODT_LISTVIEW || measure->CtlID != id_) return false;
      measure->itemHeight = static_cast<UINT>(rowHeight_);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (!draw || draw->CtlType != ODT_LISTVIEW || draw->hwndItem != list_ || !list_) return false;
      DrawRow(*draw);
      result = TRUE;
      return true;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header || !list_ || header->hwndFrom != list_) return false;
      switch (header->code) {
        case LVN_GETDISPINFOW:
          FillDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
          result = 0;
          return true;
        case LVN_ITEMCHANGED:
          OnItemChanged(*reinterpret_cast<NMLISTVIEW*>(lParam));
          return false;  // the owner may watch changes too
        case LVN_ODFINDITEMW:
          result = FindRow(*reinterpret_cast<NMLVFINDITEMW*>(lParam));
          return true;
        case LVN_BEGINDRAG:
          OnBeginDrag(reinterpret_cast<NMLISTVIEW*>(lParam)->iItem);
          result = 0;
          return true;
        case LVN_DELETEALLITEMS:
          // No notice per row: the rows' items belong to the model, which
          // frees them itself.
          result = TRUE;
          return true;
        case NM_CLICK:
          OnClickNotify(*reinterpret_cast<NMITEMACTIVATE*>(lParam));
          return false;  // the owner may watch clicks too
        case NM_RCLICK:
          OnRightClick(reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem);
          return false;
        default:
          return false;
      }
    }
    default:
      return false;
  }
}

LRESULT CTreeListCtrl::OnListMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == CloseEditLabelMessage()) {
    FinishEdit(wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_PAINT: {
      // A column changed while painting is repainted by the next paint:
      // this one has already taken the whole update region.
      bool resized = SizeColumns();
      LRESULT result = listHook_.next(message, wParam, lParam);
      if (resized) ::InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_LBUTTONDOWN:
      OnMouseMessage(message, wParam, lParam);
      return OnLButtonDown(wParam, lParam);
    case WM_LBUTTONDBLCLK:
      return OnLButtonDblClk(wParam, lParam);
    case WM_LBUTTONUP:
      OnMouseMessage(message, wParam, lParam);
      return OnLButtonUp(wParam, lParam);
    case WM_MOUSEMOVE:
      OnMouseMessage(message, wParam, lParam);
      if (dragging_) UpdateDragTarget(PointOf(lParam));
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && dragging_) {
        EndOwnDrag(false);
        return 0;
      }
      OnKeyDown(static_cast<UINT>(wParam));
      if (!::IsWindow(hwnd)) return 0;
      break;
    case WM_KEYUP:
      OnKeyUp(static_cast<UINT>(wParam));
      break;
    case WM_GETDLGCODE:
      // Escape ends a drag instead of closing the dialog.
      if (dragging_) return listHook_.next(message, wParam, lParam) | DLGC_WANTALLKEYS;
      break;
    case WM_TIMER:
      if (wParam == kEditTimer) {
        OnEditTimer();
        return 0;
      }
      if (wParam == kScrollTimer) {
        OnScrollTimer();
        return 0;
      }
      if (wParam == kHoverTimer) {
        OnHoverTimer();
        return 0;
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      CloseEdit(false);
      break;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lParam) != hwnd) EndOwnDrag(false);
      break;
    case WM_NCDESTROY: {
      StopDragTimers();
      edit_.reset();
      editItem_ = nullptr;
      LRESULT result = listHook_.next(message, wParam, lParam);
      Unsubclass();
      return result;
    }
    default:
      break;
  }
  return listHook_.next(message, wParam, lParam);
}

// ---- Columns ----------------------------------------------------------------

int CTreeListCtrl::InsertColumn(const std::wstring& heading, int format, int width, bool editable, int kind) {
  if (!list_) return -1;
  std::wstring text = heading;
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = text.data();
  column.iSubItem = ColumnCount();
  int index = static_cast<int>(::SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(ColumnCount()),
                                              reinterpret_cast<LPARAM>(&column)));
  if (index < 0) return -1;
  ColumnInfo info;
  info.editable = editable;
  info.kind = kind;
  info.drawFormat = kind == 4 ? DT_RIGHT : DT_LEFT;
  columns_.insert(columns_.begin() + std::min(index, ColumnCount()), info);
  widened_.assign(columns_.size(), false);
  return index;
}

bool CTreeListCtrl::IsColumnEditable(int column) const {
  return column >= 0 && column < ColumnCount() && columns_[static_cast<size_t>(column)].editable;
}

void CTreeListCtrl::SetColumnEditable(int column, bool editable) {
  if (column >= 0 && column < ColumnCount()) columns_[static_cast<size_t>(column)].editable = editable;
}

ColourPair CTreeListCtrl::Colours(int key) const {
  auto it = colours_.find(key);
  return it != colours_.end() ? it->second : colours_.at(1);
}

// ---- The tree and its rows ----------------------------------------------------

TreeListItem* CTreeListCtrl::InsertItemAt(TreeListItem* parent, int position,
                                          std::unique_ptr<TreeListItem> item) {
  return model_.insert(parent, position, std::move(item));
}

TreeListItem* CTreeListCtrl::InsertItem(TreeListItem* parent, int position,
                                        std::unique_ptr<TreeListItem> item) {
  TreeListItem* placed = InsertItemAt(parent, position, std::move(item));
  if (placed && list_) {
    int row = model_.rowOf(placed);
    if (row >= 0) ::SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
  }
  return placed;
}

bool CTreeListCtrl::RemoveItem(TreeListItem* item) {
  if (dragging_) EndOwnDrag(false);
  return model_.remove(item);
}

void CTreeListCtrl::RemoveAllItems() {
  if (dragging_) EndOwnDrag(false);
  model_.clear();
}

void CTreeListCtrl::EraseSelection() {
  std::vector<TreeListItem*> items = SelectedItems();
  // Children of selected items go with them.
  std::unordered_set<const TreeListItem*> chosen(items.begin(), items.end());
  BulkChange bulk(*this);
  for (TreeListItem* item : items) {
    bool underChosen = false;
    for (const TreeListItem* p = item->parent(); p; p = p->parent()) underChosen |= chosen.count(p) != 0;
    if (!underChosen) model_.remove(item);
  }
}

// ---- Clicks -------------------------------------------------------------------

bool CTreeListCtrl::IsOnItem(int row, POINT point) const {
  TreeListItem* item = ItemOfRow(row);
  if (!item) return false;
  RECT icon{LVIR_ICON, 0, 0, 0};
  RECT label{LVIR_LABEL, 0, 0, 0};
  if (!::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&icon)) ||
      !::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label)))
    return false;
  // The label ends where its text does (drawn 2 pixels in from each side).
  int textRight = label.left + 4 + TextWidth(CellTextWide(item, 0));
  int right = std::min<int>(label.right, textRight);
  return point.y >= label.top && point.y < label.bottom && point.x >= icon.left && point.x < right;
}

bool CTreeListCtrl::ToggleRow(int row) {
  TreeListItem* item = ItemOfRow(row);
  if (!item || !item->hasChildren()) return false;
  return item->isExpanded() ? CollapseItem(item) : ExpandItem(item);
}

void CTreeListCtrl::ApplySelectionRule(SelectionKind kindBefore, int firstBefore, WPARAM keys,
                                       int clickedRow) {
  TreeListItem* clicked = ItemOfRow(clickedRow);
  if (!clicked || kindBefore == SelectionKind::kNothing) return;
  std::vector<SelectedRow> selected;
  for (int row : SelectedRows())
    if (TreeListItem* item = ItemOfRow(row)) selected.push_back({row, item->isLeaf()});
  SelectionRepair repair = RepairSelection(kindBefore, firstBefore, (keys & MK_CONTROL) != 0,
                                           (keys & MK_SHIFT) != 0, {clickedRow, clicked->isLeaf()}, selected);
  for (int row : repair.rowsToDeselect) SelectRow(row, false);
  if (repair.refuse) {
    // A later Shift-click extends from the row that stayed selected, not
    // from the refused one.
    if (firstBefore >= 0 && std::find(repair.rowsToDeselect.begin(), repair.rowsToDeselect.end(),
                                      firstBefore) == repair.rowsToDeselect.end())
      ::SendMessageW(list_, LVM_SETSELECTIONMARK, 0, firstBefore);
    ShowMessage(msg::kMixedSelection);
  }
}

LRESULT CTreeListCtrl::OnLButtonDown(WPARAM keys, LPARAM lParam) {
  HWND hwnd = list_;
  POINT point = PointOf(lParam);
  CloseEdit(true);
  if (editTimerRunning_) ::KillTimer(hwnd, kEditTimer);
  editTimerRunning_ = false;
  pendingEdit_ = {};

  int firstBefore =
      static_cast<int>(::SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  int countBefore = static_cast<int>(::SendMessageW(hwnd, LVM_GETSELECTEDCOUNT, 0, 0));
  TreeListItem* firstItem = ItemOfRow(firstBefore);
  SelectionKind kindBefore = !firstItem            ? SelectionKind::kNothing
                             : firstItem->isLeaf() ? SelectionKind::kLeaf
                                                   : SelectionKind::kNonLeaf;
  firstSelectedAtPress_ = firstBefore;
  onlySelectedAtPress_ = countBefore == 1 ? firstBefore : -1;
  int row = RowAt(point);
  bool onItem = row >= 0 && IsOnItem(row, point);
  clickedRow_ = row;
  pressToggledRow_ = -1;
  suppressClick_ = false;

  LRESULT result = listHook_.next(WM_LBUTTONDOWN, keys, lParam);
  if (!::IsWindow(hwnd) || !list_) return result;

  ApplySelectionRule(kindBefore, firstBefore, keys, row);
  dropTarget_ = {row, tlMove_None};
  // A press on an item's image or label opens or closes it.
  if (onItem && ToggleRow(row)) pressToggledRow_ = row;
  return result;
}

LRESULT CTreeListCtrl::OnLButtonDblClk(WPARAM keys, LPARAM lParam) {
  CloseEdit(true);
  if (editTimerRunning_) ::KillTimer(list_, kEditTimer);
  editTimerRunning_ = false;
  pendingEdit_ = {};
  int row = RowAt(PointOf(lParam));
  // A double click opens or closes the item once, also when its first
  // press already did so on the item's label.
  if (row >= 0 && row != pressToggledRow_) ToggleRow(row);
  pressToggledRow_ = -1;
  return listHook_.next(WM_LBUTTONDBLCLK, keys, lParam);
}

LRESULT CTreeListCtrl::OnLButtonUp(WPARAM keys, LPARAM lParam) {
  bool wasDragging = dragging_;
  if (dragging_) EndOwnDrag(true);
  // The list view reports the end of a drag as a click; it is none.
  suppressClick_ = wasDragging;
  LRESULT result = listHook_.next(WM_LBUTTONUP, keys, lParam);
  suppressClick_ = false;
  return result;
}

void CTreeListCtrl::OnClickNotify(const NMITEMACTIVATE& click) {
  if (suppressClick_ || !editEnabled_) return;
  POINT point = click.ptAction;
  int row = RowAt(point);
  if (row < 0 || row != onlySelectedAtPress_) return;
  int column = ColumnAt(row, point);
  if (!IsColumnEditable(column) || IsOnItem(row, point)) return;
  // Wait for the double-click time: a second click makes it a double click.
  pendingEdit_ = {row, column};
  editTimerRunning_ = ::SetTimer(list_, kEditTimer, ::GetDoubleClickTime(), nullptr) != 0;
}

void CTreeListCtrl::OnEditTimer() {
  ::KillTimer(list_, kEditTimer);
  editTimerRunning_ = false;
  Cell cell = pendingEdit_;
  pendingEdit_ = {};
  TreeListItem* item = ItemOfRow(cell.row);
  if (item && editEnabled_ && IsColumnEditable(cell.column) && item->mayEditColumn(cell.column))
    StartEdit(cell.row, cell.column);
}

void CTreeListCtrl::OnKeyDown(UINT key) {
  if (key == VK_SHIFT) shiftDown_ = true;
  if (key == VK_CONTROL) controlDown_ = true;
  if (key == VK_DELETE && parent_) {
    HWND hwnd = list_;
    LRESULT allowed = ::SendMessageW(parent_, PopupMenuMessage(), id_, kDeleteCommand);
    if (!::IsWindow(hwnd)) return;
    if (allowed) EraseSelection();
  }
  OnKeyPressed(key);
}

void CTreeListCtrl::OnKeyUp(UINT key) {
  if (key == VK_SHIFT) shiftDown_ = false;
  if (key == VK_CONTROL) controlDown_ = false;
  OnKeyReleased(key);
}

// ---- In-place editing -------------------------------------------------------------

void CTreeListCtrl::StartEdit(int row, int column) {
  CloseEdit(true);
  if (!list_ || row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  TreeListItem* item = ItemOfRow(row);
  if (!item) return;
  ::SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  RECT rect{LVIR_LABEL, column, 0, 0};
  BOOL ok = column == 0
                ? static_cast<BOOL>(::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                                   reinterpret_cast<LPARAM>(&rect)))
                : static_cast<BOOL>(::SendMessageW(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                                                   reinterpret_cast<LPARAM>(&rect)));
  if (!ok) return;
  auto edit = std::make_unique<CInPlaceEdit>();
  if (!edit->open(list_, rect, CellTextWide(item, column), row, column)) return;
  edit_ = std::move(edit);
  editItem_ = item;
}

void CTreeListCtrl::CloseEdit(bool commit) {
  if (!edit_) return;
  if (commit) {
    FinishEdit(1, 0);
    return;
  }
  edit_->close();
  edit_.reset();
  editItem_ = nullptr;
}

void CTreeListCtrl::FinishEdit(WPARAM commit, LPARAM direction) {
  if (!edit_) return;  // a late message of an editor already closed
  std::unique_ptr<CInPlaceEdit> edit = std::move(edit_);
  TreeListItem* item = editItem_;
  editItem_ = nullptr;
  HWND hwnd = list_;
  int row = model_.rowOf(item);
  int column = edit->column();
  if (commit == 1 && edit->modified() && row >= 0) {
    std::string text = Narrow(edit->text(), 255);
    if (StoreEditedText(row, column, text)) updateRow(row, item);
    if (parent_)
      ::SendMessageW(parent_, ChangeLabelMessage(), MAKEWPARAM(row, column),
                     reinterpret_cast<LPARAM>(text.c_str()));
    if (!::IsWindow(hwnd) || !list_) return;
  }
  bool refocus = edit->closedByKey() || ::GetFocus() == edit->hwnd();
  edit->close();
  if (refocus) ::SetFocus(list_);
  // Up and Down carry on editing the same column in the next row.
  if (commit == 1 && row >= 0 && (direction == kCloseAfterUp || direction == kCloseAfterDown)) {
    int next = row + (direction == kCloseAfterUp ? -1 : 1);
    TreeListItem* nextItem = ItemOfRow(next);
    if (nextItem && editEnabled_ && IsColumnEditable(column) && nextItem->mayEditColumn(column)) {
      SelectRow(-1, false);
      SelectRow(next, true);
      StartEdit(next, column);
    }
  }
}

}  // namespace treelist
