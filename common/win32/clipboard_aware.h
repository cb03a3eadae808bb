#pragma once
// Edit fields that mark copied text as Russian for other programs.
#include <windows.h>

// Makes an edit field mark the text it copies as Russian (CF_LOCALE 0x0019),
// so that other programs read the Windows-1251 bytes as Cyrillic. Windows of
// any other class are left alone.
void MakeClipboardAware(HWND window);
