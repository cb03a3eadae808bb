#include "protocol/win32/dialog_owner.h"

#include "platform/win32/window_registry.h"

HWND ProtocolDialogOwner(ui::Window window) {
    if (HWND handle = WindowHandle(window)) return handle;
    // Not registered: the protocol is asked for from the window in use.
    return GetActiveWindow();
}
