#pragma once
// Read-only check of log.dat: the vote's mends, failing crcs, a torn tail.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "common/test_record.h"

// Checking a copy of log.dat without changing it: what the vote had to mend,
// which records fail their crc and whether the last group is torn.

// A record whose crc fails: its row in file order from 1, as the viewer
// numbers it, and its protocol number in UTF-8.
struct ArchiveCrcFailure {
    uint64_t row;
    std::string protocol;
};

struct ArchiveVerifyReport {
    uint64_t groups = 0;          // whole groups
    uint64_t repairedGroups = 0;  // groups whose copies disagreed and the vote settled
    uint64_t repairedCopies = 0;  // copies that differed from the vote
    uint64_t crcMismatches = 0;   // records whose crc fails after the vote
    uint64_t tornBytes = 0;       // bytes after the last whole group
    std::vector<ArchiveCrcFailure> crcFailures;  // one per crc mismatch
};

// The failing records for a person to find them: "row 2 (П-17), row 5 ()".
std::string ArchiveCrcFailureList(const ArchiveVerifyReport& report);

enum class ArchiveVerdict {
    Sound,     // every copy agrees, every crc holds, no torn tail
    Repaired,  // the vote mended damaged copies; every record is intact
    Damaged,   // a crc fails or the last group is torn
};

// Counts one whole group (kArchiveGroupSize bytes, left unchanged) into the
// report; when record is given it receives the series the vote gives.
void ArchiveVerifyGroup(const uint8_t* group, ArchiveVerifyReport* report, TestRecord* record = nullptr);
ArchiveVerdict ArchiveVerdictOf(const ArchiveVerifyReport& report);
// Reads a whole archive from in group by group and counts it; each, when
// given, receives every series in file order. A short last group counts as
// torn tail bytes. Never writes.
ArchiveVerifyReport ArchiveVerifyStream(std::istream& in, const std::function<void(const TestRecord&)>& each = {});
