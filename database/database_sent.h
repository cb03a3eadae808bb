// How far log.dat and journal.csv have been sent to the laboratory database: the small files that remember it.
#pragma once
#include <cstdint>
#include <string>

#include "common/test_record.h"

// In the data folder beside log.dat.
constexpr const char* kSentMarkFileName = "database-sent.txt";

// The first records of log.dat that are in the database, and where they went.
struct SentMark {
    uint64_t target = 0;      // DatabaseTarget of the database and instrument they went to
    uint64_t records = 0;     // log.dat's first records, in file order, sent
    uint64_t lastRecord = 0;  // RecordFingerprint of the last of them
};

// The file's text: three lines "target <16 hex>", "records <decimal>",
// "last <16 hex>". Parse is false for anything else; nothing is then taken
// as sent.
std::string FormatSentMark(const SentMark& mark);
bool ParseSentMark(const std::string& text, SentMark* mark);
// Read from path; false when the file is missing or not understood.
bool LoadSentMark(const char* path, SentMark* mark);
// Written to path.tmp, then moved over path: a power cut leaves the old
// file or the new one, never half of either.
bool SaveSentMark(const char* path, const SentMark& mark);

// How far journal.csv has been sent: its lines up to seq, the last of them
// with that chain_sha256, went to target.
constexpr const char* kJournalSentMarkFileName = "database-journal-sent.txt";
struct JournalSentMark {
    uint64_t target = 0;
    uint64_t seq = 0;
    std::string chain;  // 64 lower-case hex digits
};
// Three lines "target <16 hex>", "seq <decimal>", "chain <64 hex>"; kept as
// the series' mark is.
std::string FormatJournalSentMark(const JournalSentMark& mark);
bool ParseJournalSentMark(const std::string& text, JournalSentMark* mark);
bool LoadJournalSentMark(const char* path, JournalSentMark* mark);
bool SaveJournalSentMark(const char* path, const JournalSentMark& mark);

// Names the database and the instrument by the connection string without its
// password (a changed password is the same database) and the serial number.
uint64_t DatabaseTarget(const std::string& connectionString, const std::string& serial);
uint64_t RecordFingerprint(const TestRecord& record);

// How many of log.dat's records need not be sent again: the mark's count,
// unless it was made for another target, or log.dat is shorter than that or
// no longer holds the same record there (moved aside and begun anew). Then
// all is sent again: the database keeps one row per series version anyway.
// atMark is the record at index mark.records - 1, when there is one.
uint64_t RecordsAlreadySent(const SentMark& mark, uint64_t target, uint64_t archiveRecords, const TestRecord* atMark);
