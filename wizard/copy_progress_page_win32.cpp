#include "wizard/copy_progress_page_win32.h"

#include <commctrl.h>

#include "win32/ansi_text.h"
#include "wizard/copy_progress.h"
#include "wizard/deckhand_res.h"
#include "wizard/wizard_flow.h"

namespace wizard {

CopyProgressPage::CopyProgressPage(const WizardLook& look)
    : WizardPage(IDD_COPY_PROGRESS_PAGE, look, look.texts.copying) {}

bool CopyProgressPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  m_copyResult = hr::kOk;
  m_bStarted = false;
  m_bCancelledBeforeStart = false;
  if (HWND bar = item(IDC_PAGE_DETAIL)) {
    ::SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    ::SendMessageW(bar, PBM_SETPOS, 0, 0);
  }
  m_nCurrentTimer = kStartTimer;
  setTimer(kStartTimer, kStartDelayMs);
  return true;
}

void CopyProgressPage::setBar(int position) const {
  if (HWND bar = item(IDC_PAGE_DETAIL)) ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CopyProgressPage::endWith(HRESULT copyResult) {
  killTimer(kStartTimer);
  killTimer(kPollTimer);
  m_nCurrentTimer = 0;
  m_copyResult = copyResult;
  EndDialog(kResultNext);
}

void CopyProgressPage::OnTimer(UINT_PTR id) {
  if (id == kStartTimer) {
    killTimer(kStartTimer);
    // The user said yes to cancelling before anything was copied.
    if (m_bCancelledBeforeStart || !m_pEngine) {
      endWith(m_pEngine ? hr::kAbort : hr::kUnexpected);
      return;
    }
    setBar(kBarBeforeStart);
    const HRESULT started = m_pEngine->Start();
    m_bStarted = true;
    setBar(kBarAfterStart);
    if (started != hr::kOk) {
      endWith(started);
      return;
    }
    m_nCurrentTimer = kPollTimer;
    setTimer(kPollTimer, kPollDelayMs);
    return;
  }
  if (id == kPollTimer) {
    killTimer(kPollTimer);
    int percent = 0;
    bool finished = false;
    const HRESULT code = m_pEngine->Poll(percent, finished);
    const PollStep step = StepAfterPoll(code, percent, finished);
    if (step.barPosition >= 0) setBar(step.barPosition);
    if (step.endPage) {
      endWith(step.result);
      return;
    }
    setTimer(kPollTimer, kPollDelayMs);
  }
}

void CopyProgressPage::OnCancel() {
  const UINT_PTR timer = m_nCurrentTimer;
  if (timer == 0) return;  // the page is ending
  killTimer(timer);
  const int answer =
      ::MessageBoxW(hwnd(), win::WideFromAnsi(texts().abortQuestion).c_str(),
                    win::WideFromAnsi(texts().title).c_str(), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  if (answer == IDYES) {
    if (m_bStarted)
      m_pEngine->RequestCancel();
    else
      m_bCancelledBeforeStart = true;
  }
  setTimer(timer, kPollDelayMs);
}

void CopyProgressPage::OnDestroy() {
  killTimer(kStartTimer);
  killTimer(kPollTimer);
  // Leaving the page any other way stops a copy that still runs: the
  // engine is not left copying behind a closed window.
  if (m_pEngine && m_pEngine->running()) {
    m_pEngine->RequestCancel();
    int percent = 0;
    bool finished = false;
    m_copyResult = m_pEngine->Poll(percent, finished);
  }
}

}  // namespace wizard
