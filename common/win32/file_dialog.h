// The program's open and save file dialogs, in one place.
#pragma once
#include <windows.h>
#include <commdlg.h>

// What a file dialog asks for. fileName holds MAX_PATH characters: the name
// proposed on the way in, the name chosen on the way out.
struct FileDialogRequest {
    HWND owner;
    const wchar_t* filter;            // pairs of description and pattern, ending in an empty one
    wchar_t* fileName;
    const wchar_t* defaultExtension;  // nullptr: none added
    const wchar_t* initialFolder;     // nullptr: where Windows last left off
    DWORD flags;                      // OFN_ flags; the working folder never moves in any case
};

// False when the user cancels (or the dialog cannot open).
bool AskFileToOpen(const FileDialogRequest& request);
bool AskFileToSave(const FileDialogRequest& request);
