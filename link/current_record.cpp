#include "link/current_record.h"

TestRecord g_currentRecord;
std::mutex g_currentRecordLock;

void CopyCurrentRecord(TestRecord* out) {
    std::lock_guard<std::mutex> guard(g_currentRecordLock);
    *out = g_currentRecord;
}
