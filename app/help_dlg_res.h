// Ids of the help window (dialog template 141). Read by the resource compiler too.
#pragma once

#define IDD_HELP 141
#define IDC_HELP_AT_STARTUP 1009
#define IDC_HELP_BROWSER 1017
// Plain-text view of the page, shown where the browser control cannot render.
#define IDC_HELP_FALLBACK 1018
