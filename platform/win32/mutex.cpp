// platform::Mutex on a critical section, which every Windows since NT has (SRW locks need Vista).
#include "platform/threads.h"

#include <windows.h>

namespace platform {

struct Mutex::State {
    CRITICAL_SECTION section;
};

Mutex::Mutex() : state_(new State) { InitializeCriticalSection(&state_->section); }

// Deleting the section while the worker may still enter it at exit would
// crash the program on its way out; the process's end frees it anyway.
Mutex::~Mutex() = default;

void Mutex::lock() { EnterCriticalSection(&state_->section); }

void Mutex::unlock() { LeaveCriticalSection(&state_->section); }

}  // namespace platform
