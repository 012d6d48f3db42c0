// The wizard as a test runs it: Deckhand with its pass-through calls going
// to simulated players (scripted_drives.h) instead of the real volumes.
#include <windows.h>

#include <cstdlib>

#include "devcmd/device_system.h"
#include "tests/wizard/scripted_drives.h"
#include "wizard/deckhand_app_win32.h"

namespace {

// PELLMARK_WIZARD_SCAN_RETRY_MS, when set to a number, replaces the second
// between two scans that found no player, so a test of the no-player path
// need not wait ten seconds.
DWORD ScanRetryDelayMs() {
  const char* text = std::getenv("PELLMARK_WIZARD_SCAN_RETRY_MS");
  if (text == nullptr || *text == '\0') return wizard::kScanRetryDelayMs;
  char* end = nullptr;
  const unsigned long ms = std::strtoul(text, &end, 10);
  return *end == '\0' && ms <= 60000 ? static_cast<DWORD>(ms) : wizard::kScanRetryDelayMs;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const char* script = std::getenv("PELLMARK_WIZARD_SCRIPT");
  wizardtest::ScriptedDrives drives(script ? script : "");
  devcmd::UseDeviceSystem(&drives);
  const int code = wizard::RunDeckhand(instance, ScanRetryDelayMs());
  devcmd::UseDeviceSystem(nullptr);
  return code;
}
