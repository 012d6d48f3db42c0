// Ids of the About box (dialog template 100). Read by the resource compiler too.
#pragma once

#define IDD_ABOUTBOX 100
#define IDC_ABOUT_VERSION_LINE 1019
#define IDC_ABOUT_SECOND_LINE 1020
