#pragma once
#include <windows.h>

// Dialog 800, modeless with the main window as owner; the caller then raises
// storedResultsRequest. Closing it clears the request.
void ShowDeviceResultsWindow(HWND owner);
