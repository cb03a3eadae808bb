#pragma once
// What the service view asks of the shell above it; the shell installs it at
// start-up, and until then the service view does without.
#include <windows.h>

struct ServiceViewShell {
    // Shows the instrument's log, modal over owner, returning when the user
    // closes it; user-interface thread. Not installed: nothing opens.
    void (*showDeviceLog)(HWND owner) = nullptr;
};

void SetServiceViewShell(const ServiceViewShell& shell);
