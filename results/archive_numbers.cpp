// Reading the protocol numbers of log.dat's series from its end, newest version first.
#include "results/archive_numbers.h"

#include <unordered_set>

#include "platform/clock.h"
#include "platform/files.h"
#include "results/archive.h"
#include "results/archive_filter.h"
#include "results/archive_lookup.h"
#include "results/archive_versions.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Read only, waiting out an append or a sender's read that holds the file.
platform::FileHandle OpenForReading() {
    for (uint32_t waited = 0;; waited += platform::kBusyRetryStepMs) {
        uint32_t error = 0;
        platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadExisting, &error);
        if (file != platform::kNoFile || error != platform::kErrorSharingViolation) return file;
        if (waited >= platform::kBusyRetryTotalMs) return platform::kNoFile;
        platform::Wait(platform::kBusyRetryStepMs);
    }
}

}  // namespace

std::string ProtocolNumberKey(const char* number) {
    size_t end = 0;
    while (end < kProtocolTextSize && number[end]) ++end;
    size_t begin = 0;
    while (begin < end && IsBlank(number[begin])) ++begin;
    while (end > begin && IsBlank(number[end - 1])) --end;
    std::string key;
    for (size_t i = begin; i < end; ++i) key += static_cast<char>(FoldCp1251(static_cast<uint8_t>(number[i])));
    return key;
}

bool ReadArchivedNumbers(std::vector<ArchivedNumber>* out) {
    out->clear();
    platform::FileHandle file = OpenForReading();
    if (file == platform::kNoFile) return false;
    std::unordered_set<uint64_t> seen;
    TestRecord record;
    ReadArchiveBackwards(file, &record, [out, &seen](const TestRecord& r) {
        const uint64_t series = SeriesIdentityHash(r);
        if (!seen.insert(series).second) return false;  // an older version of a series already taken
        std::string key = ProtocolNumberKey(r.protocolText[0]);
        if (!key.empty()) out->push_back(ArchivedNumber{key, r.testTime, series});
        return false;
    });
    platform::CloseFile(file);
    return true;
}

const ArchivedNumber* NumberHolder(const std::vector<ArchivedNumber>& numbers, const std::string& number,
                                   uint64_t except) {
    const std::string key = ProtocolNumberKey(number.c_str());
    if (key.empty()) return nullptr;
    for (const ArchivedNumber& n : numbers)
        if (n.key == key && (except == 0 || n.series != except)) return &n;
    return nullptr;
}
