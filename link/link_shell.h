#pragma once
// What the link asks of the windows above it (main window, log viewer,
// service view) and of the application's end of a series. The shell installs
// it once at start-up; until then every operation does nothing.
// "Worker" below is the link worker thread; "synchronous": the operation is
// done when the call returns (a window call from the worker is carried out
// by the user-interface thread while the worker waits).
#include "common/device_settings.h"
#include "common/test_record.h"

// What a call of TellServiceView carries; data points to the type named.
enum class ServiceViewKind : int {
    SerialNumber = 0,      // the USB serial number, a C string
    ResetCause = 1,        // uint8_t
    ResetsSinceStart = 2,  // uint8_t
    StatusByte = 3,        // uint8_t
    Version = 4,           // the version text, a C string
    Settings = 5,          // DeviceSettings
    SeriesInProgress = 6,  // TestRecord (its head)
    Generation = 7,        // int32_t, the protocol generation
    Gen2Status = 8,        // the generation-2 status answer's bytes
};

struct LinkShell {
    // Worker or search-indicator thread, synchronous: the status bar shows text.
    void (*setStatusText)(const char* text);
    // Worker, synchronous: printing and saving the protocol enabled, or greyed.
    void (*enableProtocolOutput)(bool enabled);
    // Worker, synchronous: the main window shows these test parameters.
    void (*showTestParameters)(const DeviceSettings& settings);
    // Worker, synchronous: the status bar shows the values of record.
    void (*showResultsLine)(const TestRecord& record);
    // Worker, synchronous: after each answer, START, the device-settings menu
    // item and (service mode) the service view's GOST button greyed while
    // measuring, enabled otherwise; printing greyed while measuring.
    void (*followMeasuring)(bool measuring);
    // Worker, synchronous: START greyed (false) while a transfer holds the worker.
    void (*enableStart)(bool enabled);
    // Worker, synchronous: the open log viewer shows text; nothing when none is open.
    void (*setLogViewerText)(const char* text);
    // Worker at its start, synchronous: ftd2xx.dll (or a function of it) is
    // missing; the user has been told and the main window closed on return.
    void (*driverMissing)(bool functionMissing);
    // Worker at its start, synchronous: a generation-2 instrument is
    // connected; the menu offers its stored results (called once).
    void (*offerDeviceResults)();
    // Worker, synchronous, only in service mode: the service view shows data.
    void (*updateServiceView)(const void* data, ServiceViewKind kind);
    // Worker, synchronous: record's form texts taken from the main window's fields.
    void (*takeFormTexts)(TestRecord* record);
    // Worker, synchronous: the ended series becomes the current record and
    // the application's (number proposal) and goes to the archive; record's
    // crc is set on return, stored or kept to be tried again.
    void (*archiveEndedSeries)(TestRecord& record);
    // Worker, synchronous: the ended series reaches the service history,
    // which recomputes record's head statistics in place.
    void (*serviceHistoryAddSeries)(TestRecord& record);
};

// Installs shell (a copy); fields left null do nothing. From the
// user-interface thread before the link worker starts.
void SetLinkShell(const LinkShell& shell);
// The installed shell, or one that does nothing.
const LinkShell& TheLinkShell();

// The service view is told data, only when the program runs in service mode.
void TellServiceView(const void* data, ServiceViewKind kind);
