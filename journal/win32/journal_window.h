#pragma once
// The window "Журнал протоколов" (dialog 1200): the register's events, found by a text, exported, and whether it is whole.
#include <windows.h>

// Modal, owned by owner (the main window), as the archive viewer is; reads
// journal.csv and log.dat of the data folder (the working folder) once, on opening.
void ShowJournalWindow(HWND owner);
