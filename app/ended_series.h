#pragma once
// The ended series in the application: form texts, archive, the next number, and what its protocol is printed with.
#include "platform/system_time.h"
#include "common/test_record.h"

// The ended series takes the form's texts (protocol fields of the main
// window). On the link worker, synchronous.
void TakeFormTexts(TestRecord* record);
// The ended series, judged and with its texts, becomes the current record
// and the one the number proposal follows, and goes to log.dat or is kept
// for it (record's crc set either way). On the link worker, synchronous.
void ArchiveEndedSeries(TestRecord& record);
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
// The test time the last ended series was archived with; the current
// record's time moves on with every answer after the end, so the series is
// found in the archive by this one. False before any series ended.
bool EndedSeriesTime(SystemTime* out);
// Back to no series ended and no number proposed (tests).
void ForgetEndedSeries();
