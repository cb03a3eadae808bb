#pragma once
// Taking results stored in the instrument into the archive, each at most once.
#include <cstddef>
#include <cstdint>

#include "results/stored_results.h"
#include "common/test_record.h"

// A stored result of one or two values and an archived series are one and
// the same only when their dates lie at most this far apart: so few values
// recur by chance. Three values or more in the same order do not, so they
// match whatever the dates, for the instrument's clock may be off by days.
constexpr int64_t kSameSeriesWindowSeconds = 24 * 3600;
constexpr int kValuesMatchingAnyDate = 3;

// Seconds since 1970-01-01 00:00 of a civil date and time, no time zones.
int64_t CivilSeconds(uint32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute, uint32_t second);
// The instrument's local date and time of a stored result, as its list shows it.
uint32_t StoredLocalSeconds(const StoredResultEntry& stored);

// The same values in the same order (voltage words with their no-breakdown
// bit, and the same count) and, for fewer than three values, test dates at
// most a day apart.
bool SameSeries(const TestRecord& archived, const StoredResultEntry& stored);

// What the archive holds of one stored result: whether it holds it and, of
// the archived series that match, the date of the one nearest in time.
struct ArchivedMatch {
    bool held;
    int64_t apart;          // seconds between that series and the stored result
    SystemTime archivedAt;  // that series' test time
};
// "да", or the archived series' date when it lies more than a day from the
// instrument's (its clock was off); empty when the archive does not hold it.
void ArchivedCellText(const ArchivedMatch& match, char* out, size_t size);

// The archive record of a stored result: the instrument's date and time,
// values and the statistics the instrument shows for them; no protocol
// texts, no settings (the instrument keeps none with a result), not judged,
// marked as taken from the instrument's memory. crc is left to the append.
void StoredResultRecord(const StoredResultEntry& stored, TestRecord* out);

// Reads every whole group of log.dat once and fills found[i] with what the
// archive holds of entries[i]. The file is only read (a torn tail is left
// alone). False when log.dat exists but cannot be read; nothing is held then.
bool FindArchived(const StoredResultEntry* const* entries, size_t count, ArchivedMatch* found);

struct ImportCounts {
    size_t added;    // appended now
    size_t skipped;  // already in the archive
    bool failed;      // an append failed; the user has been told
    bool unreadable;  // log.dat could not be read, so nothing was appended
};

// Appends those of entries the archive does not hold, in the given order.
// Two equal entries of one selection are taken once.
ImportCounts ImportStoredResults(const StoredResultEntry* const* entries, size_t count);
// "В архив добавлено результатов: N." and, when some were there already,
// how many were skipped; or why nothing could be added.
void ImportSummaryText(const ImportCounts& counts, char* out, size_t size);
