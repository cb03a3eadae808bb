#pragma once
// The program's events turned into lines of the register, written by a thread of their own.
#include <string>

#include "journal/journal_file.h"

// The line a record just appended to log.dat gets: series for one archived at
// the end of a series, import for one taken from the instrument's memory;
// the person is the tester named in the record's protocol texts.
// False for an amendment: the amendment dialog journals it itself with its
// reason (JournalPostAmend), the hook of the append knows neither who nor why.
bool JournalEntryOfAppended(const TestRecord& record, JournalEntry* entry);
// The archive_aside line of log.dat moved aside under movedName, whose whole
// file hashes to fileSha256.
JournalEntry JournalEntryOfAside(const std::string& movedName, const std::string& fileSha256);
// The amend line of a record appended as an amendment: who changed it and why.
JournalEntry JournalEntryOfAmend(const TestRecord& amended, const std::string& person, const std::string& reason);

// What the writer thread reports after each line; both run on that thread.
struct JournalWriterHooks {
    // The register was missing and began anew with journal_start: tell the user.
    void (*started)() = nullptr;
    // A line is in the register (the laboratory database may take it).
    void (*written)() = nullptr;
};

// Queues a line for the register; never waits, never fails the caller. When
// hashFile is not empty the writer puts its whole file's SHA-256 into
// recordSha256 first (a moved archive may be large).
void JournalPost(const JournalEntry& entry, const std::string& hashFile = std::string());
// Writes every queued line with JournalAppend on the calling thread, in the
// order posted, and calls the hooks StartJournalWriter was given; a line the
// register refuses is dropped (nothing depends on it). One caller at a time:
// the shell calls it once more at exit, so no line posted last is lost.
void JournalWriteQueued();
// Starts, once, the lowest-priority thread that calls JournalWriteQueued as
// lines come.
void StartJournalWriter(const JournalWriterHooks& hooks);
