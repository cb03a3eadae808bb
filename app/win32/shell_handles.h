#pragma once
// The service view's handle, which exists only in service mode; the module
// instance, the main window and its status bar are in
// platform/win32/window_registry.h.
#include <windows.h>

#include "platform/win32/window_registry.h"

extern HWND g_serviceView;
