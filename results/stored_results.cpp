// The table of results fetched from the instrument and their list.
#include "results/stored_results.h"

#include <cstring>

StoredResultEntry g_storedResults[kStoredResultSlots];

void ClearStoredResults() { std::memset(g_storedResults, 0, sizeof g_storedResults); }

// Not built yet: filled in with the device-results viewer.
void FillStoredResultsList(uint32_t) {}
CalendarTime SecondsToCalendar(uint32_t) { return CalendarTime{1970, 1, 1, 0, 0, 0}; }
