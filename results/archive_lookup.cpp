// Reading log.dat from its end for the newest record that answers a question.
#include "results/archive_lookup.h"

#include <string>
#include <vector>

#include "platform/files.h"
#include "results/archive.h"

namespace {

constexpr int kSourceSlot = 3;

std::string Trimmed(const char* text, size_t size) {
    size_t n = 0;
    while (n < size && text[n]) ++n;
    std::string s(text, n);
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

}  // namespace

bool ReadArchiveBackwards(platform::FileHandle file, TestRecord* record,
                          const std::function<bool(const TestRecord&)>& stop) {
    uint64_t length = 0;
    const uint64_t groups = platform::FileSize(file, &length) ? length / kArchiveGroupSize : 0;
    std::vector<uint8_t> group(kArchiveGroupSize);
    for (uint64_t k = 0; k < groups && k < kLookupGroups; ++k) {
        uint32_t got = 0;
        if (!platform::SeekTo(file, (groups - 1 - k) * kArchiveGroupSize) ||
            !platform::ReadFile(file, group.data(), kArchiveGroupSize, &got) || got != kArchiveGroupSize)
            break;
        ArchiveDecodeGroup(group.data(), record);
        if (stop(*record)) return true;
    }
    return false;
}

bool NewestArchivedRecord(const std::function<bool(const TestRecord&)>& matches, TestRecord* found) {
    // Read only: a busy file means the worker is appending; the question can wait.
    platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return false;
    const bool hit = ReadArchiveBackwards(file, found, matches);
    platform::CloseFile(file);
    return hit;
}

bool LastJudgedSeriesOfSource(const char* source, TestRecord* found) {
    const std::string wanted = Trimmed(source, kProtocolTextSize);
    if (wanted.empty()) return false;
    return NewestArchivedRecord(
        [&wanted](const TestRecord& r) {
            return ArchiveRecordCrc(r) == r.crc && r.verdict.present &&
                   Trimmed(r.protocolText[kSourceSlot], kProtocolTextSize) == wanted;
        },
        found);
}
