// CPellmarkApp: the track manager's application object, one static
// instance. Start-up, in order:
//   1. static objects: the registered window messages, the lock set, the
//      system default language;
//   2. InitApplication: load the message module; stop at once (message
//      18433, exit code 0) when another instance runs;
//   3. InitInstance: OLE (the help window hosts a control) and COM; the
//      exclusion lock (message 18434 with the holders' names, exit code 0,
//      when another program holds it); the hidden progress window; the
//      log; the main window, run modally. No message loop follows.
//   4. ExitInstance: release the locks, uninitialise COM and OLE.
#pragma once

#include <optional>

#include "app/lock_set.h"
#include "app/single_instance.h"
#include "app/transfer_progress_dlg.h"
#include "win32/unique_module.h"
#include "winui/application.h"
#include "winui/ole_session.h"

namespace app {

class CPellmarkApp final : public winui::CApplication {
 public:
  CPellmarkApp(ILockSet& locks, const std::string& instanceEventName);
  ~CPellmarkApp() override;

  CTransferProgressDlg& progressWindow() { return progress_; }

  // F1 anywhere: the help window (one at a time).
  void OnHelp(HWND from) override;

 protected:
  bool InitApplication() override;
  bool InitInstance() override;
  int ExitInstance() override;

 private:
  void logLockNames() const;

  ILockSet& locks_;
  win::UniqueModule messageModule_;
  CSingleInstance singleInstance_;
  std::optional<winui::OleSession> ole_;
  std::optional<winui::ComSession> com_;
  CTransferProgressDlg progress_;
};

// The program's one application object.
CPellmarkApp& TheApp();

}  // namespace app
