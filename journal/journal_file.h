#pragma once
// journal.csv in the data folder: appending an event, hashing a file, checking the register against log.dat.
#include <string>

#include "journal/journal.h"

// What the user is told, once, when JournalAppend began a register anew.
constexpr const char* kJournalStartedText = "Журнал протоколов (journal.csv) не найден и начат заново.";
constexpr const char* kJournalCaption = "Журнал протоколов";

enum class JournalAppendOutcome {
    Appended,  // the line is in the register
    Started,   // the register was missing or empty: journal_start, then the line; tell the user once
    Failed,    // the register could not be written (busy, no room, no rights); nothing else depends on it
};

// Appends the entry to journal.csv in the working (data) folder, at the local
// time now and with the account the program runs under (platform::AccountName,
// whatever entry.account says): one write per line, the file closed after,
// as log.dat is written. A torn last line (no CR LF) is cut off first, never
// a whole line.
// Runs on the caller's thread; may wait up to a second for a busy file.
JournalAppendOutcome JournalAppend(const JournalEntry& entry);
// SHA-256 hex of a whole file, read in pieces (an archive moved aside for
// archive_aside); empty when it cannot be read.
std::string JournalFileSha256(const char* path);
// The bytes of journal.csv in the working (data) folder; false when it is
// missing or cannot be read. May wait up to a second for a busy file.
bool JournalReadDataFolder(std::string* bytes);
// Whether log.dat in the working (data) folder holds a record of this
// SHA-256 (JournalRecordSha256); reads the whole archive. Caller's thread.
bool JournalArchiveHolds(const std::string& recordSha256);
// The register and log.dat of the working folder, the one checked against
// the other (JournalVerify); false when there is no register to check.
// read, when given, gets the lines checked.
bool JournalCheckDataFolder(JournalCheck* check, JournalFile* read = nullptr);
