#pragma once
// Wires the program's events to the register journal.csv; the shell calls it once at start-up.

// Before the link worker starts: archived and imported series, the archive
// moved aside, the user told when the register begins anew, the laboratory
// database woken for each new line. Nothing is written until the first event,
// so a missing register is not begun at start-up.
void InstallJournalHooks();

