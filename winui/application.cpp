#include "winui/application.h"

#include <algorithm>
#include <exception>

#include "winui/dialog.h"
#include "winui/error_report.h"

namespace winui {

namespace {
CApplication* g_application = nullptr;
}  // namespace

CApplication::CApplication() { g_application = this; }

CApplication::~CApplication() {
  if (g_application == this) g_application = nullptr;
}

CApplication* CApplication::Instance() { return g_application; }

HINSTANCE ResourceModule() {
  if (g_application && g_application->instance()) return g_application->instance();
  return ::GetModuleHandleW(nullptr);
}

bool IsHelpKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_F1) return false;
  return ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
}

int CApplication::Run(HINSTANCE instance) {
  instance_ = instance ? instance : ::GetModuleHandleW(nullptr);
  try {
    if (!InitApplication()) return exitCode_;
    if (InitInstance()) exitCode_ = runMessageLoop();
  } catch (const std::exception& e) {
    ReportError("application start-up", e.what());
  } catch (...) {
    ReportError("application start-up", "unknown exception");
  }
  try {
    return ExitInstance();
  } catch (const std::exception& e) {
    ReportError("application exit", e.what());
  } catch (...) {
    ReportError("application exit", "unknown exception");
  }
  return exitCode_;
}

int CApplication::runMessageLoop() {
  MSG msg;
  for (;;) {
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return exitCode_;
    bool consumed = false;
    try {
      consumed = PreTranslateMessage(msg);
    } catch (const std::exception& e) {
      ReportError("message loop", e.what());
      consumed = true;
    } catch (...) {
      ReportError("message loop", "unknown exception");
      consumed = true;
    }
    if (consumed) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool CApplication::PreTranslateMessage(MSG& message) {
  if (IsHelpKey(message)) {
    // The help command goes to the dialog the key was pressed in, so that
    // dialog decides (the help window, say, ignores a second request).
    if (CDialog* dialog = CDialog::FromHandle(::GetAncestor(message.hwnd, GA_ROOT))) {
      dialog->runHelpCommand();
      return true;
    }
    return false;
  }
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    // A copy: IsDialogMessage may run code that opens or closes dialogs.
    std::vector<CDialog*> dialogs = modeless_;
    for (CDialog* dialog : dialogs) {
      HWND window = dialog->hwnd();
      if (window && (window == message.hwnd || ::IsChild(window, message.hwnd)) &&
          ::IsDialogMessageW(window, &message))
        return true;
    }
  }
  return false;
}

void CApplication::addModeless(CDialog* dialog) {
  if (std::find(modeless_.begin(), modeless_.end(), dialog) == modeless_.end()) modeless_.push_back(dialog);
}

void CApplication::removeModeless(CDialog* dialog) {
  modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

}  // namespace winui
