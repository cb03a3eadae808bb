// Loaded into the program by ui_driver; see menu_query.h.
#include "tests/e2e/tools/menu_query.h"

namespace {

bool Search(HMENU menu, int id, MenuAnswer* a) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub) {
            if (Search(sub, id, a)) return true;
            continue;
        }
        if (int(GetMenuItemID(menu, i)) != id) continue;
        UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
        a->present = 1;
        a->enabled = (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1;
        a->siblingCount = 0;
        for (int k = 0; k < count && k < 48; ++k) {
            UINT s = GetMenuState(menu, UINT(k), MF_BYPOSITION);
            a->siblings[a->siblingCount++] = GetSubMenu(menu, k) ? -1 : (s & MF_SEPARATOR) ? 0
                                                                   : int(GetMenuItemID(menu, k));
        }
        return true;
    }
    return false;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI MenuProbe(void* param) {
    MenuRequest* r = static_cast<MenuRequest*>(param);
    MenuAnswer a = {};
    HMENU bar = GetMenu(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(r->window)));
    if (bar) Search(bar, r->id, &a);
    r->answer = a;
    r->done = 1;
    return 0;
}
