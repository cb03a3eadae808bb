// The about box.
#include "app/win32/about_box.h"

void ShowAboutBox(HWND owner) { MessageBoxA(owner, "ShowAboutBox", "Внимание!", MB_OK | MB_ICONINFORMATION); }
