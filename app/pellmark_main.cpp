// Pellmark.exe's entry point: the application object does the rest.
#include <windows.h>

#include "app/pellmark_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return app::TheApp().Run(instance); }
