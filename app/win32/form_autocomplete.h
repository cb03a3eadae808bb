#pragma once
// Windows' own autocomplete on the protocol form's fields, from the archive's texts.
#include <windows.h>

// Gives the form's fields of the archive's texts their autocomplete; on the
// user-interface thread, with COM initialised apartment-threaded there. A
// field whose autocomplete cannot be made simply has none.
void AttachFormAutocomplete(HWND mainWindow);
// A form field got the focus: its next keystroke reads the texts anew, so
// the series and amendments archived since are offered too.
void RefreshFormAutocomplete(int fieldId);
// Lets go of the fields' autocomplete before COM is uninitialised.
void ReleaseFormAutocomplete();
