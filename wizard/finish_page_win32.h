// The last page: success, or the failure with the system's text for its
// code and a way back to drive selection.
#pragma once

#include "common/hresult.h"
#include "wizard/wizard_page_win32.h"

namespace wizard {

// The system's message text for a Windows error or COM result, without
// the line break it ends with; "Error 0x...": when the system has none.
std::string SystemMessageText(HRESULT code);

class FinishPage final : public WizardPage {
 public:
  explicit FinishPage(const WizardLook& look);
  void setResult(HRESULT result) { m_result = result; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
  std::string caption() const override;
  std::string message() const override;
  std::string closeButtonText() const override;

 private:
  HRESULT m_result = hr::kOk;
};

}  // namespace wizard
