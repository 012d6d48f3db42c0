// The first page: a greeting, Next and Exit.
#pragma once

#include "wizard/wizard_page_win32.h"

namespace wizard {

class WelcomePage final : public WizardPage {
 public:
  explicit WelcomePage(const WizardLook& look);

 protected:
  std::string closeButtonText() const override { return texts().exit; }
};

}  // namespace wizard
