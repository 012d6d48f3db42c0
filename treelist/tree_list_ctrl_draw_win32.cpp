// CTreeListCtrl: row geometry, owner drawing of the rows with the
// insertion marker, column sizing on paint, and the texts the list view
// asks for.
#include <algorithm>

#include "treelist/tree_list_ctrl_win32.h"
#include "win32/ansi_text.h"

namespace treelist {
namespace {

// A solid brush for one scope.
class ScopedBrush {
 public:
  explicit ScopedBrush(COLORREF colour) : brush_(::CreateSolidBrush(colour)) {}
  ~ScopedBrush() {
    if (brush_) ::DeleteObject(brush_);
  }
  ScopedBrush(const ScopedBrush&) = delete;
  ScopedBrush& operator=(const ScopedBrush&) = delete;
  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_;
};

}  // namespace

std::wstring CTreeListCtrl::CellTextWide(const TreeListItem* item, int column) const {
  return win::WideFromAnsi(CellText(item, column));
}

int CTreeListCtrl::TextWidth(const std::wstring& text) const {
  if (!list_ || text.empty()) return 0;
  HDC dc = ::GetDC(list_);
  if (!dc) return 0;
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list_, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(list_, dc);
  return size.cx;
}

RECT CTreeListCtrl::RowArea() const {
  RECT area{};
  if (!list_) return area;
  ::GetClientRect(list_, &area);
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list_, LVM_GETHEADER, 0, 0));
  if (header && ::IsWindowVisible(header)) {
    RECT h{};
    ::GetWindowRect(header, &h);
    area.top = std::max<LONG>(area.top, h.bottom - h.top);
  }
  return area;
}

int CTreeListCtrl::RowHeight() const {
  if (!list_ || RowCount() == 0) return rowHeight_;
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  if (!::SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)) || r.bottom <= r.top)
    return rowHeight_;
  return r.bottom - r.top;
}

int CTreeListCtrl::RowAt(POINT point, RECT* rowRect) const {
  int count = RowCount();
  if (count == 0) return -1;
  RECT area = RowArea();
  if (point.y < area.top || point.y >= area.bottom) return -1;
  int top = static_cast<int>(::SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
  RECT first{LVIR_BOUNDS, 0, 0, 0};
  if (!::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&first)))
    return -1;
  int height = first.bottom - first.top;
  if (height <= 0 || point.y < first.top) return -1;
  int row = top + (point.y - first.top) / height;
  if (row >= count) return -1;
  if (rowRect) {
    *rowRect = RECT{LVIR_BOUNDS, 0, 0, 0};
    ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(rowRect));
  }
  return row;
}

int CTreeListCtrl::ColumnAt(int row, POINT point, RECT* cellRect) const {
  if (row < 0 || row >= RowCount()) return -1;
  for (int column = 0; column < ColumnCount(); ++column) {
    RECT cell{LVIR_BOUNDS, column, 0, 0};
    if (column == 0) {
      // Column 0 runs from the row's left edge to the end of its label.
      RECT label{LVIR_LABEL, 0, 0, 0};
      ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
      ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
      cell.right = label.right;
    } else {
      cell = RECT{LVIR_LABEL, column, 0, 0};
      ::SendMessageW(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    }
    if (point.x >= cell.left && point.x < cell.right) {
      if (cellRect) *cellRect = cell;
      return column;
    }
  }
  return -1;
}

int CTreeListCtrl::ChooseRowColours(int, const TreeListItem*, bool selected, bool focused) const {
  if (!selected) return 1;
  return focused ? 2 : 4;
}

void CTreeListCtrl::FillDispInfo(NMLVDISPINFOW& info) const {
  // The list view holds no rows: everything it shows or is asked about a
  // row (also by another process, as LVM_GETITEMTEXT) comes from here.
  TreeListItem* item = ItemOfRow(info.item.iItem);
  if (!item) return;
  if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
    std::wstring text = CellTextWide(item, info.item.iSubItem);
    size_t n = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
    std::copy_n(text.data(), n, info.item.pszText);
    info.item.pszText[n] = L'\0';
  }
  if (info.item.mask & (LVIF_IMAGE | LVIF_INDENT)) {
    RowLook look = LookOfRow(item);
    if (info.item.mask & LVIF_IMAGE) info.item.iImage = look.image;
    if (info.item.mask & LVIF_INDENT) info.item.iIndent = look.indent;
  }
  if ((info.item.mask & LVIF_STATE) && (info.item.stateMask & LVIS_DROPHILITED)) {
    info.item.state &= ~LVIS_DROPHILITED;
    if (info.item.iItem == dropTarget_.row && dropTarget_.valid()) info.item.state |= LVIS_DROPHILITED;
  }
}

void CTreeListCtrl::DrawInsertionMarker(HDC dc, const RECT& rowRect, const RECT& iconRect, int row) {
  RECT marker = rowRect;
  marker.left = iconRect.left;
  AdjustMarkerRect(marker, row);
  // A move into the target is shown by the row's whole background (see DrawRow).
  if (dropTarget_.mode == tlMove_Added) return;
  if (dropTarget_.mode == tlMove_Lower) {
    marker.top = marker.bottom - 2;
  } else {
    // Before the row: along its top edge (on the first row too).
    marker.bottom = marker.top + 2;
  }
  ScopedBrush brush(dropTarget_.mode == tlMove_None ? RGB(255, 255, 255) : kMarkerColour);
  ::FillRect(dc, &marker, brush.get());
}

void CTreeListCtrl::DrawRow(const DRAWITEMSTRUCT& draw) {
  int row = static_cast<int>(draw.itemID);
  TreeListItem* item = ItemOfRow(row);
  HDC dc = draw.hDC;
  UINT state = static_cast<UINT>(
      ::SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                     LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED | LVIS_STATEIMAGEMASK));
  bool focused = ::GetFocus() == list_;
  bool showsSelection = (::GetWindowLongPtrW(list_, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
  bool selected = (state & LVIS_SELECTED) && (showsSelection || focused);
  bool dropTarget = (state & LVIS_DROPHILITED) && row == dropTarget_.row;
  ColourPair colours = Colours(ChooseRowColours(row, item, selected, focused));
  if (dropTarget && dropTarget_.mode == tlMove_Added) colours = {RGB(255, 255, 255), kMarkerColour};

  RECT rowRect = draw.rcItem;
  {
    ScopedBrush background(colours.background);
    ::FillRect(dc, &rowRect, background.get());
  }
  RECT icon{LVIR_ICON, 0, 0, 0};
  RECT label{LVIR_LABEL, 0, 0, 0};
  ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&icon));
  ::SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
  RowLook look = LookOfRow(item);
  int column0Right = label.right;

  if (UINT stateImage = (state & LVIS_STATEIMAGEMASK) >> 12) {
    HIMAGELIST states = reinterpret_cast<HIMAGELIST>(::SendMessageW(list_, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    if (states)
      ImageList_Draw(states, static_cast<int>(stateImage) - 1, dc, rowRect.left, rowRect.top,
                     ILD_TRANSPARENT);
  }
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  int imageX = rowRect.left + 16 * look.indent;
  if (images && item && imageX < column0Right) {
    int cx = 16;
    int cy = 16;
    ImageList_GetIconSize(images, &cx, &cy);
    int imageY = rowRect.top + (rowRect.bottom - rowRect.top - cy) / 2;
    ImageList_Draw(images, look.image, dc, std::max<int>(imageX, icon.left), imageY,
                   selected ? ILD_TRANSPARENT | ILD_FOCUS : ILD_TRANSPARENT);
  }

  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list_, WM_GETFONT, 0, 0)));
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = ::SetTextColor(dc, colours.text);
  constexpr UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  for (int column = 0; column < ColumnCount() && item; ++column) {
    RECT cell = label;
    if (column > 0) {
      cell = RECT{LVIR_LABEL, column, 0, 0};
      if (!::SendMessageW(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(&cell)))
        continue;
    }
    ::InflateRect(&cell, -2, -2);
    if (cell.right <= cell.left) continue;
    std::wstring text = CellTextWide(item, column);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                kTextFlags | columns_[static_cast<size_t>(column)].drawFormat);
  }
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
  ::SelectObject(dc, oldFont);

  if ((draw.itemState & ODS_FOCUS) && focused) ::DrawFocusRect(dc, &rowRect);
  if (dropTarget) DrawInsertionMarker(dc, rowRect, icon, row);
}

bool CTreeListCtrl::SizeColumns() {
  if (!list_ || columns_.empty()) return false;
  std::vector<int> widths;
  for (int column = 0; column < ColumnCount(); ++column)
    widths.push_back(
        static_cast<int>(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)));
  RECT client{};
  ::GetClientRect(list_, &client);
  // The visible width is the client area's, which already leaves out the
  // border and the vertical scroll bar: a stretched last column then never
  // brings up a horizontal scroll bar.
  ColumnSizing step = NextColumnSizing(widths, widened_, client.right - client.left);
  if (step.action == ColumnSizing::kNone) return false;
  ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(step.column), MAKELPARAM(step.width, 0));
  // Only a width that really changed asks for another paint, so a column
  // the list view will not resize cannot keep the list painting.
  int now = static_cast<int>(::SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(step.column), 0));
  return now != widths[static_cast<size_t>(step.column)];
}

}  // namespace treelist
