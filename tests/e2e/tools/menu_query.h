#pragma once
// Menu state of another process's window. Under Wine a menu handle means
// nothing outside the process that made it, so the query runs inside the
// program: menu_probe.dll is loaded there and its MenuProbe runs on a remote
// thread over a MenuRequest copied into the program's memory.
#include <windows.h>

#include <string>

struct MenuAnswer {
    int present;       // the item exists somewhere in the menu bar's popups
    int enabled;       // neither MF_GRAYED nor MF_DISABLED
    int siblingCount;  // items of the popup holding it
    int siblings[48];  // their command ids; 0 = separator, -1 = submenu
};

struct MenuRequest {
    unsigned long long window;  // HWND, fixed width across the two processes
    int id;
    int done;  // set by MenuProbe, proves the probe ran at the expected address
    MenuAnswer answer;
};

// Implemented in ui_driver (menu_query.cpp).
bool RunMenuQuery(HWND window, int id, MenuAnswer* answer, std::wstring* error);
