#pragma once
// Questions the main window asks of log.dat without opening the viewer.
#include <cstddef>
#include <functional>

#include "common/test_record.h"
#include "platform/files.h"

// How far back a lookup reads: the newest series first, so a series of
// recent weeks is found at once, and a large archive never makes leaving a
// field or printing slow.
constexpr size_t kLookupGroups = 2000;

// Decodes the last kLookupGroups records of the open file, newest first,
// each into *record, until stop is true for one (then true) or a read falls
// short (then false, as when none stopped it).
bool ReadArchiveBackwards(platform::FileHandle file, TestRecord* record,
                          const std::function<bool(const TestRecord&)>& stop);

// The newest record among the last kLookupGroups of log.dat for which
// matches is true, read from the end; false when none is, or the file is busy
// or missing. *found is overwritten either way.
bool NewestArchivedRecord(const std::function<bool(const TestRecord&)>& matches, TestRecord* found);

// The newest judged series whose "Объект, из которого взята проба" is source
// (blanks around it ignored), among the last kLookupGroups; false when
// there is none, the source is empty or the file is busy or missing.
bool LastJudgedSeriesOfSource(const char* source, TestRecord* found);
