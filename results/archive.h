#pragma once
#include <cstddef>
#include <cstdint>

#include "results/test_record.h"

constexpr size_t kArchiveGroupSize = 3 * sizeof(TestRecord);  // 10248

// Stores crc into the record and appends one group of three scrambled copies
// to log.dat. Returns false when the series could not be stored; the caller
// has then told nobody yet.
bool ArchiveAppend(TestRecord& record);
uint16_t ArchiveCrc16(const uint8_t* bytes, size_t count);
void ArchiveScramble(uint8_t* bytes, size_t count);
void ArchiveVote(uint8_t* group);
