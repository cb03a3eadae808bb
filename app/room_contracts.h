#pragma once
// The shell's side of the contracts the lower rooms own: what they reach
// above themselves, lent at start-up.

// The verdict room's view of the instrument's state and the archive.
void InstallVerdictView();
// The verdict room's view, the template of a fresh data folder, and on
// Windows the service view's shell; WinMain calls it before any window exists.
void InstallRoomContracts();
