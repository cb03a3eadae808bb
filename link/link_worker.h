#pragma once
// Starting the link worker and posting it commands.
#include <cstdint>

// Starts the LinkWorker thread (lowest priority). On failure the ownerless
// box "Невозможно запустить поток чтения/записи!" is shown and the process
// ends with code 0.
void StartLinkWorker();
// The worker's thread id, the target of posted commands (0 before start).
uint32_t LinkWorkerThreadId();
// Posts WM_COMMAND with wParam = lParam = command to the worker.
void PostWorkerCommand(uint8_t command);
