#include "app/pellmark_dlg.h"

#include "app/about_dlg.h"
#include "app/debug_log.h"
#include "app/help_command.h"
#include "app/help_setting_store.h"
#include "app/help_settings.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg_res.h"
#include "app/resource_ids.h"
#include "app/transfer_progress_dlg.h"
#include "winui/application.h"
#include "winui/message_text.h"

namespace app {

namespace {

// Timer 1: the list's set-up and the help window at start-up, once the
// window is on screen.
constexpr UINT_PTR kStartupTimer = 1;
constexpr UINT kStartupTimerMs = 100;

HINSTANCE ResourceModule() {
  if (winui::CApplication* app = winui::CApplication::Instance(); app && app->instance())
    return app->instance();
  return ::GetModuleHandleW(nullptr);
}

}  // namespace

CPellmarkDlg::CPellmarkDlg(CTransferProgressDlg* progress, TransferFlags& flags)
    : CDialog(IDD_PELLMARK_DIALOG), progress_(progress), flags_(flags) {}

CPellmarkDlg::~CPellmarkDlg() { DebugLog("\nCPellmarkDlg::~CPellmarkDlg()"); }

bool CPellmarkDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      DebugLog("\nwParam=%d, lParam=%d", static_cast<int>(wParam), static_cast<int>(lParam));
      // Enter (the default command 1) must not close the window.
      if (LOWORD(wParam) == IDOK) {
        result = 0;
        return true;
      }
      return false;
    case WM_PAINT:
      if (::IsIconic(hwnd())) {
        paintMinimised();
        result = 0;
        return true;
      }
      return false;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(bigIcon_.get());
      return true;
    default:
      return false;
  }
}

bool CPellmarkDlg::OnInitDialog() {
  addAboutMenuItem();
  setIcons();
  setTexts();
  if (progress_) progress_->setMainWindow(hwnd());
  setTimer(kStartupTimer, kStartupTimerMs);
  DebugLog("\nEnd of OnInitDialog()");
  return true;
}

void CPellmarkDlg::addAboutMenuItem() {
  std::wstring about = winui::MessageText(msg::kAboutMenuItem);
  HMENU menu = ::GetSystemMenu(hwnd(), FALSE);
  if (about.empty() || !menu) return;
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

void CPellmarkDlg::setIcons() {
  HINSTANCE module = ResourceModule();
  bigIcon_.reset(static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                                 LR_DEFAULTCOLOR)));
  smallIcon_.reset(static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

void CPellmarkDlg::setTexts() {
  using winui::MessageText;
  setTitle(MessageText(msg::kAppTitle));
  setItemText(IDC_ERASE, MessageText(msg::kEraseButton));
  setItemText(IDC_ERASE_ALL, MessageText(msg::kEraseAllButton));
  setItemText(IDCANCEL, MessageText(msg::kCloseButton));
  setItemText(IDC_HELP_HINT, MessageText(msg::kHelpHint));
}

void CPellmarkDlg::paintMinimised() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(hwnd(), &paint);
  send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, bigIcon_.get());
  ::EndPaint(hwnd(), &paint);
}

void CPellmarkDlg::OnTimer(UINT_PTR id) {
  killTimer(id);
  if (id == kStartupTimer && OpensHelpAtStartup(ReadHelpSetting())) ShowHelp(hwnd());
}

bool CPellmarkDlg::OnSysCommand(WPARAM command, LPARAM) {
  // The system keeps the low four bits of the command for itself.
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg about;
  about.DoModal(hwnd());
  return true;
}

bool CPellmarkDlg::OnClose() {
  flags_.connectivityStop.store(1);
  DebugLog("\nOnClose");
  ::EnableWindow(hwnd(), TRUE);
  // The system turns the close into IDCANCEL, which OnCancel decides on.
  return false;
}

void CPellmarkDlg::OnCancel() {
  // While the progress window is up, only its own button may end things,
  // unless the player is gone and there is nothing left to wait for.
  if (progress_ && progress_->isVisible() && flags_.deviceGone.load() == 0) return;
  DebugLog("\nOnCancel");
  EndDialog(IDCANCEL);
}

}  // namespace app
