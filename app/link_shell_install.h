#pragma once
// The shell's side of the link's contract (link/link_shell.h).

// Installs the main window, the log viewer, the service view and the
// application's end of a series as what the link asks of the windows above
// it; also lets the number proposal follow amended numbers. Once, at
// start-up, before the link worker starts.
void InstallLinkShell();
