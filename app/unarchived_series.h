#pragma once
// Finished series that log.dat could not take yet: kept in memory, tried again, shown until stored.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/test_record.h"

// A kept series is tried again this long after the last try.
constexpr uint32_t kArchiveRetryPeriodMs = 5000;

// Appends a finished series to log.dat after the series kept before it, in
// the order they ended; each one stored goes to SeriesArchived. True when
// record is in the archive now (its crc set either way). Otherwise it is
// kept, the quiet line names the cause, and a box posted to the main window
// tells how the series gets there; the caller goes on meanwhile.
bool ArchiveFinishedSeries(TestRecord& record);
// Tries the kept series again: at once, or only when kArchiveRetryPeriodMs
// have passed since the last try. One try each, no waiting for a busy file
// or for another thread's append: meant for the user-interface thread.
void RetryUnarchivedSeries(bool now);
// A protocol made of a kept series carries texts typed since it ended: the
// kept series takes them, so that what reaches log.dat is what the paper
// says. False when no kept series is record's.
bool TakeTextsIntoKeptSeries(const TestRecord& record);
// How many finished series wait for log.dat.
size_t UnarchivedSeriesCount();
// On closing the program: one more try, then, with a series still kept, the
// question whether to close anyway ("Нет" the default). True to close.
bool MayCloseWithUnarchivedSeries();
// Forgets the kept series and what the line shows (tests).
void ResetUnarchivedSeries();

// The quiet line: empty when nothing waits.
std::string UnarchivedLineText(size_t count, uint32_t systemError);
// The box when a finished series could not be stored; deviceMemory: the
// instrument keeps its results and can give them back.
std::string UnarchivedBoxText(uint32_t systemError, bool deviceMemory);
// The question on closing with count series not stored.
std::string UnarchivedCloseQuestion(size_t count);
