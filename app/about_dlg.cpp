#include "app/about_dlg.h"

#include "app/about_dlg_res.h"
#include "app/message_ids.h"
#include "winui/message_text.h"

namespace app {

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

bool CAboutDlg::OnInitDialog() {
  using winui::MessageText;
  setTitle(MessageText(msg::kAppTitle));
  setItemText(IDC_ABOUT_VERSION_LINE, MessageText(msg::kAboutVersionLine));
  setItemText(IDC_ABOUT_SECOND_LINE, MessageText(msg::kAboutSecondLine));
  setItemText(IDOK, MessageText(msg::kOkButton));
  return true;
}

}  // namespace app
