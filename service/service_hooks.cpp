// What the link tells the service view, and the end of a series reaching the
// service history: the service's side of the link's contract.
#include "service/service_hooks.h"

#include <cstdio>
#include <cstring>

#include "common/format.h"
#include "common/program_settings.h"
#include "common/device_settings.h"
#include "link/device_state.h"
#include "link/link_shell.h"
#include "platform/ui.h"
#include "service/service_history.h"
#include "service/service_view_ids.h"

namespace {

constexpr ui::Window kView = ui::Window::ServiceView;

const char* const kStatusBitNames[8] = {"MotorOn=", "NapravlUp=", "SelectLatr=", "HightVoltOn=",
                                        "Proboy=",  "DoorOk=",    "IzmerMode=",  "MenuMode="};

void ShowByte(int id, uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    ui::SetText(kView, id, text);
}

void ShowStatusBits(uint8_t status) {
    for (int bit = 0; bit < 8; ++bit) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%d", kStatusBitNames[bit], (status >> bit) & 1);
        ui::SetText(kView, IDC_SERVICE_FIRST_STATUS_BIT + bit, text);
    }
}

// The calibration words mean something only in the generation-1 settings
// record; generation 2 leaves them as they were.
void ShowSettings(const DeviceSettings& settings) {
    if (g_deviceState.protocolGeneration != 1) return;
    char text[256];
    FormatHex16(text, settings.calibrationConstant);
    ui::SetText(kView, IDC_SERVICE_CALIBRATION, text);
    ui::SetText(kView, IDC_SERVICE_METHOD, AltMethod(settings) ? "ВЕКС-50" : "ОРЛА-К200");
    int lift = TableLift(settings);
    if (lift >= 8) lift -= 16;  // a signed 4-bit number
    FormatWhole(text, static_cast<float>(lift));
    ui::SetText(kView, IDC_SERVICE_TABLE_LIFT, text);
    FormatHex16(text, settings.adcOffset);
    ui::SetText(kView, IDC_SERVICE_ADC_OFFSET, text);
}

void ShowGeneration() {
    const int32_t generation = g_deviceState.protocolGeneration;
    const char* text = generation == 1 ? "К200В" : generation == 2 ? "К200В2" : "Не подключен";
    ui::SetText(kView, IDC_SERVICE_GENERATION, text);
}

struct Gen2Measurement {
    int labelId;
    const char* label;
    int valueId;
    int offset;
    float divisor;
    int decimals;
    const char* unit;
};

const Gen2Measurement kGen2Measurements[] = {
    {IDC_SERVICE_U1_LABEL, "U1", IDC_SERVICE_U1, 22, 10.0f, 1, "кВ"},
    {IDC_SERVICE_U2_LABEL, "U2", IDC_SERVICE_U2, 24, 10.0f, 1, "кВ"},
    {IDC_SERVICE_I1_LABEL, "I1", IDC_SERVICE_I1, 26, 1.0f, 1, ""},
    {IDC_SERVICE_I2_LABEL, "I2", IDC_SERVICE_I2, 28, 1.0f, 1, ""},
    {IDC_SERVICE_LATR_U_LABEL, "LATR_U", IDC_SERVICE_LATR_U, 30, 10.0f, 1, "В"},
    {IDC_SERVICE_LATR_I_LABEL, "LATR_I", IDC_SERVICE_LATR_I, 32, 1000.0f, 3, "А"},
};

void ShowGen2Measurements(const uint8_t* answer) {
    for (const Gen2Measurement& m : kGen2Measurements) {
        const unsigned word = answer[m.offset] | answer[m.offset + 1] << 8;
        char text[256];
        FormatFixed(text, static_cast<float>(word) / m.divisor, m.decimals, m.unit);
        ui::SetText(kView, m.labelId, m.label);
        ui::SetText(kView, m.valueId, text);
    }
}

}  // namespace

void UpdateServiceView(const void* data, int kind) {
    if (!g_programSettings.serviceMode) return;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    switch (static_cast<ServiceViewKind>(kind)) {
        case ServiceViewKind::SerialNumber:
            ui::SetText(kView, IDC_SERVICE_SERIAL, static_cast<const char*>(data));
            OpenServiceLog(static_cast<const char*>(data));
            break;
        case ServiceViewKind::ResetCause: ShowByte(IDC_SERVICE_RESET_CAUSE, bytes[0]); break;
        // Only the low byte counts (a wrapped counter shows -1 as 255); it is
        // the first byte whether the caller passes a byte or an integer.
        case ServiceViewKind::ResetsSinceStart: ShowByte(IDC_SERVICE_RESET_COUNT, bytes[0]); break;
        case ServiceViewKind::StatusByte: ShowStatusBits(bytes[0]); break;
        case ServiceViewKind::Version: ui::SetText(kView, IDC_SERVICE_VERSION, static_cast<const char*>(data)); break;
        case ServiceViewKind::Settings: ShowSettings(*static_cast<const DeviceSettings*>(data)); break;
        case ServiceViewKind::SeriesInProgress: {
            // Only a series under way: an idle instrument keeps reporting
            // the finished one, which has its own slot already, and the
            // graph would show it twice.
            if (!DeviceMeasuring()) break;
            RecordHead head;
            std::memcpy(head.bytes, data, sizeof head.bytes);
            ShowSeriesInProgress(head);
            break;
        }
        case ServiceViewKind::Generation: ShowGeneration(); break;
        case ServiceViewKind::Gen2Status: ShowGen2Measurements(bytes); break;
        default: break;
    }
}

void ServiceHistoryAddSeries(TestRecord& record) {
    RecordHead head;
    static_assert(sizeof head == kRecordHeadSize, "head");
    std::memcpy(&head, &record, sizeof head);
    AddServiceSeries(head, ErrorOfMean(record.settingsSnapshot));
    std::memcpy(&record, &head, sizeof head);
}
