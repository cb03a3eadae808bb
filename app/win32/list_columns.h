// Report-view columns, left-aligned, as every list of the program has them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/dpi.h"

struct ListColumn {
    const char* header;
    int width;  // pixels of a 96 DPI screen, scaled to the screen's
};

inline void InsertListColumns(HWND list, const ListColumn* columns, int count) {
    for (int c = 0; c < count; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = platform::Scaled(columns[c].width);
        column.pszText = const_cast<char*>(columns[c].header);
        column.iSubItem = c;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}
