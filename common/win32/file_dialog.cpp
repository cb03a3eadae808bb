// The program's open and save file dialogs, in one place.
#include "common/win32/file_dialog.h"

#include <commdlg.h>

namespace {

OPENFILENAMEW Dialog(const FileDialogRequest& request) {
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter;
    dialog.lpstrFile = request.fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = request.defaultExtension;
    dialog.lpstrInitialDir = request.initialFolder;
    // The data folder is the working folder, and log.dat and the logs are
    // addressed by bare name: the dialog must not move it.
    dialog.Flags = request.flags | OFN_NOCHANGEDIR;
    return dialog;
}

}  // namespace

bool AskFileToOpen(const FileDialogRequest& request) {
    OPENFILENAMEW dialog = Dialog(request);
    return GetOpenFileNameW(&dialog) != 0;
}

bool AskFileToSave(const FileDialogRequest& request) {
    OPENFILENAMEW dialog = Dialog(request);
    return GetSaveFileNameW(&dialog) != 0;
}
