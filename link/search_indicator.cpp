// The status bar's "Поиск прибора" with growing dots while no instrument answers.
#include "link/search_indicator.h"

#include <atomic>
#include <cstdint>

#include "link/device_state.h"
#include "link/link_shell.h"
#include "link/thread_failure.h"
#include "platform/clock.h"
#include "platform/threads.h"

namespace {

std::atomic<bool> g_started{false};
uint8_t g_phase = 0;  // used by the indicator thread alone

const char* const kSearchTexts[] = {"Поиск прибора", "Поиск прибора.", "Поиск прибора..", "Поиск прибора..."};

void SearchIndicatorThread(void*) {
    for (;;) {
        SearchIndicatorStep();
        platform::Wait(300);
    }
}

}  // namespace

void EnsureSearchIndicator() {
    if (g_started) return;
    uint32_t id = 0;
    if (!platform::StartThread(SearchIndicatorThread, nullptr, true, &id)) ThreadStartFailed();
    g_started = true;
}

void SearchIndicatorStep() {
    if (g_deviceState.connected) return;
    TheLinkShell().setStatusText(kSearchTexts[g_phase]);
    g_phase = static_cast<uint8_t>((g_phase + 1) % 4);
}

void ResetSearchIndicator() {
    g_started = false;
    g_phase = 0;
}
