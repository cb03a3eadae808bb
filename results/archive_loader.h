#pragma once
// Loading log.dat and other archive files into the archive viewer, and clearing log.dat.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/test_record.h"

enum class ArchiveLoadOutcome {
    Loaded,      // every whole group was handed over (possibly none)
    NoResults,   // file missing, busy or empty
    Unreadable,  // nothing could be read
    Stopped,     // the receiver asked to stop
};

struct ArchiveLoadSink {
    void* context;
    // Called once with the number of whole groups; returns room for that many
    // records, or nullptr to stop. Not called when the file holds no group.
    TestRecord* (*begin)(void* context, size_t count);
    // Called for each record in file order once it sits in the room given by
    // begin; crcMatches tells whether its stored crc holds. False stops.
    bool (*deliver)(void* context, size_t index, bool crcMatches);
};

constexpr size_t kArchiveMismatchesKept = 10;

struct ArchiveLoadResult {
    ArchiveLoadOutcome outcome;
    size_t records;          // records handed over
    size_t crcMismatches;    // of those, how many failed their crc
    size_t firstMismatches[kArchiveMismatchesKept];  // their indices, in order
    bool tornTail;           // read-only loading: the last group is incomplete and was left out
};

// Runs on the viewer's reader thread. Asks "Исправить ошибки?" when the file
// is not a whole number of groups; sets the main window's caption to the
// system error code when the file cannot be opened; closes the viewer when a
// repair leaves nothing.
ArchiveLoadResult ArchiveLoad(const ArchiveLoadSink& sink);
// The same for another archive file (one moved aside by "Удалить все"),
// which is only ever read: a torn tail is neither completed nor cut, only its
// whole groups are handed over and tornTail is set. No question, no caption.
ArchiveLoadResult ArchiveLoadReadOnly(const char* path, const ArchiveLoadSink& sink);
// The message the viewer shows for an outcome, or nullptr.
const char* ArchiveLoadMessage(ArchiveLoadOutcome outcome);
// Text of the warning about records whose crc does not hold, naming the
// list rows (from 0, ascending, each once) that show their series; false
// when there are none.
bool ArchiveMismatchWarning(const ArchiveLoadResult& result, const std::vector<uint32_t>& rows, char* out,
                            size_t size);

// The mismatch warning and, for a torn tail, that the last series is
// incomplete; false when there is neither.
bool ArchiveLoadWarning(const ArchiveLoadResult& result, const std::vector<uint32_t>& rows, char* out, size_t size);

// Empties log.dat. True also when there is no file; false when it stayed busy.
bool ArchiveClear();
