// The owner of the print and save dialogs and of their boxes.
#include "protocol/win32/dialog_owner.h"

#include "platform/win32/window_registry.h"

HWND ProtocolDialogOwner(ui::Window window) {
    // The modal archive viewer, not the main window it locks: a common
    // dialog re-enables its owner when it closes.
    if (window == ui::Window::Main)
        if (HWND viewer = WindowHandle(ui::Window::ArchiveViewer); viewer && IsWindow(viewer)) return viewer;
    if (HWND handle = WindowHandle(window)) return handle;
    // Not registered: the protocol is asked for from the window in use.
    return GetActiveWindow();
}
