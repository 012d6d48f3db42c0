#include "app/pellmark_app.h"

#include <commctrl.h>

#include "app/debug_log.h"
#include "app/exclusion_lock.h"
#include "app/help_command.h"
#include "app/message_ids.h"
#include "app/pellmark_dlg.h"
#include "platform/cost_meter.h"
#include "platform/system.h"
#include "winui/error_report.h"
#include "winui/message_text.h"

namespace app {

namespace {

constexpr wchar_t kMessageModuleName[] = L"Mtbl.dll";

void LogFrameworkError(const char* where, const char* what) {
  DebugLog("\nUnexpected error in %s: %s", where, what);
}

// The lock set: constructed with the program's other static objects,
// before the application object uses it.
CLockSet g_lockSet;

}  // namespace

CPellmarkApp& TheApp() {
  static CPellmarkApp app(g_lockSet, InstanceEventName(sys::GetOsVersion()));
  return app;
}

CPellmarkApp::CPellmarkApp(ILockSet& locks, const std::string& instanceEventName)
    : locks_(locks), singleInstance_(instanceEventName) {}

CPellmarkApp::~CPellmarkApp() {
  // No text may be asked for from a module that is about to go.
  if (winui::MessageModule() == messageModule_.get()) winui::SetMessageModule(nullptr);
}

void CPellmarkApp::OnHelp(HWND from) { ShowHelp(from); }

bool CPellmarkApp::InitApplication() {
  winui::SetErrorReporter(&LogFrameworkError);
  // The module sits beside the program: it is looked for there, not in
  // whatever folder the program was started from, so the texts appear
  // however the program is started and no stray DLL of that name is run.
  const sys::Path module = sys::ProgramFolder() / kMessageModuleName;
  messageModule_.reset(::LoadLibraryExW(module.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  winui::SetMessageModule(messageModule_.get());

  if (!singleInstance_.acquire()) {
    winui::ShowMessage(nullptr, msg::kAlreadyRunning, MB_OK);
    setExitCode(0);
    return false;
  }
  return true;
}

bool CPellmarkApp::InitInstance() {
  ole_.emplace();
  com_.emplace();

  ExclusionOutcome exclusion = TakeExclusionLock(locks_, winui::MessageText(msg::kLockedOut));
  if (exclusion.lockedOut) {
    winui::ShowMessageText(nullptr, exclusion.text, MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    setExitCode(0);
    return false;
  }

  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  progress_.Create(nullptr);
  costs::StartFromEnvironment("program");
  StartLog();
  logLockNames();

  CPellmarkDlg mainWindow(&progress_);
  setMainWindow(&mainWindow);
  mainWindow.DoModal(nullptr);
  setMainWindow(nullptr);
  progress_.setMainWindow(nullptr);
  setExitCode(0);
  return false;
}

void CPellmarkApp::logLockNames() const {
  auto* set = dynamic_cast<const CLockSet*>(&locks_);
  if (!set) return;
  for (const std::string& name : set->heldLocalLocks()) DebugLog("\nExclusion lock held: %s", name.c_str());
  for (const std::string& name : set->heldGlobalLocks()) DebugLog("\nExclusion lock held: %s", name.c_str());
}

int CPellmarkApp::ExitInstance() {
  costs::Report();
  locks_.ReleaseLocal();
  locks_.ReleaseGlobal();
  com_.reset();
  progress_.Destroy();
  ole_.reset();
  return exitCode();
}

}  // namespace app
