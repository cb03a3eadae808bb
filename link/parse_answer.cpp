// Decodes the instrument's answers of both generations into the device state and the current record.
#include "link/parse_answer.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "common/program_settings.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/end_of_series.h"
#include "link/frames.h"
#include "link/link_shell.h"
#include "link/link_worker.h"
#include "link/trace.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "results/statistics.h"

namespace {

constexpr uint16_t kGen1MaxVoltage = 1000;

// Generation-1 answer lengths, each type valid only at exactly its length.
constexpr uint32_t kGen1VersionLength = 13;
constexpr uint32_t kGen1SettingsLength = 25;
constexpr uint32_t kGen1ResetInfoLength = 7;
constexpr uint32_t kGen1ResultsLength = 37;

// Shortest generation-2 frames that hold every field read from them.
constexpr uint32_t kGen2VersionMin = 27;
constexpr uint32_t kGen2SettingsMin = 72;
constexpr uint32_t kGen2EraseMin = 8;
constexpr uint32_t kGen2StatusMin = 44;

bool ServiceMode() { return g_programSettings.serviceMode; }

uint16_t BigEndian(const uint8_t* at) { return static_cast<uint16_t>(at[0] << 8 | at[1]); }
uint16_t LittleEndian(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

// The windows follow the instrument: what may not be used while it measures is greyed.
void LockStep() { TheLinkShell().followMeasuring(DeviceMeasuring()); }

void PostRestart() {
    g_deviceState.autoRestartPending = false;
    PostWorkerCommand(command::kStart);
}

void TakeVersion(const uint8_t* text) {
    {
        std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
        std::memcpy(g_deviceState.deviceVersion, text, 8);
        g_deviceState.deviceVersion[8] = 0;
    }
    TellServiceView(g_deviceState.deviceVersion, ServiceViewKind::Version);
}

// Publishes settings decoded from an answer (the worker is the only writer,
// so it reads them freely), then shows them.
void TakeSettings(const DeviceSettings& decoded) {
    {
        std::lock_guard<platform::Mutex> guard(g_deviceStateLock);
        g_deviceState.currentSettings = decoded;
    }
    const DeviceSettings& settings = g_deviceState.currentSettings;
    TheLinkShell().showTestParameters(settings);
    TellServiceView(&settings, ServiceViewKind::Settings);
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
    g_currentRecord.settingsSnapshot = settings;
}

// Statistics and time for a record taken from an answer, published under
// the lock, then shown (the worker is the only writer, so it reads freely).
void PublishSeriesRecord(TestRecord& record) {
    ComputeSeriesStatistics(record);
    platform::LocalTime(&record.testTime);
    {
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        g_currentRecord = record;
    }
    TheLinkShell().showResultsLine(g_currentRecord);
    TellServiceView(&g_currentRecord, ServiceViewKind::SeriesInProgress);
}

void DecodeGen1Settings(const uint8_t* p, DeviceSettings* s) {
    s->countAndLift = p[5];
    s->pauseAndFlags = p[6];
    s->riseRate = p[8];  // only the low byte of the big-endian word counts
    s->maxVoltage = BigEndian(p + 9);
    s->word6 = LittleEndian(p + 11);
    s->word8 = BigEndian(p + 13);
    s->calibrationConstant = BigEndian(p + 15);
    s->word12 = BigEndian(p + 17);
    s->word14 = BigEndian(p + 19);
    s->adcOffset = BigEndian(p + 21);
    s->word18 = LittleEndian(p + 23);
}

void TakeGen1Results(const uint8_t* p) {
    // Checked before anything reaches the record: a rejected block must not
    // leave a count beyond the six slots in the record that gets printed.
    // A sample that did not break down carries bit 15; only the voltage
    // itself is checked against the instrument's range.
    uint8_t count = p[9];
    if (count > kVoltageSlots) return;
    for (int i = 0; i < count; ++i)
        if ((LittleEndian(p + 13 + 2 * i) & kVoltageMask) > kGen1MaxVoltage) return;

    TestRecord record = g_currentRecord;
    std::memcpy(&record, p + 5, 20);
    PublishSeriesRecord(record);
    uint8_t status = g_deviceState.status;
    bool measuring = (status & status_bits::kIzmerMode) != 0;
    if (count != 0 && !measuring && (g_deviceState.previousStatus & status_bits::kIzmerMode))
        EndOfSeries();
    else if (SeriesEndedUnseen(measuring, count))
        EndOfSeries();
    FollowSeries(measuring);
    g_deviceState.previousStatus = status;
}

void TakeGen1ResetInfo(const uint8_t* p) {
    DeviceState& s = g_deviceState;
    uint8_t cause = p[5];
    TellServiceView(&cause, ServiceViewKind::ResetCause);
    if (!s.resetCountBaseTaken) {
        s.resetCountBase = p[6];
        s.resetCountBaseTaken = true;
    }
    uint8_t resets = static_cast<uint8_t>(p[6] - s.resetCountBase);
    TellServiceView(&resets, ServiceViewKind::ResetsSinceStart);
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
    g_currentRecord.resetCount = resets;
    g_currentRecord.resetCause = cause;
}

void ParseGen1(const uint8_t* p, uint32_t count) {
    if (!Gen1HeaderOk(p, count)) return;
    DeviceState& s = g_deviceState;
    s.status = p[4];
    LockStep();
    if (ServiceMode()) {
        uint8_t status = s.status;
        TellServiceView(&status, ServiceViewKind::StatusByte);
        if (s.autoRestartPending && !(status & status_bits::kMotorOn)) PostRestart();
    }
    uint8_t type = p[3];
    if (type == 0x00 && count == kGen1VersionLength) {
        TakeVersion(p + 5);
    } else if (type == 0x02 && count == kGen1SettingsLength) {
        DeviceSettings decoded = s.currentSettings;
        DecodeGen1Settings(p, &decoded);
        TakeSettings(decoded);
    } else if (type == 0x13 && count == kGen1ResetInfoLength) {
        TakeGen1ResetInfo(p);
    } else if (type == 0x20 && count == kGen1ResultsLength) {
        TakeGen1Results(p);
    }
}

void TakeGen2Settings(const uint8_t* p) {
    DeviceState& s = g_deviceState;
    std::memcpy(s.gen2SettingsBlock, p + 4, sizeof s.gen2SettingsBlock);
    const uint8_t* b = s.gen2SettingsBlock;
    DeviceSettings c = s.currentSettings;
    c.countAndLift = b[16];
    c.maxVoltage = static_cast<uint16_t>(b[20] * 10);
    c.riseRate = b[19];
    uint8_t flags = b[17];
    if (b[18]) flags |= settings_bits::kPreTestDelay;
    if (b[21]) flags |= settings_bits::kErrorOfMean;
    if (b[22]) flags |= settings_bits::kSound;
    c.pauseAndFlags = flags;
    TakeSettings(c);
}

void ShowEraseResult(const uint8_t* p) {
    if (p[3] != 0) {
        char text[128];
        std::snprintf(text, sizeof text, "Ошибка записи. Ошибка файловой системы %i", p[3]);
        ui::MessageBox(ui::Window::Main, text, "Ошибка!", ui::kOk);
    } else {
        ui::MessageBox(ui::Window::Main, "Результаты прогонки скрыты!", "Успешно!", ui::kOk);
    }
}

bool IsFinishedState(uint8_t code) { return code == 9 || code == 91; }

void TakeGen2Status(const uint8_t* p) {
    DeviceState& s = g_deviceState;
    std::memcpy(s.gen2StatusBlock, p, sizeof s.gen2StatusBlock);
    uint8_t code = p[3];
    uint8_t status = s.status;
    if (p[2] != 0) {
        status &= static_cast<uint8_t>(~status_bits::kIzmerMode);
    } else {
        status &= static_cast<uint8_t>(~(status_bits::kIzmerMode | status_bits::kMotorOn |
                                         status_bits::kSelectLatr | status_bits::kHightVoltOn));
        if (code != 0 && !IsFinishedState(code)) status |= status_bits::kIzmerMode;
        if (code == 1 || code == 5 || code == 6 || code == 52 || code == 53)
            status |= status_bits::kMotorOn;
        else
            status |= status_bits::kSelectLatr;
        if (code == 3 || code == 4) status |= status_bits::kHightVoltOn;
    }
    s.status = status;
    LockStep();

    // The answer has six voltage slots; a larger count cannot be backed by
    // values, so such an answer is not taken into the record and the series
    // is followed on from the next sound answer.
    uint8_t count = p[5];
    if (count <= kVoltageSlots) {
        TestRecord record = g_currentRecord;
        std::memcpy(record.breakdownVoltage, p + 10, sizeof record.breakdownVoltage);
        record.seriesLength = p[4];
        record.valueCount = count;
        record.boundVoltage = p[6];
        PublishSeriesRecord(record);
        bool measuring = (status & status_bits::kIzmerMode) != 0;
        if (count != 0 && p[2] == 0 && IsFinishedState(code) && !IsFinishedState(s.previousStatus))
            EndOfSeries();
        else if (SeriesEndedUnseen(measuring, count))
            EndOfSeries();
        FollowSeries(measuring);
    }
    if (ServiceMode() && s.autoRestartPending && p[8] == 2) PostRestart();
    if (count <= kVoltageSlots) s.previousStatus = code;
    TellServiceView(p, ServiceViewKind::Gen2Status);
}

void ParseGen2(const uint8_t* p, uint32_t count) {
    if (count == 0) return;
    switch (CheckGen2Frame(p, count)) {
        case FrameCheck::Incomplete:
            TraceText("Принят не весь пакет!");
            return;
        case FrameCheck::BadCrc:
            TraceText("Ошибка CRC!");
            return;
        case FrameCheck::Ok:
            break;
    }
    uint32_t length = Gen2FrameLength(p);
    switch (p[0]) {
        case 0x00:
            if (length >= kGen2VersionMin) TakeVersion(p + 15);
            break;
        case 0x02:
            if (length >= kGen2SettingsMin) TakeGen2Settings(p);
            break;
        case 0x09:
            if (length >= kGen2EraseMin) ShowEraseResult(p);
            break;
        case 0x20:
            if (length >= kGen2StatusMin) TakeGen2Status(p);
            break;
        default:
            break;
    }
}

}  // namespace

void ParseAnswer(const uint8_t* buffer, uint32_t count) {
    switch (g_deviceState.protocolGeneration) {
        case 1:
            ParseGen1(buffer, count);
            break;
        case 2:
            ParseGen2(buffer, count);
            break;
        default:
            break;
    }
}
