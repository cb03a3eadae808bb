#pragma once
#include <windows.h>

// Windows and tables that are not built yet; each call names what will stand
// here, so a user who reaches one knows what is missing.
HWND CreateServiceViewWindow(HWND mainWindow);
