// Opens the instrument by description or serial and keeps it open.
#include "link/connection.h"

#include <cstdlib>
#include <cstring>

#include "link/device_state.h"
#include "link/driver_binding.h"
#include "link/link_shell.h"
#include "link/search_indicator.h"
#include "link/trace.h"
#include "platform/clock.h"

uint8_t g_rxBuffer[kRxBufferSize];
uint32_t g_rxCount = 0;

namespace {

FT_HANDLE g_handle = nullptr;
bool g_firstConnection = true;
uint32_t g_linkFaults = 0;

// A generation-2 instrument abandons a frame left incomplete for 50 ms; a
// frame sent again sooner would be taken as the rest of the cut one.
constexpr uint32_t kFragmentDropMs = 100;

const char* const kDescriptions[] = {"ORLA-T10", "ORLA-K200", "ORLA-K200V", "ORLA-K200V2"};
constexpr int kGen2Description = 3;

void TellGeneration() {
    int32_t generation = g_deviceState.protocolGeneration;
    TellServiceView(&generation, ServiceViewKind::Generation);
}

bool LinkAlive() {
    FT_DWORD rx = 0, tx = 0, events = 0;
    return g_d2xx.getStatus(g_handle, &rx, &tx, &events) == FT_OK;
}

void OpenByDescription() {
    for (;;) {
        for (int i = 0; i < 4; ++i) {
            if (g_d2xx.openEx(const_cast<char*>(kDescriptions[i]), FT_OPEN_BY_DESCRIPTION, &g_handle) == FT_OK) {
                g_deviceState.protocolGeneration = i == kGen2Description ? 2 : 1;
                TellGeneration();
                return;
            }
        }
        g_deviceState.connected = false;
        platform::Wait(100);
    }
}

// False when the instrument vanished again before it could be identified.
bool IdentifyDevice() {
    FT_DWORD type = 0, id = 0;
    char serial[32] = {};
    char description[80] = {};
    if (g_d2xx.getDeviceInfo(g_handle, &type, &id, serial, description, nullptr) == FT_OK) {
        std::memcpy(g_deviceState.usbSerialNumber, serial, 16);
        g_deviceState.usbSerialNumber[16] = 0;
    } else if (!LinkAlive()) {
        return false;
    }
    TellServiceView(g_deviceState.usbSerialNumber, ServiceViewKind::SerialNumber);
    g_firstConnection = false;
    return true;
}

void OpenBySerial() {
    while (g_d2xx.openEx(g_deviceState.usbSerialNumber, FT_OPEN_BY_SERIAL_NUMBER, &g_handle) != FT_OK) {
        g_deviceState.connected = false;
        platform::Wait(10);
    }
    platform::Wait(100);
}

bool Configure() {
    FT_DWORD baud = g_deviceState.protocolGeneration == 2 ? 115200 : 9600;
    if (g_d2xx.setBaudRate(g_handle, baud) != FT_OK ||
        g_d2xx.setDataCharacteristics(g_handle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE) != FT_OK) {
        g_d2xx.close(g_handle);
        return false;
    }
    return true;
}

}  // namespace

void ConnectDevice() {
    TellGeneration();
    EnsureSearchIndicator();
    for (;;) {
        if (LinkAlive()) return;
        ++g_linkFaults;
        g_d2xx.close(g_handle);
        if (g_firstConnection) {
            OpenByDescription();
            if (!IdentifyDevice()) continue;
        } else {
            // A series that ends while the cable is out is never seen
            // leaving measuring mode; the parser finishes it on return.
            if (g_deviceState.seriesUnderWay) g_deviceState.linkLostInSeries = true;
            OpenBySerial();
        }
        if (!Configure()) continue;
        g_deviceState.connected = true;
        TheLinkShell().setStatusText("Прибор подключен");
        return;
    }
}

uint32_t RxQueueCount() {
    FT_DWORD rx = 0, tx = 0, events = 0;
    if (g_d2xx.getStatus(g_handle, &rx, &tx, &events) != FT_OK) {
        ++g_linkFaults;
        ConnectDevice();
        return 0;
    }
    return rx;
}

bool RxQueueCountIfOpen(uint32_t* count) {
    FT_DWORD rx = 0, tx = 0, events = 0;
    *count = 0;
    if (g_d2xx.getStatus(g_handle, &rx, &tx, &events) != FT_OK) {
        ++g_linkFaults;
        return false;
    }
    *count = rx;
    return true;
}

uint32_t ReadAnswer(uint8_t* buffer) {
    uint32_t queued = RxQueueCount();
    if (queued == 0) return 0;
    FT_DWORD got = 0;
    FT_DWORD wanted = queued < kRxBufferSize ? queued : kRxBufferSize;
    if (g_d2xx.read(g_handle, buffer, wanted, &got) != FT_OK) {
        ++g_linkFaults;
        ConnectDevice();
        return 0;
    }
    if (got > wanted) got = wanted;
    TraceBytes(buffer, got, TraceDirection::Received);
    return got;
}

void WriteBlock(const uint8_t* frame, uint32_t length) {
    for (;;) {
        FT_DWORD written = 0;
        bool ok = g_d2xx.write(g_handle, const_cast<uint8_t*>(frame), length, &written) == FT_OK;
        if (written > length) written = length;
        TraceBytes(frame, written, TraceDirection::Sent);
        if (ok && written == length) return;
        // A driver may report success for part of the frame (a write
        // timeout): the instrument then holds a fragment it will drop, and
        // the frame is not delivered at all.
        ++g_linkFaults;
        platform::Wait(kFragmentDropMs);
        ConnectDevice();
    }
}

bool WriteOnce(const uint8_t* frame, uint32_t length) {
    FT_DWORD written = 0;
    bool ok = g_d2xx.write(g_handle, const_cast<uint8_t*>(frame), length, &written) == FT_OK && written == length;
    if (!ok) {
        ++g_linkFaults;
        ConnectDevice();
    }
    TraceBytes(frame, length, TraceDirection::Sent);
    return ok;
}

uint32_t LinkFaultCount() { return g_linkFaults; }

void ResetConnection() {
    g_handle = nullptr;
    g_firstConnection = true;
    g_rxCount = 0;
    ResetSearchIndicator();
}
