// Report-view columns, left-aligned, as every list of the program has them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"

struct ListColumn {
    const char* header;
    int width;  // pixels of a 96 DPI screen, scaled to the screen's
};

inline void InsertListColumns(HWND list, const ListColumn* columns, int count) {
    for (int c = 0; c < count; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = platform::Scaled(columns[c].width);
        std::wstring header = platform::Wide(columns[c].header);
        column.pszText = &header[0];
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
}
