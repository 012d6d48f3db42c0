// The wizard program: start-up checks, the five pages and the flow
// between them. It has no window of its own and ends when the flow ends.
#pragma once

#include <windows.h>

#include "devcmd/device_system.h"
#include "winui/application.h"
#include "wizard/copy_file_ops_win32.h"
#include "wizard/drive_select_page_win32.h"
#include "wizard/player_check_win32.h"

namespace wizard {

// What the wizard works through: the system seam (drive types, volumes,
// classification), the file calls of the copy, the command library's
// SetDriveNo.
struct WizardServices {
  devcmd::DeviceSystem* system;
  CopyFileOps* files;
  SetDriveNoFn setDriveNo;
  // The wait between two drive scans that found no player.
  DWORD scanRetryDelayMs = kScanRetryDelayMs;
};

class CDeckhandApp final : public winui::CApplication {
 public:
  explicit CDeckhandApp(WizardServices services) : m_services(std::move(services)) {}

 protected:
  bool InitInstance() override;

 private:
  WizardServices m_services;
};

// Runs the wizard with the real system (or whatever system the caller put
// behind the command library's seam) and returns the exit code. A test
// build may shorten the wait between scans that find no player.
int RunDeckhand(HINSTANCE instance, DWORD scanRetryDelayMs = kScanRetryDelayMs);

}  // namespace wizard
