#pragma once
// The about box.
#include <windows.h>

// The about box, dialog 300, modal with the main window as owner.
void ShowAboutBox(HWND owner);
