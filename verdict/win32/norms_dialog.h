#pragma once
// The "Нормы испытаний" dialog, 1100: the laboratory's norms and own methods.
#include <windows.h>

// Modal with owner; edits a copy of g_normBook and puts it back only when
// norms.ini took it. True when the user saved a changed book.
bool ShowNormsDialog(HWND owner);
