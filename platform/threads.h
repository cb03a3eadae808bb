#pragma once
// Threads, the worker's command queue and the lock the threads share.
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

// A lock for std::lock_guard: the MinGW runtime of the 32-bit build has no
// std::mutex (its thread model is the one that still starts on Windows XP).
// Meant for locks that live as long as the program: the worker may still
// take one while the globals are torn down at exit.
class Mutex {
public:
    // Ready to be taken; never fails.
    Mutex();
    // Leaves the lock to the process's end on Windows (see above).
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    // Waits until no other thread holds the lock, then holds it; not reentrant.
    void lock();
    // Releases the lock that this thread holds, waking one waiting thread.
    void unlock();

private:
    struct State;
    State* state_;
};

}  // namespace platform
