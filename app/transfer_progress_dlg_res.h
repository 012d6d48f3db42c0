// Ids of the transfer progress window (dialog template 136). Read by the
// resource compiler too.
#pragma once

#define IDD_TRANSFER_PROGRESS 136
#define IDC_PROGRESS_TEXT 1006
#define IDC_PROGRESS_BUTTON 1007
#define IDC_PROGRESS_PICTURE 1008
