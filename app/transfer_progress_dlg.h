// CTransferProgressDlg: the small window that floats over the main window
// while dropped files are collected and transferred. It shows a picture, a
// progress text and the only Cancel button of a transfer. One instance lives
// in the application object; it is created hidden at start-up and shown and
// hidden as drops come and go.
#pragma once

#include <string>

#include "app/progress_state.h"
#include "app/transfer_flags.h"
#include "win32/unique_gdi.h"
#include "winui/dialog.h"

namespace app {

class CTransferProgressDlg final : public winui::CDialog {
 public:
  // flags: the transfer flags its Cancel reads and sets.
  explicit CTransferProgressDlg(TransferFlags& flags = SharedTransferFlags());

  // The window it reports to ("TransferCancelled", "TransferCompleted") and
  // disables and enables around a transfer.
  void setMainWindow(HWND mainWindow) { mainWindow_ = mainWindow; }
  HWND mainWindow() const { return mainWindow_; }

  // Shows a text; ignored after a cancel until the next transfer starts.
  void SetProgressText(const std::wstring& text);
  // Button flags as in app/progress_state.h. While the running track is
  // past the point of no return, the cancel button stays disabled.
  void SetButtonState(uint32_t flags);
  // The running track passed the point of no return (true), or its transfer
  // ended (false). Called on the transfer's thread: it sets the shared flag
  // at once, so a Cancel already on its way is refused, and posts the
  // window a note to disable its button.
  void NotePastCancel(bool past);
  // 1: the first picture; 2: the second.
  void DrawPicture(int picture);

  // The start of a drop: keeps its size, puts its top edge 80 pixels below
  // the list's top edge, centred over the list; disables the main window;
  // shows the first picture, a running transfer's button and message 16896;
  // takes the focus.
  void ShowForTransfer(HWND list);
  // Hides the window and gives the main window back.
  void HideAndReleaseMainWindow();
  // Enables or disables the one button without changing its caption.
  void EnableButton(bool enable) { enableItem(kButtonId, enable); }
  // Keeps the window above all others without moving or activating it.
  void MakeTopMost();

  bool isVisible() const;
  const ProgressState& state() const { return state_; }
  int picture() const { return picture_; }

 protected:
  bool OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
  void OnCancel() override;
  void OnHelp() override {}

 private:
  static constexpr int kButtonId = 1007;
  // Posted by NotePastCancel.
  static constexpr UINT kPastCancelMessage = WM_APP + 0x61;
  void enableMainWindow(bool enable) const;

  TransferFlags& flags_;
  ProgressState state_;
  HWND mainWindow_ = nullptr;
  win::UniqueBitmap pictures_[2];
  int picture_ = 0;
  // The button's caption for captionId_ from captionModule_, looked up once
  // per change of state rather than once per progress message.
  unsigned captionId_ = 0;
  HMODULE captionModule_ = nullptr;
  std::wstring caption_;
};

}  // namespace app
