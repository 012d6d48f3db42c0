// Ids of the main window (dialog template 102). Read by the resource compiler too.
#pragma once

#define IDD_PELLMARK_DIALOG 102
#define IDC_ERASE 3
#define IDC_ERASE_ALL 4
#define IDC_SEPARATOR 1002
#define IDC_STATUS_LINE 1003
#define IDC_TRACK_LIST 1004
#define IDC_HELP_HINT 1023
// System menu command of the About box.
#define IDM_ABOUTBOX 0x0010
