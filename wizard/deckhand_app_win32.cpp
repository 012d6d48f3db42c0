#include "wizard/deckhand_app_win32.h"

#include <commctrl.h>

#include "win32/ansi_text.h"
#include "winui/ole_session.h"
#include "winui/registered_message.h"
#include "wizard/confirm_page_win32.h"
#include "wizard/copy_engine_win32.h"
#include "wizard/copy_progress_page_win32.h"
#include "wizard/drive_select_page_win32.h"
#include "wizard/finish_page_win32.h"
#include "wizard/profile_file_win32.h"
#include "wizard/program_location_win32.h"
#include "wizard/welcome_page_win32.h"
#include "wizard/wizard_flow.h"

namespace wizard {
namespace {

// Registered at start as the maker's other programs expect; only
// "QueryCancelAutoPlay" is answered (by the drive page).
const winui::RegisteredMessage kMakerNotification(L"90A4B4B2-E944-487e-B7F0-A4EF8E4600F9");

void Warn(const UiTexts& texts, const std::string& text) {
  ::MessageBoxW(nullptr, win::WideFromAnsi(text).c_str(), win::WideFromAnsi(texts.title).c_str(),
                MB_OK | MB_ICONWARNING);
}

// One message box and false when the system or the rights do not fit the
// delivery.
bool PassesSystemCheck(const UiTexts& texts, devcmd::DeviceSystem& system) {
  switch (CheckSystem(system.OsKind(), texts.target, [&] { return system.AdminLevel(); })) {
    case SystemCheck::kPass:
      return true;
    case SystemCheck::kUnsupportedOs:
      Warn(texts, texts.unsupportedOs);
      return false;
    case SystemCheck::kUnsupportedOs2:
      Warn(texts, texts.unsupportedOs2);
      return false;
    case SystemCheck::kNeedAdmin:
      Warn(texts, texts.needAdmin);
      return false;
    case SystemCheck::kSilentFailure:
      return false;
  }
  return false;
}

}  // namespace

bool CDeckhandApp::InitInstance() {
  winui::ComSession com;  // the shell's drives folder is a COM object
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  const std::string modulePath = ModulePath();
  WizardLook look;
  {
    ProfileFile textFile(TextSettingsPath(modulePath));
    look.texts = LoadUiTexts(textFile);
  }
  look.Create(instance());

  WelcomePage welcome(look);
  DriveSelectPage driveSelect(look, *m_services.system, m_services.setDriveNo, m_services.scanRetryDelayMs);
  ConfirmPage confirm(look);
  CopyProgressPage copying(look);
  FinishPage finish(look);

  if (!PassesSystemCheck(look.texts, *m_services.system)) return false;

  CopyEngine engine(*m_services.system, *m_services.files);
  if (hr::Failed(engine.Load(modulePath))) {
    ::MessageBoxW(nullptr, L"Setting File Read Error", L"Error", MB_OK | MB_ICONERROR);
    return false;
  }

  Step step = Step::kWelcome;
  while (step != Step::kEnd) {
    int result = kResultCancel;
    switch (step) {
      case Step::kWelcome:
        result = static_cast<int>(welcome.Show());
        break;
      case Step::kSelectDrive:
        result = static_cast<int>(driveSelect.Show());
        if (result == kResultNext) {
          engine.SetTarget(driveSelect.chosenDrive());
          confirm.setDrive(driveSelect.chosenDrive());
        }
        break;
      case Step::kConfirm:
        result = static_cast<int>(confirm.Show());
        break;
      case Step::kCopying:
        copying.setEngine(&engine);
        // Next means the copy ended, whatever its code; anything else is the
        // user leaving the page.
        result = copying.Show() == kResultNext ? kResultNext : kResultCancel;
        finish.setResult(copying.copyResult());
        break;
      case Step::kFinished:
        result = static_cast<int>(finish.Show());
        break;
      case Step::kEnd:
        break;
    }
    step = NextStep(step, result);
  }
  return false;
}

int RunDeckhand(HINSTANCE instance, DWORD scanRetryDelayMs) {
  CDeckhandApp app(WizardServices{&devcmd::CurrentDeviceSystem(), &RealCopyFileOps(), LibrarySetDriveNo(),
                                  scanRetryDelayMs});
  return app.Run(instance);
}

}  // namespace wizard
