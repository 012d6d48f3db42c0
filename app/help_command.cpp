#include "app/help_command.h"

#include "app/help_dlg.h"
#include "app/help_setting_store.h"
#include "app/help_settings.h"

namespace app {

namespace {
// Help runs on the UI thread only; the flag guards against the help command
// arriving again while the window's own message loop runs.
bool g_helpOpen = false;

class HelpOpenFlag {
 public:
  HelpOpenFlag() { g_helpOpen = true; }
  ~HelpOpenFlag() { g_helpOpen = false; }
  HelpOpenFlag(const HelpOpenFlag&) = delete;
  HelpOpenFlag& operator=(const HelpOpenFlag&) = delete;
};
}  // namespace

bool IsHelpOpen() { return g_helpOpen; }

bool ShowHelp(HWND owner) {
  if (g_helpOpen) return false;
  HelpOpenFlag open;
  CHelpDlg help(OpensHelpAtStartup(ReadHelpSetting()));
  help.DoModal(owner);
  return true;
}

}  // namespace app
