#pragma once
// The end of a series, and what the protocol of the ended series is printed with.
#include <cstdint>

#include "platform/system_time.h"
#include "common/test_record.h"

// A series has ended with at least one value: history, form texts, archive,
// the next protocol number proposed, printing unlocked, and in run-in mode
// the next series armed.
void EndOfSeries();
// A finished series is in log.dat now (at its end or on a later try): its
// texts are offered, and for the series just ended the number field
// proposes the next free number.
void SeriesArchived(const TestRecord& record);
// A record was appended to log.dat (the archive's hook): when it amends the
// ended series' number, the proposal follows the newest number.
void ArchivedVersionAppended(const TestRecord& record);
// A record with the form's texts, about to be printed or saved as the ended
// series' protocol: while the number field still shows the number proposed
// for the next series, the protocol keeps the one it was archived under.
void KeepArchivedNumber(TestRecord* record);
// A series the link saw measuring, cut off by a lost link, is now reported
// no longer measuring with values: it ended while nobody listened.
bool SeriesEndedUnseen(bool measuring, uint8_t valueCount);
// After each accepted result or status answer: whether a series is under
// way from now on.
void FollowSeries(bool measuring);
// The test time the last ended series was archived with; the current
// record's time moves on with every answer after the end, so the series is
// found in the archive by this one. False before any series ended.
bool EndedSeriesTime(SystemTime* out);
// Back to no series ended and no number proposed (tests).
void ForgetEndedSeries();
