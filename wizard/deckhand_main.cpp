#include <windows.h>

#include "wizard/deckhand_app_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return wizard::RunDeckhand(instance); }
