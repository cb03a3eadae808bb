// Fuzzes the generation-2 answer parser with the device state and the current
// record carried from one input to the next, as the worker carries them
// between reads, and every answer cut into several reads.
#include "link/parse_answer.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();  // files and window records only; the link state stays
    g_deviceState.protocolGeneration = 2;
    g_programSettings.serviceMode = in.ConsumeBool();
    while (in.remaining_bytes() > 0) {
        std::vector<uint8_t> answer = fuzz::TakeAnswer(in, in.ConsumeIntegral<uint8_t>());
        size_t at = 0;
        while (at < answer.size()) {
            size_t piece = in.ConsumeIntegralInRange<size_t>(1, answer.size() - at);
            ParseAnswer(answer.data() + at, static_cast<uint32_t>(piece));
            at += piece;
        }
        if (answer.empty()) ParseAnswer(answer.data(), 0);
    }
    return 0;
}
