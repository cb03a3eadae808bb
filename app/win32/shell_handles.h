#pragma once
#include <windows.h>

// Handles the other windows need: the module instance (for their templates)
// and the service view, which exists only in service mode. The main window
// and its status bar are in platform/win32/window_registry.h.
extern HINSTANCE g_instance;
extern HWND g_serviceView;
