#include "app/transfer_progress_dlg.h"

#include "app/message_ids.h"
#include "app/registered_messages.h"
#include "app/resource_ids.h"
#include "app/transfer_progress_dlg_res.h"
#include "winui/application.h"
#include "winui/controls.h"
#include "winui/message_text.h"

namespace app {

namespace {

// The picture square: 34 x 34 pixels at 10,10 of the client area.
constexpr int kPictureLeft = 10;
constexpr int kPictureTop = 10;
constexpr int kPictureSize = 34;
// The window's top edge below the list's top edge at the start of a drop.
constexpr int kOffsetBelowListTop = 80;

}  // namespace

CTransferProgressDlg::CTransferProgressDlg(TransferFlags& flags)
    : CDialog(IDD_TRANSFER_PROGRESS), flags_(flags) {}

bool CTransferProgressDlg::OnInitDialog() {
  setItemText(IDC_PROGRESS_TEXT, std::wstring());
  setTitle(winui::MessageText(msg::kAppTitle));
  // Grey in the pictures becomes the dialog's own face colour.
  const UINT load = LR_LOADMAP3DCOLORS;
  pictures_[0].reset(static_cast<HBITMAP>(::LoadImageW(
      winui::ResourceModule(), MAKEINTRESOURCEW(IDB_PROGRESS_PICTURE_1), IMAGE_BITMAP, 0, 0, load)));
  pictures_[1].reset(static_cast<HBITMAP>(::LoadImageW(
      winui::ResourceModule(), MAKEINTRESOURCEW(IDB_PROGRESS_PICTURE_2), IMAGE_BITMAP, 0, 0, load)));
  winui::Place(item(IDC_PROGRESS_PICTURE), kPictureLeft, kPictureTop, kPictureSize, kPictureSize);
  state_.prepareForTransfer();
  SetButtonState(0);
  return true;
}

void CTransferProgressDlg::SetProgressText(const std::wstring& text) {
  if (!state_.acceptsText()) return;
  setItemText(IDC_PROGRESS_TEXT, text);
}

void CTransferProgressDlg::SetButtonState(uint32_t flags) {
  // A late progress report of the track must not offer Cancel again.
  if (flags_.pastCancel.load() != 0 && !(flags & kProgressButtonCloses)) flags |= kProgressButtonDisabled;
  state_.setButtonFlags(flags);
  // Every progress message sets the state, mostly to what it already is;
  // a caption set again still repaints the button, which costs more than
  // the rest of the message.
  HWND button = item(IDC_PROGRESS_BUTTON);
  if (state_.buttonCaptionId() != captionId_ || winui::MessageModule() != captionModule_) {
    captionId_ = state_.buttonCaptionId();
    captionModule_ = winui::MessageModule();
    caption_ = winui::MessageText(captionId_);
  }
  if (winui::TextOf(button) != caption_) winui::SetText(button, caption_);
  const bool enable = state_.buttonEnabled();
  if (button && (::IsWindowEnabled(button) != FALSE) != enable) winui::Enable(button, enable);
}

void CTransferProgressDlg::NotePastCancel(bool past) {
  flags_.pastCancel.store(past ? 1 : 0);
  if (past && hwnd()) ::PostMessageW(hwnd(), kPastCancelMessage, 0, 0);
}

bool CTransferProgressDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message != kPastCancelMessage) return false;
  // The transfer may have ended since; then the button keeps its state.
  if (flags_.pastCancel.load() != 0 && !state_.buttonCloses()) SetButtonState(kProgressButtonDisabled);
  result = 0;
  return true;
}

void CTransferProgressDlg::DrawPicture(int picture) {
  if (picture != 1 && picture != 2) return;
  HWND square = item(IDC_PROGRESS_PICTURE);
  if (!square) return;
  if (picture == 2) ::InvalidateRect(square, nullptr, TRUE);
  picture_ = picture;
  ::SendMessageW(square, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pictures_[picture - 1].get()));
  winui::Place(square, kPictureLeft, kPictureTop, kPictureSize, kPictureSize);
  ::UpdateWindow(square);
}

void CTransferProgressDlg::ShowForTransfer(HWND list) {
  if (!hwnd()) return;
  RECT window{};
  ::GetWindowRect(hwnd(), &window);
  RECT listRect{};
  if (list && ::GetWindowRect(list, &listRect)) {
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int left = listRect.left + ((listRect.right - listRect.left) - width) / 2;
    const int top = listRect.top + kOffsetBelowListTop;
    ::SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  enableMainWindow(false);
  // A new transfer: a cancel of an earlier one no longer freezes the text.
  state_.prepareForTransfer();
  ::ShowWindow(hwnd(), SW_SHOW);
  DrawPicture(1);
  SetButtonState(0);
  ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(hwnd());
  ::SetFocus(item(IDC_PROGRESS_BUTTON));
  SetProgressText(winui::MessageText(msg::kCollectingFiles));
}

void CTransferProgressDlg::HideAndReleaseMainWindow() {
  if (hwnd()) ::ShowWindow(hwnd(), SW_HIDE);
  enableMainWindow(true);
}

void CTransferProgressDlg::MakeTopMost() {
  if (!hwnd()) return;
  // Already topmost and above every other window: raising it again would
  // change nothing but still cost a trip to the window system.
  const bool topMost = (::GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (topMost && ::GetTopWindow(nullptr) == hwnd()) return;
  ::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CTransferProgressDlg::isVisible() const { return hwnd() && ::IsWindowVisible(hwnd()); }

void CTransferProgressDlg::enableMainWindow(bool enable) const {
  if (mainWindow_) ::EnableWindow(mainWindow_, enable ? TRUE : FALSE);
}

bool CTransferProgressDlg::OnCommand(UINT id, UINT notifyCode, HWND control) {
  if (id == IDC_PROGRESS_BUTTON && notifyCode == BN_CLICKED) {
    OnCancel();
    return true;
  }
  // Enter has no meaning here; only the button (or Esc) acts.
  if (id == IDOK) return true;
  return CDialog::OnCommand(id, notifyCode, control);
}

void CTransferProgressDlg::OnCancel() {
  // Esc does what the button does, and nothing while the button is disabled
  // (already cancelling, or past the point where a track can be stopped).
  if (HWND button = item(IDC_PROGRESS_BUTTON); button && !::IsWindowEnabled(button)) return;
  // The track being committed is the player's already: a press that comes
  // before the button shows it is refused just the same.
  if (flags_.pastCancel.load() != 0 && !state_.buttonCloses()) return;
  switch (state_.cancel(flags_.busy.load() != 0)) {
    case ProgressCancelAction::kHideWindow:
      HideAndReleaseMainWindow();
      break;
    case ProgressCancelAction::kCancelTransfer:
      enableItem(IDC_PROGRESS_BUTTON, false);
      flags_.cancel.store(1);
      // Set directly: the text is frozen from now on.
      setItemText(IDC_PROGRESS_TEXT, winui::MessageText(msg::kCancelling));
      if (mainWindow_) ::SendMessageW(mainWindow_, messages::kTransferCancelled.id(), 0, 0);
      break;
    case ProgressCancelAction::kEndIdle:
      flags_.cancel.store(1);
      if (mainWindow_) ::SendMessageW(mainWindow_, messages::kTransferCompleted.id(), 0, 0);
      enableItem(IDC_PROGRESS_BUTTON, true);
      break;
  }
}

}  // namespace app
