#pragma once
// The link worker's body in steps, for a virtual clock.

// The worker's thread body in steps, so it can be driven one iteration at a
// time on a virtual clock.

// Loads the driver and opens the instrument. False when the driver is
// unusable: the user has been told, the main window asked to close, and the
// worker must end.
bool LinkWorkerStartup();
// One command (posted or polled), its answer, then the request flags. False
// when the worker is to end (WM_QUIT).
bool LinkWorkerIteration();
// The whole worker: startup, then iterations until told to quit.
void LinkWorkerThread(void*);
// Fresh start for every test case (handle, poll index, menu item, thread id).
void ResetLinkWorker();
