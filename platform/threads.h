#pragma once
#include <cstdint>

namespace platform {

using ThreadEntry = void (*)(void* argument);

// Starts a thread; lowestPriority gives it THREAD_PRIORITY_LOWEST. The thread
// id is returned through id (the target of PostCommand).
bool StartThread(ThreadEntry entry, void* argument, bool lowestPriority, uint32_t* id);

// The worker's command queue: the user-interface thread posts WM_COMMAND with
// wParam = lParam = command byte; the worker takes at most one per iteration.
void PostCommand(uint32_t threadId, uint8_t command);

enum class TakeResult { Nothing, Command, Quit };
// Called on the worker thread itself; never waits.
TakeResult TakeCommand(uint8_t* command);

}  // namespace platform
