// Centring a dialog on its owner window, kept on the screen.
#pragma once
// Centring a dialog on its owner as it opens.
#include <windows.h>

#include "common/placement.h"

// Centres a dialog on its owner (kept on the screen) at WM_INITDIALOG;
// nothing happens for a dialog without an owner.
inline void CentreDialogOnOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner) return;
    RECT o, d;
    GetWindowRect(owner, &o);
    GetWindowRect(dialog, &d);
    Placement p = CentreOnOwner({o.left, o.top, o.right - o.left, o.bottom - o.top}, d.right - d.left,
                                d.bottom - d.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(dialog, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
