// The main window's window-procedure filter: what it does before the
// dialog's own handling.
#include <algorithm>

#include "app/debug_log.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg.h"

namespace app {

namespace {

// The answer that denies a suspend request ("BMQD").
constexpr LRESULT kDenySuspend = 0x424D5144;

}  // namespace

bool CPellmarkDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (filterMessage(message, wParam, lParam, result)) return true;
  if (dispatchRegistered(message, wParam, lParam)) {
    result = 0;
    return true;
  }
  return false;
}

bool CPellmarkDlg::filterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      DebugLog("\nwParam=%d, lParam=%d", static_cast<int>(wParam), static_cast<int>(lParam));
      // Enter (the default command 1) must not close the window.
      if (LOWORD(wParam) == IDOK) {
        result = 0;
        return true;
      }
      return false;
    case WM_QUERYENDSESSION:
      DebugLog(">WM_QUERYENDSESSION, m_bBusy=%d", static_cast<int>(flags_.busy.load()));
      // Logging off or shutting down would cut a transfer or a listing
      // short and leave the player half written; it is always refused. The
      // warning is posted so this answer is not held up; a posted message
      // rather than a timer, because timer messages wait until the queue
      // is empty, and a running transfer keeps it full of progress reports.
      post(kShowWarningMessage, msg::kLogOffRefused);
      result = 0;
      return true;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMQUERYSUSPEND && flags_.busy.load() != 0) {
        DebugLog("\nWM_POWERBROADCAST: suspend denied while busy");
        post(kShowWarningMessage, msg::kSuspendRefused);
        result = kDenySuspend;
        return true;
      }
      return false;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kMinTrackWidth;
      info->ptMinTrackSize.y = kMinTrackHeight;
      result = 0;
      return true;
    }
    case WM_PAINT:
      if (::IsIconic(hwnd())) {
        paintMinimised();
        result = 0;
        return true;
      }
      return false;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(bigIcon_.get());
      return true;
    case kShowWarningMessage:
      showRefusalWarning(static_cast<unsigned>(wParam));
      result = 0;
      return true;
    case kStartDeviceMessage:
      startDevice();
      result = 0;
      return true;
    case kListingReadyMessage:
      onListingReady();
      result = 0;
      return true;
    case kHoldWindowMessage:
      DebugLog("\nHolding the window for %u ms", static_cast<unsigned>(std::min(wParam, kMaxHoldMs)));
      ::Sleep(static_cast<DWORD>(std::min(wParam, kMaxHoldMs)));
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace app
