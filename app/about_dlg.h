// The About box (system menu command 16 of the main window): the program's
// icon, its version line and a second line, and OK.
#pragma once

#include "winui/dialog.h"

namespace app {

class CAboutDlg final : public winui::CDialog {
 public:
  CAboutDlg();

 protected:
  bool OnInitDialog() override;
};

}  // namespace app
