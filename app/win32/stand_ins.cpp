#include "app/win32/stand_ins.h"

#include "app/resource_ids.h"

void StartStatusPictureWindow(HWND mainWindow) {
    // A black field where the test-cell picture will be drawn, placed as the
    // picture will be: right of the test parameters, level with their top.
    RECT box;
    GetWindowRect(GetDlgItem(mainWindow, IDC_GROUP_PARAMETERS), &box);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&box), 2);
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_BLACKRECT, box.right + 10,
                    box.top, 210, 140, mainWindow, reinterpret_cast<HMENU>(IDC_PICTURE),
                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE)), nullptr);
}

HWND CreateServiceViewWindow(HWND) { return nullptr; }
