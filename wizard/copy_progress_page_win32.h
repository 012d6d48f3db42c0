// The copying page: starts the copy a second after it opens, polls it
// every 100 ms into the progress bar, and asks before cancelling. It ends
// with Next (1) once the copy has ended, successfully or not (its code is
// in copyResult), and with 2 only when the user left the page another way,
// so that no copy result, whatever its value, is taken for leaving.
#pragma once

#include "wizard/copy_engine_win32.h"
#include "wizard/wizard_page_win32.h"

namespace wizard {

constexpr UINT_PTR kStartTimer = 100;
constexpr UINT_PTR kPollTimer = 200;
constexpr UINT kStartDelayMs = 1000;
constexpr UINT kPollDelayMs = 100;

class CopyProgressPage final : public WizardPage {
 public:
  explicit CopyProgressPage(const WizardLook& look);

  void setEngine(CopyEngine* engine) { m_pEngine = engine; }
  // 0 for a finished copy, else a Windows error code or kAbort.
  HRESULT copyResult() const { return m_copyResult; }

 protected:
  bool OnInitDialog() override;
  void OnTimer(UINT_PTR id) override;
  void OnOK() override {}  // Enter must not end the copy page
  void OnCancel() override;
  void OnDestroy() override;

 private:
  void endWith(HRESULT copyResult);
  void setBar(int position) const;

  CopyEngine* m_pEngine = nullptr;
  HRESULT m_copyResult = hr::kOk;
  UINT_PTR m_nCurrentTimer = 0;
  bool m_bStarted = false;
  bool m_bCancelledBeforeStart = false;
};

}  // namespace wizard
