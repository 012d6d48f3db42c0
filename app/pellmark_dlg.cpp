#include "app/pellmark_dlg.h"

#include "app/about_dlg.h"
#include "app/command_line_drop.h"
#include "app/command_line_paths.h"
#include "app/debug_log.h"
#include "app/device_instance.h"
#include "app/help_command.h"
#include "app/help_setting_store.h"
#include "app/help_settings.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg_res.h"
#include "app/resource_ids.h"
#include "app/transfer_progress_dlg.h"
#include "mp3/tag_code_page.h"
#include "winui/application.h"
#include "winui/message_text.h"

namespace app {

namespace {

// Timer 1: the list's set-up and the help window, once the window is on
// screen. Timer 3: the load thread.
constexpr UINT_PTR kSetUpTimer = 1;
constexpr UINT_PTR kLoadTimer = 3;
constexpr UINT kStartTimerMs = 100;

// The folders the device-access library keeps its work files in.
constexpr wchar_t kLibraryFolder[] = L"c:\\temp";

// The list's own colour pairs: normal rows and selected rows.
constexpr int kNormalColours = 1;
constexpr int kSelectedColours = 2;

using winui::ResourceModule;

}  // namespace

CPellmarkDlg::CPellmarkDlg(CTransferProgressDlg* progress, device::CIPACWrap& device, TransferFlags& flags)
    : CDialog(IDD_PELLMARK_DIALOG),
      progress_(progress),
      device_(device),
      flags_(flags),
      jobs_(engine::SharedJobLists()),
      albums_(engine::SharedAlbumVector()),
      listDevice_(device),
      list_(this, &listDevice_),
      listSemaphore_(L"PLMKLIST_SEMAPHORE", 1, 100),
      loadSemaphore_(L"LOAD_SEMAPHORE", 1, 1),
      esysSemaphore_(L"ESYS_SEMAPHORE", 1, 1),
      createFolderSemaphore_(L"CREATE_FOLDER_SEMAPHORE", 1, 1) {}

CPellmarkDlg::CPellmarkDlg(CTransferProgressDlg* progress) : CPellmarkDlg(progress, ProcessDevice()) {
  SetCommandLinePaths(CommandLineDropPaths(ProgramArguments()));
}

CPellmarkDlg::~CPellmarkDlg() {
  // Threads first: each of them uses this window's members.
  dropThread_.Wait();
  device_.DefaultEvents().setPastCancelHook(nullptr);
  flags_.connectivityStop.store(1);
  connectivity_.Wake();
  connectivity_.Join();
  loader_.Join();
  esysSemaphore_.close();
  listSemaphore_.close();
  loadSemaphore_.close();
  createFolderSemaphore_.close();
  DebugLog("\nCPellmarkDlg::~CPellmarkDlg()");
}

void CPellmarkDlg::SetCommandLinePaths(std::vector<sys::Path> paths) {
  commandLine_ = std::make_unique<CCommandLineDrop>(std::move(paths));
}

CTransferProgressDlg& CPellmarkDlg::ProgressWindow() { return *progress_; }

bool CPellmarkDlg::OnInitDialog() {
  // The connectivity thread waits until the first listing is shown.
  flags_.busy.store(1);
  addAboutMenuItem();
  setIcons();

  setTexts();
  captureInitialLayout();
  if (progress_) progress_->setMainWindow(hwnd());
  setTimer(kSetUpTimer, kStartTimerMs);
  // The device starts once the window is on screen: its failures show
  // boxes, and a box in front of a window not yet shown hides both.
  post(kStartDeviceMessage);
  DebugLog("\nEnd of OnInitDialog()");
  return true;
}

void CPellmarkDlg::startDevice() {
  if (sys::TempFolder().empty()) sys::CreateFolder(sys::Path(kLibraryFolder));
  // The wrapper's first note continues the current line; start a new one.
  DebugLog("\nInitialize the device");
  const HRESULT h = device_.Initialize(hwnd(), kLibraryFolder, kLibraryFolder);
  if (FAILED(h) || h != S_OK) {
    DebugLog("\nInitialize failed (0x%08lX)", static_cast<unsigned long>(h));
    winui::ShowMessage(hwnd(), msg::kStartFailed, MB_OK | MB_ICONWARNING);
    // Nothing else starts; the window stays with an empty list. Nothing is
    // busy either, so Exit works at once.
    flags_.busy.store(0);
    return;
  }
  deviceStarted_ = true;
  device_.DefaultEvents().setWindow(hwnd());
  // The transfer's thread tells the progress window when a track can no
  // longer be cancelled.
  if (CTransferProgressDlg* progress = progress_)
    device_.DefaultEvents().setPastCancelHook([progress](bool past) { progress->NotePastCancel(past); });
  connectivity_.Start(hwnd(), device_, flags_);
  setTimer(kLoadTimer, kStartTimerMs);
  mp3::SelectTagCodePageFromSystem();
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

void CPellmarkDlg::setUpList() {
  HWND listView = item(IDC_TRACK_LIST);
  if (!listView || list_.hwnd()) return;
  list_.Attach(listView);
  ListView_SetExtendedListViewStyleEx(listView, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  // The control destroys a shared image list never; this window owns it.
  ::SetWindowLongPtrW(listView, GWL_STYLE, ::GetWindowLongPtrW(listView, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  using winui::MessageText;
  list_.InsertStandardColumns({MessageText(msg::kTitleColumn), MessageText(msg::kArtistColumn),
                               MessageText(msg::kTimeColumn), MessageText(msg::kAlbumColumn),
                               MessageText(msg::kGenreColumn)});
  images_.reset(::ImageList_LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDB_TREE_IMAGES), 16, 0,
                                       RGB(0, 255, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION));
  if (images_) ListView_SetImageList(listView, images_.get(), LVSIL_SMALL);
  list_.SetColourPair(kNormalColours, {::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOW)});
  list_.SetColourPair(kSelectedColours, {::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_HIGHLIGHT)});
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  applyLayout(client.right, client.bottom);
  registerDropTarget();
}

void CPellmarkDlg::registerDropTarget() {
  if (dropTarget_ || !list_.hwnd()) return;
  dropTarget_ = new engine::CMp3DropTarget(*this, jobs_, flags_);
  const HRESULT h = ::RegisterDragDrop(list_.hwnd(), dropTarget_);
  dropTargetRegistered_ = SUCCEEDED(h);
  if (!dropTargetRegistered_) DebugLog("\nRegisterDragDrop failed (0x%08lX)", static_cast<unsigned long>(h));
}

void CPellmarkDlg::OnDestroy() {
  if (dropTargetRegistered_) ::RevokeDragDrop(list_.hwnd());
  dropTargetRegistered_ = false;
  if (dropTarget_) dropTarget_->Release();
  dropTarget_ = nullptr;
  device_.DefaultEvents().setWindow(nullptr);
}

void CPellmarkDlg::OnTimer(UINT_PTR id) {
  killTimer(id);
  switch (id) {
    case kSetUpTimer:
      setUpList();
      if (OpensHelpAtStartup(ReadHelpSetting())) ShowHelp(hwnd());
      break;
    case kLoadTimer:
      startLoad();
      break;
    default:
      break;
  }
}

void CPellmarkDlg::showRefusalWarning(unsigned messageId) {
  // A second request while the box is up is refused all the same; one box
  // says it.
  if (warningUp_) return;
  warningUp_ = true;
  // The box enables its owner when it closes; a window disabled behind the
  // progress window of a running transfer must stay disabled.
  const bool wasEnabled = ::IsWindowEnabled(hwnd()) != FALSE;
  winui::ShowMessage(hwnd(), messageId, MB_OK | MB_ICONWARNING | MB_SYSTEMMODAL);
  if (!wasEnabled) ::EnableWindow(hwnd(), FALSE);
  warningUp_ = false;
}

void CPellmarkDlg::startLoad() {
  // The list exists before the listing arrives (timer 1 ran first; make
  // sure of it when the timers raced).
  setUpList();
  flags_.busy.store(1);
  if (!loader_.Start(hwnd(), kListingReadyMessage, device_, loadSemaphore_)) {
    DebugLog("\nLoadThreadProc cannot start");
    flags_.busy.store(0);
  }
}

bool CPellmarkDlg::OnSysCommand(WPARAM command, LPARAM) {
  // The system keeps the low four bits of the command for itself.
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg about;
  about.DoModal(hwnd());
  return true;
}

bool CPellmarkDlg::OnCommand(UINT id, UINT notifyCode, HWND control) {
  if (notifyCode == BN_CLICKED || control == nullptr) {
    if (id == IDC_ERASE) {
      onErase();
      return true;
    }
    if (id == IDC_ERASE_ALL) {
      onEraseAll();
      return true;
    }
  }
  return CDialog::OnCommand(id, notifyCode, control);
}

bool CPellmarkDlg::OnClose() {
  // The connectivity thread is stopped only once the window really ends
  // (OnCancel): a close refused while the progress window shows must not
  // leave the program blind to the player's disappearance.
  DebugLog("\nOnClose");
  ::EnableWindow(hwnd(), TRUE);
  // The system turns the close into IDCANCEL, which OnCancel decides on.
  return false;
}

void CPellmarkDlg::OnCancel() {
  const bool deviceGone = flags_.deviceGone.load() != 0;
  // While the progress window is up, only its own button may end things,
  // unless the player is gone and there is nothing left to wait for.
  if (!deviceGone && progress_ && progress_->isVisible()) return;
  // A drop that is still running ends at its next check once the player is
  // gone; otherwise it ends on its own.
  dropThread_.Wait();
  flags_.connectivityStop.store(1);
  connectivity_.Wake();
  DebugLog("\nOnCancel");
  EndDialog(IDCANCEL);
}

}  // namespace app
