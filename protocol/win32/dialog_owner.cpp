// The owner of the print and save dialogs and of their boxes.
#include "protocol/win32/dialog_owner.h"

#include "platform/win32/window_registry.h"

HWND ProtocolDialogOwner() {
    if (HWND owner = DialogOwner(ui::Window::Main)) return owner;
    // Not registered: the protocol is asked for from the window in use.
    return GetActiveWindow();
}
