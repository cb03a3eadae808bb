// The shell's side of the results viewers' and the protocol's contracts.
#pragma once

// Installs, once at start-up, what the viewers and the protocol ask of the
// shell: printing and saving, the form, the transfer flag, the issuer.
void InstallViewerContracts();
