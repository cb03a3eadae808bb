#pragma once
// log.dat: appending a series as three scrambled copies with a crc, and reading groups back.
#include <cstddef>
#include <cstdint>

#include "platform/files.h"
#include "common/test_record.h"

constexpr size_t kArchiveGroupSize = 3 * sizeof(TestRecord);  // 10248
constexpr const char* kArchiveFileName = "log.dat";
// The crc covers every record byte before the crc field itself.
constexpr size_t kArchiveCrcSpan = offsetof(TestRecord, crc);  // 3412

// Stores crc into the record and appends one group of three scrambled copies
// to log.dat, in one try. False leaves the file as it was (a group torn by
// a full disk is taken back) and gives the system error code of the cause.
bool ArchiveAppendOnce(TestRecord& record, uint32_t* systemError);
// The same, a busy file or a failed write retried for a short while.
bool ArchiveAppendPatiently(TestRecord& record, uint32_t* systemError);
// ArchiveAppendPatiently; when the record still cannot be stored the user is
// told why in a message box owned by the main window and false is returned.
bool ArchiveAppend(TestRecord& record);
// Called after every record appended, from the appending thread, in the
// order added; must not wait. Adding a hook twice adds it once.
void AddArchiveAppendedHook(void (*hook)(const TestRecord& appended));
uint16_t ArchiveCrc16(const uint8_t* bytes, size_t count);
void ArchiveScramble(uint8_t* bytes, size_t count);
void ArchiveVote(uint8_t* group);
// The crc over the record's bytes before its crc field.
uint16_t ArchiveRecordCrc(const TestRecord& record);
// Brings a file whose length is not a whole number of groups back to whole
// groups: a torn last group is completed when copies A and B are whole, or
// when copy A is whole and its crc holds (the missing bytes are taken from
// copy A); otherwise the tail is cut back. Returns the new length.
uint64_t ArchiveMendTail(platform::FileHandle file, uint64_t length);
// Whether ArchiveMendTail would complete the torn last group (true) or cut
// it back (false); the file is only read.
bool ArchiveTailRestorable(platform::FileHandle file, uint64_t length);
// Votes the three copies and descrambles the result into record; the group
// is left as it was. ArchiveRecordCrc tells whether the stored crc holds.
void ArchiveDecodeGroup(const uint8_t* group, TestRecord* record);
