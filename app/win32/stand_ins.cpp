#include "app/win32/stand_ins.h"

#include "app/resource_ids.h"

HWND CreateServiceViewWindow(HWND) { return nullptr; }
