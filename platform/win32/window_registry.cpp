// Which window handle stands behind each logical window, and the module instance.
#include "platform/win32/window_registry.h"

#include <atomic>

namespace {
constexpr int kWindowCount = static_cast<int>(ui::Window::LogViewer) + 1;
// Written on the user-interface thread, read by the worker threads.
std::atomic<HWND> g_windows[kWindowCount];
std::atomic<HWND> g_statusBar{nullptr};

int Slot(ui::Window window) {
    int slot = static_cast<int>(window);
    return slot > 0 && slot < kWindowCount ? slot : 0;
}
}  // namespace

HINSTANCE g_instance = nullptr;

void RegisterWindow(ui::Window window, HWND handle) {
    if (int slot = Slot(window)) g_windows[slot] = handle;
}

HWND WindowHandle(ui::Window window) {
    int slot = Slot(window);
    return slot ? g_windows[slot].load() : nullptr;
}

void RegisterStatusBar(HWND handle) { g_statusBar = handle; }
HWND StatusBarHandle() { return g_statusBar; }
