// Resource and control identifiers of the wizard's pages. The numbers are
// fixed: the templates, the code and the tests that drive the pages agree
// on them.
#pragma once

#define IDD_WELCOME_PAGE 102
#define IDD_DRIVE_SELECT_PAGE 130
#define IDD_CONFIRM_PAGE 137
#define IDD_COPY_PROGRESS_PAGE 138
#define IDD_FINISH_PAGE 139
#define IDB_HEADER 141

// Buttons 1 (IDOK, Next) and 2 (IDCANCEL, Exit/Cancel/Finish/Done) are the
// system's.
#define IDC_BACK 1001
#define IDC_DRIVE_LIST 1002
#define IDC_TO_DRIVE_SELECTION 1004
#define IDC_REFRESH 1012
#define IDC_PAGE_MESSAGE 1013
// The chosen drive (confirmation), the progress bar (copying) or the
// failure text (finished).
#define IDC_PAGE_DETAIL 1014
