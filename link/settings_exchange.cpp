// Settings change: the generation-1 menu walk and the generation-2 settings frame.
#include "link/settings_exchange.h"

#include <cstring>

#include "link/connection.h"
#include "link/device_state.h"
#include "link/frames.h"
#include "link/parse_answer.h"
#include "link/senders.h"
#include "platform/clock.h"

namespace {

constexpr uint32_t kStepWaitMs = 50;
constexpr uint32_t kMenuSettleMs = 1000;
constexpr uint32_t kMenuBeepHz = 1000;
constexpr uint32_t kMenuBeepMs = 100;

using Differs = bool (*)(const DeviceSettings& current, const DeviceSettings& desired);

bool CountDiffers(const DeviceSettings& c, const DeviceSettings& d) {
    return ((c.countAndLift ^ d.countAndLift) & 0x0F) != 0;
}
bool PauseDiffers(const DeviceSettings& c, const DeviceSettings& d) {
    return ((c.pauseAndFlags ^ d.pauseAndFlags) & 0x0F) != 0;
}
bool DelayDiffers(const DeviceSettings& c, const DeviceSettings& d) {
    return ((c.pauseAndFlags ^ d.pauseAndFlags) & settings_bits::kPreTestDelay) != 0;
}
bool RateDiffers(const DeviceSettings& c, const DeviceSettings& d) { return c.riseRate != d.riseRate; }
bool MaxVoltageDiffers(const DeviceSettings& c, const DeviceSettings& d) { return c.maxVoltage != d.maxVoltage; }
bool NeverAdjusted(const DeviceSettings&, const DeviceSettings&) { return false; }
bool SoundDiffers(const DeviceSettings& c, const DeviceSettings& d) {
    return ((c.pauseAndFlags ^ d.pauseAndFlags) & settings_bits::kSound) != 0;
}

// The instrument's menu, top to bottom. SELECT cycles an item through its
// values, so the limit is one full turn of the item (with some slack for
// lost presses); the item after the maximum voltage is one the program
// never touches, it is only stepped over.
struct MenuItem {
    Differs differs;
    uint16_t maxPresses;
    int downsAfter;
};
constexpr MenuItem kMenu[] = {
    {CountDiffers, 12, 1},      {PauseDiffers, 20, 1},  {DelayDiffers, 4, 1}, {RateDiffers, 8, 1},
    {MaxVoltageDiffers, 10, 1}, {NeverAdjusted, 0, 1}, {SoundDiffers, 4, 0},
};

// Adjusted items that still differ from what is desired.
bool AnyItemDiffers(const DeviceSettings& current, const DeviceSettings& desired) {
    for (const MenuItem& item : kMenu)
        if (item.differs(current, desired)) return true;
    return false;
}

// False when a link fault cut the walk short. The answers carry no menu
// position, so after a lost key the program no longer knows which item a
// SELECT would change: it stops pressing, leaves the menu, and the next
// walk starts again from the top.
bool ChangeByMenu(const DeviceSettings& desired) {
    DeviceState& s = g_deviceState;
    const uint32_t faultsBefore = LinkFaultCount();
    auto cut = [faultsBefore] { return LinkFaultCount() != faultsBefore; };
    ExchangeStep(command::kReadSettings);
    if (s.status & status_bits::kMenuMode) {
        // Someone is in the menu at the instrument: tell them, then take it over.
        platform::Beep(kMenuBeepHz, kMenuBeepMs);
        ExchangeStep(command::kStop);
        platform::Wait(kMenuSettleMs);
    }
    ExchangeStep(command::kReadSettings);
    ExchangeStep(command::kMenu);
    platform::Wait(kMenuSettleMs);
    for (const MenuItem& item : kMenu) {
        if (cut()) break;
        uint16_t presses = 0;
        while (!cut() && item.differs(s.currentSettings, desired) && presses < item.maxPresses) {
            ExchangeStep(command::kSelect);
            ExchangeStep(command::kReadSettings);
            ++presses;
        }
        for (int i = 0; i < item.downsAfter; ++i) ExchangeStep(command::kDown);
    }
    ExchangeStep(command::kStop);
    return !cut();
}

bool BlockReceived() {
    const uint8_t* b = g_deviceState.gen2SettingsBlock;
    for (size_t i = 0; i < kSettingsBlockSize; ++i)
        if (b[i] != 0) return true;
    return false;
}

// False when no frame was sent (no block to send back).
bool ChangeByFrame(const DeviceSettings& desired) {
    // The frame carries the whole block back, calibration included: never
    // send one that was not first read from this instrument.
    if (!BlockReceived()) ExchangeStep(command::kReadSettings);
    if (!BlockReceived()) return false;
    const DeviceSettings& d = desired;
    uint8_t block[kSettingsBlockSize];
    std::memcpy(block, g_deviceState.gen2SettingsBlock, sizeof block);
    block[16] = d.countAndLift;
    block[17] = static_cast<uint8_t>(d.pauseAndFlags & 0x0F);
    block[18] = PreTestDelay(d) ? 1 : 0;
    block[19] = static_cast<uint8_t>(d.riseRate);
    block[20] = static_cast<uint8_t>(d.maxVoltage / 10);
    block[22] = Sound(d) ? 1 : 0;
    uint8_t frame[kSettingsFrameSize];
    BuildSettingsFrame(frame, block);
    WriteBlock(frame, sizeof frame);
    return true;
}

constexpr int kMaxChangePasses = 3;

}  // namespace

void ExchangeStep(uint8_t code) {
    SendCommand(code);
    platform::Wait(kStepWaitMs);
    g_rxCount = ReadAnswer(g_rxBuffer);
    if (g_rxCount != 0) ParseAnswer(g_rxBuffer, g_rxCount);
}

void ChangeDeviceSettings() {
    // One whole request, taken once: a window may ask again meanwhile.
    uint32_t requestCount = 0;
    const DeviceSettings desired = TakeDesiredSettings(&requestCount);
    switch (g_deviceState.protocolGeneration) {
        case 1: ChangeByMenu(desired); break;
        case 2: ChangeByFrame(desired); break;
        default: break;
    }
}

SettingsChangeOutcome ChangeDeviceSettingsChecked() {
    uint32_t requestCount = 0;
    const DeviceSettings desired = TakeDesiredSettings(&requestCount);
    const DeviceSettings before = g_deviceState.currentSettings;
    const int generation = g_deviceState.protocolGeneration;
    for (int pass = 0; pass < kMaxChangePasses; ++pass) {
        if (generation == 1) {
            // A walk that ran whole has done what pressing can do; another
            // would press the same keys to the same end.
            if (ChangeByMenu(desired)) break;
        } else if (generation == 2) {
            if (!ChangeByFrame(desired)) break;
            // Whether the frame was taken (a cut or damaged one is dropped
            // unseen) only reading the settings back tells; what the
            // instrument may say to the frame itself is read first, so the
            // read-back answer stands alone in its read.
            platform::Wait(kStepWaitMs);
            g_rxCount = ReadAnswer(g_rxBuffer);
            if (g_rxCount != 0) ParseAnswer(g_rxBuffer, g_rxCount);
            ExchangeStep(command::kReadSettings);
            if (!AnyItemDiffers(g_deviceState.currentSettings, desired)) break;
        } else {
            break;
        }
    }
    const DeviceSettings& after = g_deviceState.currentSettings;
    if (!AnyItemDiffers(after, desired)) return SettingsChangeOutcome::Changed;
    return AnyItemDiffers(after, before) ? SettingsChangeOutcome::Partly : SettingsChangeOutcome::Unchanged;
}
