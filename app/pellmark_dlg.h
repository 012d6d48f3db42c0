// CPellmarkDlg: the track manager's main window (dialog template 102). This
// is its shell: title, texts, icons, the About box on the system menu, the
// help window on F1 and at start-up, Enter that does not close it, and a
// clean close. The album/track list, the device and the transfers are built
// on top of it.
#pragma once

#include "app/transfer_flags.h"
#include "win32/unique_gdi.h"
#include "winui/dialog.h"

namespace app {

class CTransferProgressDlg;

class CPellmarkDlg final : public winui::CDialog {
 public:
  // progress: the application's progress window (may be null in tests).
  CPellmarkDlg(CTransferProgressDlg* progress, TransferFlags& flags = SharedTransferFlags());
  ~CPellmarkDlg() override;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog() override;
  void OnTimer(UINT_PTR id) override;
  bool OnSysCommand(WPARAM command, LPARAM lParam) override;
  bool OnClose() override;
  void OnCancel() override;

 private:
  void addAboutMenuItem();
  void setIcons();
  void setTexts();
  void paintMinimised();

  CTransferProgressDlg* progress_;
  TransferFlags& flags_;
  win::UniqueIcon bigIcon_;
  win::UniqueIcon smallIcon_;
};

}  // namespace app
