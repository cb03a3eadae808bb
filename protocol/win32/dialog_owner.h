#pragma once
#include <windows.h>

#include "platform/ui.h"

// The window that owns the protocol's file and print dialogs.
HWND ProtocolDialogOwner(ui::Window window);
