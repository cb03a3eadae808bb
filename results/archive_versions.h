#pragma once
// Versions of one series in log.dat: a mended protocol text is appended as a
// new record of the series, never written over the one archived.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/test_record.h"

constexpr uint32_t kNoRecord = 0xFFFFFFFFu;

// The same measured series: the same test time to the millisecond and the
// same values.
bool SameSeries(const TestRecord& a, const TestRecord& b);
// A hash of what SameSeries compares, for grouping without the records at hand.
uint64_t SeriesIdentityHash(const TestRecord& record);
// Whether the 13 texts differ, each compared up to its terminator only: the
// bytes after it are filler and never count.
bool TextsDiffer(const TestRecord& a, const TestRecord& b);
// The newest version of record's series among the last kLookupGroups of
// log.dat, read from the end; false when it is not there or the file is busy.
bool NewestArchivedVersion(const TestRecord& record, TestRecord* found);
// The next version of newest with the texts of texts: everything else kept,
// the amendment number one up and amendedAt set to now (seconds since 2000).
void MakeAmendment(const TestRecord& newest, const TestRecord& texts, uint32_t now, TestRecord* out);
// Local time as the record marks count it, and back to "8.12.2026 23:27".
uint32_t SecondsSince2000(const SystemTime& t);
std::string AmendedAtText(uint32_t seconds);
// "изм. 1 от 8.12.2026 23:27", "исходная" for amendment 0.
std::string VersionLabel(const TestRecord& record);
// "Изменение №1 от 8.12.2026 23:27" under a protocol's title; empty for amendment 0.
std::string AmendmentNote(const TestRecord& record);
// True when the record should be appended as an amendment before it is
// printed: found is the newest archived version of record's series and its
// texts differ. *amended then holds the record to append.
bool AmendmentNeeded(const TestRecord& record, const TestRecord& found, uint32_t now, TestRecord* amended);

// One row per series over records taken in file order. A record with
// amendment 0 starts a series; one with amendment k > 0 is the next version
// of the latest series of the same test time and values before it (a record
// that finds none starts its own).
class ArchiveVersions {
public:
    // Takes records[i]; i must be the next index. True when it starts a series.
    bool Add(const TestRecord* records, uint32_t i);
    // The index of the record that started i's series.
    uint32_t FirstOf(uint32_t i) const { return first_[i]; }
    uint32_t Newest(uint32_t first) const { return newest_[first]; }
    // Every version of first's series, oldest first.
    std::vector<uint32_t> Versions(uint32_t first) const;
    size_t size() const { return first_.size(); }

private:
    std::unordered_map<uint64_t, uint32_t> series_;  // identity hash -> latest first record
    std::vector<uint32_t> first_;
    std::vector<uint32_t> newest_;    // per first record
    std::vector<uint32_t> previous_;  // the version before, or kNoRecord
};
