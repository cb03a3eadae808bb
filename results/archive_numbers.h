#pragma once
// The protocol numbers log.dat holds, each series under the number of its newest version.
#include <cstdint>
#include <string>
#include <vector>

#include "common/test_record.h"

// One series of the archive and the number its newest version goes by.
struct ArchivedNumber {
    std::string key;      // ProtocolNumberKey of the number
    SystemTime testTime;  // when the series was measured
    uint64_t series;      // SeriesIdentityHash
};

// A number as numbers are compared: blanks around it dropped, letters in
// lower case ("П-18А/2026 " and "п-18а/2026" are one number). Empty for none.
std::string ProtocolNumberKey(const char* number);
// Every series among the last kLookupGroups of log.dat, newest first, under
// the number of its newest version (a number mended away is no longer held).
// A series without a number is left out. False, with nothing, when the file
// is missing or stays busy.
bool ReadArchivedNumbers(std::vector<ArchivedNumber>* out);
// The newest series that goes by number, other than the series except
// (0: none excepted); null when there is none.
const ArchivedNumber* NumberHolder(const std::vector<ArchivedNumber>& numbers, const std::string& number,
                                   uint64_t except = 0);
