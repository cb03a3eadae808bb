// The owner of the protocol's print and save dialogs.
#pragma once
#include <windows.h>

// The window that owns the protocol's file and print dialogs: the one its
// boxes go to (the archive viewer while it is open), else the window in use.
HWND ProtocolDialogOwner();
