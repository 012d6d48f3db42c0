#include "wizard/finish_page_win32.h"

#include <cstdio>

#include "winui/controls.h"
#include "wizard/deckhand_res.h"
#include "wizard/wizard_flow.h"

namespace wizard {

std::string SystemMessageText(HRESULT code) {
  char text[2048] = {};
  const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                   static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                                   sizeof(text), nullptr);
  std::string out(text, n);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  if (out.empty()) {
    // A code the system has no text for must still show that something
    // failed, and which code it was.
    char fallback[32];
    std::snprintf(fallback, sizeof(fallback), "Error 0x%08lX", static_cast<unsigned long>(code));
    out = fallback;
  }
  return out;
}

FinishPage::FinishPage(const WizardLook& look) : WizardPage(IDD_FINISH_PAGE, look, PageTexts{}) {}

std::string FinishPage::caption() const {
  return m_result == hr::kOk ? texts().finished.caption : texts().failed.caption;
}

std::string FinishPage::message() const {
  return m_result == hr::kOk ? texts().finished.message : texts().failed.message;
}

std::string FinishPage::closeButtonText() const {
  return m_result == hr::kOk ? texts().finish : texts().done;
}

bool FinishPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  if (m_result == hr::kOk) {
    showItem(IDC_TO_DRIVE_SELECTION, false);
    return true;
  }
  if (HWND back = item(IDC_TO_DRIVE_SELECTION)) {
    setAnsiText(IDC_TO_DRIVE_SELECTION, texts().toDriveSelection);
    winui::Place(back, 138, kButtonTop, 120, kButtonHeight);
    showItem(IDC_TO_DRIVE_SELECTION, true);
    setBodyFont(IDC_TO_DRIVE_SELECTION);
  }
  setAnsiText(IDC_PAGE_DETAIL, SystemMessageText(m_result));
  setBodyFont(IDC_PAGE_DETAIL);
  return true;
}

bool FinishPage::OnCommand(UINT id, UINT notifyCode, HWND control) {
  if (id == IDC_TO_DRIVE_SELECTION && notifyCode == BN_CLICKED) {
    EndDialog(kResultToDriveSelection);
    return true;
  }
  return WizardPage::OnCommand(id, notifyCode, control);
}

}  // namespace wizard
