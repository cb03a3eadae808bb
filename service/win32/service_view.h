#pragma once
// The service view beside the main window in service mode.
#include <windows.h>

// Dialog 600 as a child of the main window (service mode only); returns its
// handle, or null when it could not be created.
HWND CreateServiceView(HWND mainWindow);
