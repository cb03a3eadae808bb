// Taking results stored in the instrument into the archive, each at most once.
#include "results/archive_import.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "results/archive.h"
#include "results/statistics.h"

namespace {

constexpr size_t kChunkGroups = 64;
constexpr uint32_t kSecondsPerHour = 3600;

// The values alone, so the archive's records are compared only with the
// stored results they may equal.
uint64_t ValuesKey(uint8_t count, const uint16_t* words) {
    uint64_t key = 1469598103934665603ull ^ count;
    const int n = count < kVoltageSlots ? count : kVoltageSlots;
    for (int i = 0; i < n; ++i) key = (key ^ words[i]) * 1099511628211ull;
    return key;
}

int64_t RecordSeconds(const TestRecord& r) {
    const SystemTime& t = r.testTime;
    return CivilSeconds(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

platform::FileHandle OpenForReading(uint32_t* error) {
    for (uint32_t waited = 0;; waited += platform::kBusyRetryStepMs) {
        platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadExisting, error);
        if (file != platform::kNoFile || *error != platform::kErrorSharingViolation ||
            waited >= platform::kBusyRetryTotalMs)
            return file;
        platform::Wait(platform::kBusyRetryStepMs);
    }
}

using Candidates = std::unordered_multimap<uint64_t, size_t>;

int64_t SecondsApart(const TestRecord& archived, const StoredResultEntry& stored) {
    const int64_t apart = RecordSeconds(archived) - static_cast<int64_t>(StoredLocalSeconds(stored));
    return apart < 0 ? -apart : apart;
}

// The nearest match in time is kept: its date is what the list shows.
void MarkHeld(const TestRecord& r, const StoredResultEntry* const* entries, const Candidates& byValues,
              ArchivedMatch* found) {
    auto range = byValues.equal_range(ValuesKey(r.valueCount, r.breakdownVoltage));
    for (auto it = range.first; it != range.second; ++it) {
        ArchivedMatch& m = found[it->second];
        if (!SameSeries(r, *entries[it->second])) continue;
        const int64_t apart = SecondsApart(r, *entries[it->second]);
        if (m.held && m.apart <= apart) continue;
        m.held = true;
        m.apart = apart;
        m.archivedAt = r.testTime;
    }
}

// Decodes the file chunk by chunk: an archive of years need not fit in memory.
bool ScanGroups(platform::FileHandle file, const StoredResultEntry* const* entries, const Candidates& byValues,
                ArchivedMatch* found) {
    std::vector<uint8_t> chunk;
    try {
        chunk.resize(kChunkGroups * kArchiveGroupSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!platform::SeekTo(file, 0)) return false;
    TestRecord record;
    for (;;) {
        uint32_t got = 0;
        if (!platform::ReadFile(file, chunk.data(), static_cast<uint32_t>(chunk.size()), &got)) return false;
        const size_t groups = got / kArchiveGroupSize;
        for (size_t g = 0; g < groups; ++g) {
            ArchiveDecodeGroup(chunk.data() + g * kArchiveGroupSize, &record);
            MarkHeld(record, entries, byValues, found);
        }
        if (got < chunk.size()) return true;
    }
}

}  // namespace

int64_t CivilSeconds(uint32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute, uint32_t second) {
    // Days from 1970-01-01, counting years from March so the leap day ends one.
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t m = month;
    const int64_t dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + static_cast<int64_t>(day) - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + static_cast<int64_t>(hour) * 3600 + minute * 60 + second;
}

uint32_t StoredLocalSeconds(const StoredResultEntry& stored) {
    // The sum wraps like the instrument's 32-bit clock does.
    return stored.timeStamp +
           static_cast<uint32_t>(static_cast<int32_t>(stored.hourOffset) * static_cast<int32_t>(kSecondsPerHour));
}

bool SameSeries(const TestRecord& archived, const StoredResultEntry& stored) {
    if (archived.valueCount != stored.count) return false;
    const int n = StoredValueCount(archived);
    for (int i = 0; i < n; ++i)
        if (archived.breakdownVoltage[i] != stored.voltage[i]) return false;
    return n >= kValuesMatchingAnyDate || SecondsApart(archived, stored) <= kSameSeriesWindowSeconds;
}

void ArchivedCellText(const ArchivedMatch& match, char* out, size_t size) {
    if (size == 0) return;
    if (!match.held) {
        out[0] = 0;
    } else if (match.apart <= kSameSeriesWindowSeconds) {
        std::snprintf(out, size, "да");
    } else {
        const SystemTime& t = match.archivedAt;
        std::snprintf(out, size, "%u.%u.%u", t.wDay, t.wMonth, t.wYear);
    }
}

void StoredResultRecord(const StoredResultEntry& stored, TestRecord* out) {
    std::memset(out, 0, sizeof *out);
    static_assert(sizeof out->breakdownVoltage == sizeof stored.voltage, "six voltage words each");
    std::memcpy(out->breakdownVoltage, stored.voltage, sizeof stored.voltage);
    // The count is kept as sent; whatever reads the values reads no more
    // than the six slots there are.
    out->valueCount = stored.count;
    out->seriesLength = stored.count;
    out->boundVoltage = stored.boundVoltage;
    // The instrument keeps no statistics with a result; they are those it
    // shows, by its error-of-mean setting of the time, which is all it keeps
    // of its settings, so the snapshot itself stays empty.
    out->settingsSnapshot.pauseAndFlags = stored.errorOfMean ? settings_bits::kErrorOfMean : 0;
    ComputeSeriesStatistics(*out);
    std::memset(&out->settingsSnapshot, 0, sizeof out->settingsSnapshot);
    const CalendarTime when = SecondsToCalendar(StoredLocalSeconds(stored));
    SystemTime& t = out->testTime;
    t.wYear = static_cast<uint16_t>(when.year);
    t.wMonth = static_cast<uint16_t>(when.month);
    t.wDay = static_cast<uint16_t>(when.day);
    t.wHour = static_cast<uint16_t>(when.hour);
    t.wMinute = static_cast<uint16_t>(when.minute);
    t.wSecond = static_cast<uint16_t>(when.second);
    // 1970-01-01 was a Thursday; SYSTEMTIME counts from Sunday.
    t.wDayOfWeek = static_cast<uint16_t>((StoredLocalSeconds(stored) / 86400 + 4) % 7);
    out->marks.origin = origin_bits::kFromInstrumentMemory;
}

bool FindArchived(const StoredResultEntry* const* entries, size_t count, ArchivedMatch* found) {
    for (size_t i = 0; i < count; ++i) found[i] = ArchivedMatch{};
    uint32_t error = 0;
    platform::FileHandle file = OpenForReading(&error);
    if (file == platform::kNoFile) return error == platform::kErrorFileNotFound;
    Candidates byValues;
    for (size_t i = 0; i < count; ++i) byValues.emplace(ValuesKey(entries[i]->count, entries[i]->voltage), i);
    const bool ok = ScanGroups(file, entries, byValues, found);
    platform::CloseFile(file);
    if (!ok)
        for (size_t i = 0; i < count; ++i) found[i] = ArchivedMatch{};
    return ok;
}

ImportCounts ImportStoredResults(const StoredResultEntry* const* entries, size_t count) {
    ImportCounts counts{};
    std::unique_ptr<ArchivedMatch[]> held(new (std::nothrow) ArchivedMatch[count + 1]);
    if (!held || !FindArchived(entries, count, held.get())) {
        counts.unreadable = true;
        return counts;
    }
    std::vector<size_t> added;
    TestRecord record;
    for (size_t i = 0; i < count; ++i) {
        bool already = held[i].held;
        for (size_t j = 0; !already && j < added.size(); ++j) {
            StoredResultRecord(*entries[added[j]], &record);
            already = SameSeries(record, *entries[i]);
        }
        if (already) {
            ++counts.skipped;
            continue;
        }
        StoredResultRecord(*entries[i], &record);
        if (!ArchiveAppend(record)) {
            counts.failed = true;
            break;
        }
        added.push_back(i);
        ++counts.added;
    }
    return counts;
}

void ImportSummaryText(const ImportCounts& counts, char* out, size_t size) {
    if (counts.unreadable) {
        std::snprintf(out, size, "Не удалось прочитать архив (файл %s): результаты не добавлены.", kArchiveFileName);
        return;
    }
    int used = std::snprintf(out, size, "В архив добавлено результатов: %u.", static_cast<unsigned>(counts.added));
    if (counts.skipped > 0 && used > 0 && static_cast<size_t>(used) < size)
        std::snprintf(out + used, size - used, "\nУже были в архиве и пропущены: %u.",
                      static_cast<unsigned>(counts.skipped));
}
