#pragma once
// The one record of the instrument's state and of the windows' requests.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "common/device_settings.h"
#include "platform/threads.h"

// The instrument's state bits as they arrive in every generation-1 answer
// (and as derived from the generation-2 state code).
namespace status_bits {
constexpr uint8_t kMotorOn = 0x01;
constexpr uint8_t kNapravlUp = 0x02;
constexpr uint8_t kSelectLatr = 0x04;
constexpr uint8_t kHightVoltOn = 0x08;
constexpr uint8_t kProboy = 0x10;
constexpr uint8_t kDoorOk = 0x20;
constexpr uint8_t kIzmerMode = 0x40;
constexpr uint8_t kMenuMode = 0x80;
}  // namespace status_bits

// One instance for the process. The link worker writes the state fields; the
// user-interface thread writes desiredSettings and raises the request flags.
// Fields read across threads are atomics (single bytes, no locks), except
// currentSettings and deviceVersion, too wide for one: the worker writes them
// under g_deviceStateLock and the windows copy them through the functions
// below, so a dialog never shows half of one answer and half of the next.
struct DeviceState {
    std::atomic<int32_t> protocolGeneration{0};
    std::atomic<bool> connected{false};
    std::atomic<uint8_t> status{0};
    uint8_t previousStatus = 0;
    char deviceVersion[9] = {};
    char usbSerialNumber[17] = {};
    DeviceSettings currentSettings = {};
    DeviceSettings desiredSettings = {};
    uint8_t gen2SettingsBlock[64] = {};
    uint8_t gen2StatusBlock[44] = {};
    std::atomic<bool> settingsChangeRequest{false};
    // Raised with every settings request, so the worker can tell whether
    // another came in while it was serving one.
    std::atomic<uint32_t> settingsRequestCount{0};
    std::atomic<bool> storedResultsRequest{false};
    std::atomic<bool> deviceLogRequest{false};
    std::atomic<bool> eraseLogRequest{false};
    std::atomic<bool> autoRestartPending{false};
    uint8_t resetCountBase = 0;
    bool resetCountBaseTaken = false;
    // Worker only: a series was seen measuring and has not ended yet, and
    // the link was lost and reopened meanwhile (its end may have gone by
    // unseen).
    bool seriesUnderWay = false;
    bool linkLostInSeries = false;
};

extern DeviceState g_deviceState;
extern platform::Mutex g_deviceStateLock;

// For other threads than the worker: the last settings the instrument
// reported, whole.
DeviceSettings CopyCurrentSettings();
// For the windows: asks the worker to write these settings to the instrument
// (desiredSettings and the request, under the lock; never lost while a
// change is being made, it is served after it).
void RequestSettingsChange(const DeviceSettings& desired);
// For the worker: the settings asked for, whole, and the request count
// that goes with them.
DeviceSettings TakeDesiredSettings(uint32_t* requestCount);
// For the worker after a change: lowers the request unless another one came
// in since TakeDesiredSettings.
void SettingsRequestServed(uint32_t requestCount);
// For other threads than the worker: the instrument's version text, always
// terminated within size ("" before the first version answer).
void CopyDeviceVersion(char* out, size_t size);

// The instrument is in a series (its measuring bit is set).
// A stored-results fetch (generation 2 only) or a log.log read is asked for
// or running; the worker polls nothing until it ends.
inline bool TransferUnderWay() {
    return (g_deviceState.storedResultsRequest && g_deviceState.protocolGeneration == 2) ||
           g_deviceState.deviceLogRequest;
}
inline bool DeviceMeasuring() { return (g_deviceState.status & status_bits::kIzmerMode) != 0; }
// The instrument measures, or a series it began has not been seen ending.
inline bool SeriesUnderWay() { return DeviceMeasuring() || g_deviceState.seriesUnderWay; }

// Back to the zero start state (tests start every case from here).
void ResetDeviceState();
