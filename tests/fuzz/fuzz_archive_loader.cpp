// Fuzzes the loading of log.dat: an arbitrary file (made of whole, damaged
// and torn record groups) loaded with "Исправить ошибки?" answered yes or
// no, the receiver stopping at any point, and a second load of what the
// repair left.
#include <vector>

#include "platform/ui.h"
#include "results/archive_loader.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct Received {
    std::vector<TestRecord> room;
    size_t delivered = 0;
    size_t stopAfter = SIZE_MAX;
    bool refuseRoom = false;
};

TestRecord* Begin(void* context, size_t count) {
    auto* r = static_cast<Received*>(context);
    if (r->refuseRoom || count > 4096) return nullptr;
    r->room.resize(count);
    return r->room.data();
}

bool Deliver(void* context, size_t index, bool) {
    auto* r = static_cast<Received*>(context);
    if (index >= r->room.size()) __builtin_trap();  // handed over outside the room given
    return ++r->delivered < r->stopAfter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();
    bool repair = in.ConsumeBool();
    Received first;
    first.refuseRoom = in.ConsumeIntegralInRange<int>(0, 15) == 0;
    first.stopAfter = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 8) : SIZE_MAX;
    // The file: either raw bytes, or copies of one record with bytes changed
    // here and there, so that whole groups and matching crcs occur.
    std::vector<uint8_t>& file = fake::FileBytes("log.dat");
    if (in.ConsumeBool()) {
        TestRecord r = fuzz::TakeRecord(in);
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&r);
        int copies = in.ConsumeIntegralInRange<int>(0, 7);
        for (int i = 0; i < copies; ++i) file.insert(file.end(), bytes, bytes + sizeof r);
        while (in.remaining_bytes() > 4 && !file.empty()) {
            size_t at = in.ConsumeIntegralInRange<size_t>(0, file.size() - 1);
            file[at] = in.ConsumeIntegral<uint8_t>();
        }
        file.resize(file.size() - std::min(file.size(), in.ConsumeIntegralInRange<size_t>(0, 4000)));
    } else {
        file = in.ConsumeRemainingBytes<uint8_t>();
    }
    fake::SetFileLocked("log.dat", in.ConsumeIntegralInRange<int>(0, 31) == 0);
    fake::QueueMessageBoxAnswer(repair ? ui::kAnswerYes : ui::kAnswerNo);
    ArchiveLoadResult result = ArchiveLoad({&first, &Begin, &Deliver});
    char text[512];
    const size_t named = std::min(result.crcMismatches, kArchiveMismatchesKept);
    ArchiveMismatchWarning(result, std::vector<uint32_t>(result.firstMismatches, result.firstMismatches + named), text,
                           sizeof text);
    ArchiveLoadMessage(result.outcome);
    // What a repair left must load again without a question.
    Received second;
    fake::QueueMessageBoxAnswer(ui::kAnswerNo);
    ArchiveLoad({&second, &Begin, &Deliver});
    return 0;
}
