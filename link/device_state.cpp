// The instrument's state record, its lock, and the requests the windows make of the worker.
#include "link/device_state.h"

#include <cstdio>
#include <cstring>

DeviceState g_deviceState;
platform::Mutex g_deviceStateLock;

void RequestSettingsChange(const DeviceSettings& desired) {
    std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
    g_deviceState.desiredSettings = desired;
    ++g_deviceState.settingsRequestCount;
    g_deviceState.settingsChangeRequest = true;
}

DeviceSettings TakeDesiredSettings(uint32_t* requestCount) {
    std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
    *requestCount = g_deviceState.settingsRequestCount;
    return g_deviceState.desiredSettings;
}

void SettingsRequestServed(uint32_t requestCount) {
    std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
    if (g_deviceState.settingsRequestCount == requestCount) g_deviceState.settingsChangeRequest = false;
}

DeviceSettings CopyCurrentSettings() {
    std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
    return g_deviceState.currentSettings;
}

void CopyDeviceVersion(char* out, size_t size) {
    std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
    std::snprintf(out, size, "%s", g_deviceState.deviceVersion);
}

void ResetDeviceState() {
    DeviceState& s = g_deviceState;
    s.protocolGeneration = 0;
    s.connected = false;
    s.status = 0;
    s.previousStatus = 0;
    std::memset(s.deviceVersion, 0, sizeof s.deviceVersion);
    std::memset(s.usbSerialNumber, 0, sizeof s.usbSerialNumber);
    s.currentSettings = DeviceSettings{};
    s.desiredSettings = DeviceSettings{};
    std::memset(s.gen2SettingsBlock, 0, sizeof s.gen2SettingsBlock);
    std::memset(s.gen2StatusBlock, 0, sizeof s.gen2StatusBlock);
    s.seriesUnderWay = false;
    s.linkLostInSeries = false;
    s.settingsChangeRequest = false;
    s.settingsRequestCount = 0;
    s.storedResultsRequest = false;
    s.deviceLogRequest = false;
    s.eraseLogRequest = false;
    s.autoRestartPending = false;
    s.resetCountBase = 0;
    s.resetCountBaseTaken = false;
}
