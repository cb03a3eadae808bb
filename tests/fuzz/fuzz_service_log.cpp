// Fuzzes the service-mode history file: an arbitrary .sdat replayed into the
// ring, the histogram and the service view, then one more series appended.
#include <cstring>

#include "service/service_history.h"
#include "service/service_hooks.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();
    ResetServiceHistory();
    g_programSettings.serviceMode = true;
    g_deviceState.protocolGeneration = in.ConsumeIntegralInRange<int>(1, 2);
    fake::SetWindowExists(ui::Window::ServiceView, true);
    std::string serial = in.ConsumeRandomLengthString(20);
    bool errorOfMean = in.ConsumeBool();
    RecordHead next{};
    std::vector<uint8_t> head = in.ConsumeBytes<uint8_t>(sizeof next.bytes);
    if (!head.empty()) std::memcpy(next.bytes, head.data(), head.size());
    std::vector<uint8_t> file = in.ConsumeRemainingBytes<uint8_t>();
    char name[40];
    std::snprintf(name, sizeof name, "%.16s.sdat", serial.c_str());
    fake::FileBytes(name) = file;
    OpenServiceLog(serial.c_str());
    ShowSeriesInProgress(next);
    AddServiceSeries(next, errorOfMean);
    g_programSettings.serviceMode = false;
    return 0;
}
