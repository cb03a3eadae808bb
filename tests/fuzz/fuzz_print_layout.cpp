// Fuzzes the printed protocol's layout: a record of arbitrary bytes and
// arbitrary settings texts laid out on pages of arbitrary size with a
// measure of arbitrary character widths.
#include "protocol/print_layout.h"
#include "tests/fuzz/fuzz_support.h"

namespace {
int g_charWidth = 10;
int Measure(void*, const char*, int length) { return length * g_charWidth; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();
    static ProtocolIssuer settings;
    fuzz::TakeText(in, settings.organisationName, sizeof settings.organisationName);
    fuzz::TakeText(in, settings.priborSerialNumber, sizeof settings.priborSerialNumber);
    fuzz::TakeText(in, settings.direktor, sizeof settings.direktor);
    fuzz::TakeText(in, settings.direktorName, sizeof settings.direktorName);
    g_charWidth = in.ConsumeIntegralInRange<int>(0, 200);
    int width = in.ConsumeIntegralInRange<int>(0, 20000);
    int height = in.ConsumeIntegralInRange<int>(0, 30000);
    std::string wrapped = in.ConsumeRandomLengthString(4000);
    TestRecord record = fuzz::TakeRecord(in);
    const TextMeasure measure = {&Measure, nullptr};
    std::vector<PrintedText> page = LayoutProtocol(record, settings, width, height, measure);
    int line = 0;
    PrintWrapped(page, measure, wrapped, in.ConsumeIntegralInRange<int>(0, width), line,
                 ProtocolLinePitch(height), in.ConsumeIntegralInRange<int>(0, width));
    return 0;
}
