// Runs the calling thread's messages, the way the framework's loops do, until
// a condition holds, for tests of modeless windows.
#pragma once

#include <windows.h>

#include <functional>

#include "winui/application.h"

namespace testsupport {

// True when done() became true within timeoutMs.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    if (::GetTickCount64() >= end) return false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      winui::CApplication* app = winui::CApplication::Instance();
      if (app && app->PreTranslateMessage(msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (!done()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Runs whatever is queued now.
inline void PumpPending() {
  PumpUntil([] { return false; }, 50);
}

}  // namespace testsupport
