#include "wizard/drive_select_page_win32.h"

#include <shellapi.h>

#include "win32/ansi_text.h"
#include "winui/controls.h"
#include "winui/registered_message.h"
#include "wizard/deckhand_res.h"
#include "wizard/drive_scan_win32.h"
#include "wizard/wizard_flow.h"

namespace wizard {
namespace {

// Sent by the shell to the foreground window before it starts AutoPlay for
// a medium that arrived; TRUE keeps AutoPlay from popping up over the page
// while the user is choosing the player (which may just have been plugged
// in).
const winui::RegisteredMessage kQueryCancelAutoPlay(L"QueryCancelAutoPlay");

constexpr int kItemHeight = 20;

// The wait cursor for one scope.
class WaitCursor {
 public:
  WaitCursor() : m_hOld(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(m_hOld); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR m_hOld;
};

}  // namespace

DriveSelectPage::DriveSelectPage(const WizardLook& look, devcmd::DeviceSystem& system,
                                 SetDriveNoFn setDriveNo, DWORD retryDelayMs)
    : WizardPage(IDD_DRIVE_SELECT_PAGE, look, look.texts.selectDrive),
      m_system(system),
      m_setDriveNo(std::move(setDriveNo)),
      m_nRetryDelayMs(retryDelayMs) {}

bool DriveSelectPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  m_letters.clear();
  m_sChosen.clear();
  if (HWND refresh = item(IDC_REFRESH)) {
    const RECT r = itemRect(IDC_REFRESH);
    winui::Place(refresh, r.left, r.top, kButtonWidth, kButtonHeight);
    setAnsiText(IDC_REFRESH, texts().refresh);
    setBodyFont(IDC_REFRESH);
  }
  if (HWND list = item(IDC_DRIVE_LIST)) {
    ::SendMessageW(list, CB_SETITEMHEIGHT, 0, kItemHeight);
    ::SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kItemHeight);
    setBodyFont(IDC_DRIVE_LIST);
  }
  enableItem(IDOK, false);
  setTimer(kScanTimer, kScanDelayMs);
  return true;
}

void DriveSelectPage::OnTimer(UINT_PTR id) {
  if (id != kScanTimer) return;
  killTimer(kScanTimer);
  scan();
}

bool DriveSelectPage::OnCommand(UINT id, UINT notifyCode, HWND control) {
  if (id == IDC_REFRESH && notifyCode == BN_CLICKED) {
    enableItem(IDOK, false);
    scan();
    return true;
  }
  return WizardPage::OnCommand(id, notifyCode, control);
}

void DriveSelectPage::OnOK() {
  // Enter reaches here too; without a chosen player there is nothing to go
  // on with.
  HWND list = item(IDC_DRIVE_LIST);
  if (!list || !::IsWindowEnabled(item(IDOK))) return;
  const LRESULT selected = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return;
  const LRESULT letter = ::SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
  if (letter == CB_ERR || letter == 0) return;
  m_sChosen = std::string(1, static_cast<char>(letter)) + ":";
  EndDialog(kResultNext);
}

void DriveSelectPage::scan() {
  WaitCursor wait;
  fillList();
  for (int i = 0; i < kScanRetries && m_letters.empty(); ++i) {
    ::Sleep(m_nRetryDelayMs);
    fillList();
  }
  if (m_letters.empty())
    ::MessageBoxW(hwnd(), win::WideFromAnsi(texts().noDevice).c_str(),
                  win::WideFromAnsi(texts().title).c_str(), MB_OK | MB_ICONWARNING);
}

void DriveSelectPage::fillList() {
  HWND list = item(IDC_DRIVE_LIST);
  if (!list) return;
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  m_letters.clear();
  for (const DriveChoice& drive : FindPlayers(m_system, m_setDriveNo)) {
    const std::wstring name = win::WideFromAnsi(drive.displayName);
    const LRESULT at = ::SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(m_letters.size()),
                                      reinterpret_cast<LPARAM>(name.c_str()));
    if (at < 0) continue;
    ::SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(drive.letter));
    m_letters.push_back(drive.letter);
  }
  if (!m_letters.empty()) {
    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
    enableItem(IDOK, true);
  }
}

bool DriveSelectPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (kQueryCancelAutoPlay.is(message)) {
    result = TRUE;
    return true;
  }
  if (message == WM_DRAWITEM && wParam == IDC_DRIVE_LIST) {
    drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  if (message == WM_MEASUREITEM && wParam == IDC_DRIVE_LIST) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
    result = TRUE;
    return true;
  }
  return WizardPage::OnMessage(message, wParam, lParam, result);
}

void DriveSelectPage::drawItem(const DRAWITEMSTRUCT& d) const {
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  ::FillRect(d.hDC, &d.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (d.itemID == static_cast<UINT>(-1)) return;

  const int iconSize = ::GetSystemMetrics(SM_CXSMICON);
  const char letter = static_cast<char>(d.itemData);
  const char root[4] = {letter, ':', '\\', '\0'};
  SHFILEINFOA info{};
  if (letter != 0 && ::SHGetFileInfoA(root, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON) &&
      info.hIcon) {
    const int top = d.rcItem.top + (d.rcItem.bottom - d.rcItem.top - iconSize) / 2;
    ::DrawIconEx(d.hDC, d.rcItem.left + 2, top, info.hIcon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(info.hIcon);
  }

  const LRESULT length = ::SendMessageW(d.hwndItem, CB_GETLBTEXTLEN, d.itemID, 0);
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::SendMessageW(d.hwndItem, CB_GETLBTEXT, d.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  RECT r = d.rcItem;
  r.left += iconSize + iconSize / 2 + 10;
  ::SetBkMode(d.hDC, TRANSPARENT);
  ::SetTextColor(d.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::DrawTextW(d.hDC, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (d.itemState & ODS_FOCUS) ::DrawFocusRect(d.hDC, &d.rcItem);
}

}  // namespace wizard
