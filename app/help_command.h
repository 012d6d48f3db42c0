// The help command (F1, and the main window's first timer at start-up): one
// help window at a time, shown modally.
#pragma once

#include <windows.h>

namespace app {

// Opens the help window over owner and returns when it is closed. Does
// nothing and returns false while a help window is already open.
bool ShowHelp(HWND owner);
bool IsHelpOpen();

}  // namespace app
