#include "protocol/win32/dialog_owner.h"

#if __has_include("platform/win32/window_registry.h")
#include "platform/win32/window_registry.h"
#define ORLA_HAVE_WINDOW_REGISTRY 1
#endif

HWND ProtocolDialogOwner(ui::Window window) {
#ifdef ORLA_HAVE_WINDOW_REGISTRY
    if (HWND handle = WindowHandle(window)) return handle;
#else
    (void)window;
#endif
    // The protocol is always asked for from the window the user works in.
    return GetActiveWindow();
}
