// Threads, the worker's command queue and the shared lock on Windows.
#include "platform/threads.h"

#include <windows.h>

namespace platform {
namespace {

struct ThreadStart {
    ThreadEntry entry;
    void* argument;
};

DWORD WINAPI Trampoline(LPVOID parameter) {
    ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    // Give the thread its message queue before anything is posted to it.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    start.entry(start.argument);
    return 0;
}

}  // namespace

bool StartThread(ThreadEntry entry, void* argument, bool lowestPriority, uint32_t* id) {
    auto* start = new ThreadStart{entry, argument};
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, Trampoline, start, CREATE_SUSPENDED, &threadId);
    if (!thread) {
        delete start;
        return false;
    }
    if (lowestPriority) SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    if (id) *id = threadId;
    ResumeThread(thread);
    // The thread lives for the process; nobody waits on it.
    CloseHandle(thread);
    return true;
}

void PostCommand(uint32_t threadId, uint8_t command) {
    if (threadId == 0) return;  // no worker to take it
    // A thread only just started may not have its queue yet.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (PostThreadMessageW(threadId, WM_COMMAND, command, command)) return;
        if (GetLastError() != ERROR_INVALID_THREAD_ID) return;
        Sleep(10);
    }
}

TakeResult TakeCommand(uint8_t* command) {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return TakeResult::Nothing;
    if (msg.message == WM_QUIT) return TakeResult::Quit;
    if (msg.message != WM_COMMAND) return TakeResult::Nothing;
    *command = static_cast<uint8_t>(msg.wParam);
    return TakeResult::Command;
}

}  // namespace platform
