#pragma once
// The "Динамика" window: how one sample source's breakdown voltage changed
// over the series of the archive.
#include <windows.h>

#include <cstddef>

#include "common/test_record.h"

// Opens a new trend window of the series whose sample source is source,
// centred on owner, and returns at once; on the user-interface thread. The
// picture is computed from records here, so the caller may free them as soon
// as this returns; the window lives on when owner closes (it belongs to
// owner's own owner, the main window). source is read up to 256 bytes.
void ShowArchiveTrend(HWND owner, const TestRecord* records, size_t count, const char* source);
