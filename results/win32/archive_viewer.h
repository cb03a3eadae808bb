#pragma once

// Dialog 700, modal, owned by the main window.
void ShowArchiveViewer();
// An archive file chosen in an open dialog (a log-*.dat moved aside), in a
// viewer that only reads it; reachable also when log.dat holds nothing.
void ShowOtherArchive();
