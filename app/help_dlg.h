// CHelpDlg: the help window. It shows help.htm from the program's folder in
// the system's web browser control, and a check box that decides whether the
// window opens by itself at start-up. Where the browser control cannot be
// created, or has no HTML engine to render with, the window shows the page
// as plain text instead, with the file's location, so it never comes up
// empty.
#pragma once

#include <string>

#include "winui/browser_host.h"
#include "winui/dialog.h"

namespace app {

class CHelpDlg final : public winui::CDialog {
 public:
  // openAtStartup: the check box's state (the stored setting is not 10).
  explicit CHelpDlg(bool openAtStartup);

  // True once the plain-text view replaced the browser control.
  bool showsPlainText() const { return plainText_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  // F1 in the help window asks for what is already open.
  void OnHelp() override {}

 private:
  void showPlainText();

  bool openAtStartup_;
  bool plainText_ = false;
  std::wstring programPath_;
  winui::CBrowserHost browser_;
};

}  // namespace app
