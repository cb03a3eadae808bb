// Fuzzes the protocol document: an arbitrary template filled with a record
// of arbitrary bytes (texts unterminated included) and arbitrary settings
// texts, both in memory and through the file path with the writes failing
// at times.
#include "protocol/rtf_writer.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();
    static ProtocolIssuer settings;
    fuzz::TakeText(in, settings.organisationName, sizeof settings.organisationName);
    fuzz::TakeText(in, settings.priborSerialNumber, sizeof settings.priborSerialNumber);
    fuzz::TakeText(in, settings.direktor, sizeof settings.direktor);
    fuzz::TakeText(in, settings.direktorName, sizeof settings.direktorName);
    bool throughFiles = in.ConsumeBool();
    int failWrites = in.ConsumeIntegralInRange<int>(0, 3);
    TestRecord record = fuzz::TakeRecord(in);
    std::string text = in.ConsumeRemainingBytesAsString();
    if (throughFiles) {
        fake::FileBytes("template.rtf").assign(text.begin(), text.end());
        fake::FailNextWrites(failWrites);
        WriteProtocolRtf("template.rtf", "protocol.rtf", record, settings);
    } else {
        FillProtocolTemplate(text, record, settings);
    }
    return 0;
}
