// The confirmation page: shows the chosen drive before anything is copied.
#pragma once

#include "wizard/wizard_page_win32.h"

namespace wizard {

class ConfirmPage final : public WizardPage {
 public:
  explicit ConfirmPage(const WizardLook& look);
  // "X:", set before each showing.
  void setDrive(const std::string& drive) { m_sDrive = drive; }

 protected:
  bool OnInitDialog() override;

 private:
  std::string m_sDrive;
};

}  // namespace wizard
