#pragma once
// The record of the series under way, shared by the link worker and the windows.
#include <mutex>

#include "platform/threads.h"
#include "common/test_record.h"

// The current series record. The link worker is its only writer and reads it
// freely; it takes the lock only around its writes, and never while it talks
// to a window (a window call waits for the user-interface thread, which may be
// waiting for this lock). The user-interface thread copies it under the lock,
// so a printed or saved protocol never mixes two answers.
extern TestRecord g_currentRecord;
extern platform::Mutex g_currentRecordLock;

void CopyCurrentRecord(TestRecord* out);
