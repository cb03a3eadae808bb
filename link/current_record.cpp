// The current series record and its lock.
#include "link/current_record.h"

TestRecord g_currentRecord;
platform::Mutex g_currentRecordLock;

void CopyCurrentRecord(TestRecord* out) {
    std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
    *out = g_currentRecord;
}
