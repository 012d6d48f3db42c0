// The wizard as a test runs it: Deckhand with its pass-through calls going
// to simulated players (scripted_drives.h) instead of the real volumes.
#include <windows.h>

#include <cstdlib>

#include "devcmd/device_system.h"
#include "tests/wizard/scripted_drives.h"
#include "wizard/deckhand_app_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const char* script = std::getenv("PELLMARK_WIZARD_SCRIPT");
  wizardtest::ScriptedDrives drives(script ? script : "");
  devcmd::UseDeviceSystem(&drives);
  const int code = wizard::RunDeckhand(instance);
  devcmd::UseDeviceSystem(nullptr);
  return code;
}
