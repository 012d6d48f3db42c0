// The main window's sizing: the controls follow the window's edges.
#include "app/pellmark_dlg.h"
#include "app/pellmark_dlg_res.h"
#include "winui/controls.h"

namespace app {

namespace {

LayoutRect ToLayout(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

void PlaceControl(HWND control, const LayoutRect& r) {
  if (control) winui::Place(control, r.left, r.top, r.width, r.height);
}

}  // namespace

void CPellmarkDlg::captureInitialLayout() {
  initialLayout_.erase = ToLayout(itemRect(IDC_ERASE));
  initialLayout_.eraseAll = ToLayout(itemRect(IDC_ERASE_ALL));
  initialLayout_.exit = ToLayout(itemRect(IDCANCEL));
  initialLayout_.separator = ToLayout(itemRect(IDC_SEPARATOR));
  initialLayout_.status = ToLayout(itemRect(IDC_STATUS_LINE));
  initialLayout_.hint = ToLayout(itemRect(IDC_HELP_HINT));
  layoutTaken_ = true;
}

void CPellmarkDlg::OnSize(UINT sizeType, int width, int height) {
  if (sizeType == SIZE_MINIMIZED || !layoutTaken_) return;
  applyLayout(width, height);
}

void CPellmarkDlg::applyLayout(int width, int height) {
  if (!layoutTaken_) return;
  const MainWindowLayout layout = ComputeMainWindowLayout(initialLayout_, width, height);
  PlaceControl(item(IDC_TRACK_LIST), layout.list);
  if (HWND list = list_.hwnd(); list && list_.ColumnCount() == 5) {
    for (int c = 0; c < 5; ++c) ListView_SetColumnWidth(list, c, layout.columnWidths[c]);
  }
  PlaceControl(item(IDC_ERASE), layout.erase);
  PlaceControl(item(IDC_ERASE_ALL), layout.eraseAll);
  PlaceControl(item(IDCANCEL), layout.exit);
  PlaceControl(item(IDC_SEPARATOR), layout.separator);
  PlaceControl(item(IDC_STATUS_LINE), layout.status);
  PlaceControl(item(IDC_HELP_HINT), layout.hint);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

}  // namespace app
