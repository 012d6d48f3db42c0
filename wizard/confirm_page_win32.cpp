#include "wizard/confirm_page_win32.h"

#include "wizard/deckhand_res.h"

namespace wizard {

ConfirmPage::ConfirmPage(const WizardLook& look)
    : WizardPage(IDD_CONFIRM_PAGE, look, look.texts.confirmation) {}

bool ConfirmPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  setAnsiText(IDC_PAGE_DETAIL, m_sDrive);
  setBodyFont(IDC_PAGE_DETAIL);
  return true;
}

}  // namespace wizard
