#pragma once
// The results a generation-2 instrument keeps in its own memory, as fetched
// by the link, and the list of them in the device-results viewer.
#include <cstddef>
#include <cstdint>

// One stored result as the instrument sends it (bytes 4-35 of a 0x11 answer).
struct StoredResultEntry {
    uint32_t timeStamp;        // seconds since 1970-01-01 on the instrument's clock; 0 = empty slot
    uint16_t voltage[6];       // voltage words
    uint8_t count;             // voltages present
    uint8_t unread17[3];
    uint8_t boundVoltage;
    uint8_t errorOfMean;       // nonzero: the statistics use the error of the mean
    int8_t hourOffset;         // added to the time stamp
    uint8_t unread23[9];
};
static_assert(sizeof(StoredResultEntry) == 32, "the instrument's stored-result layout");
static_assert(offsetof(StoredResultEntry, voltage) == 4, "layout");
static_assert(offsetof(StoredResultEntry, count) == 16, "layout");
static_assert(offsetof(StoredResultEntry, boundVoltage) == 20, "layout");
static_assert(offsetof(StoredResultEntry, errorOfMean) == 21, "layout");
static_assert(offsetof(StoredResultEntry, hourOffset) == 22, "layout");

constexpr uint32_t kStoredResultSlots = 65536;

// Indexed by the instrument's result index. Written by the link worker only;
// zeroed once at start-up; transfers overwrite entries and never clear them.
extern StoredResultEntry g_storedResults[kStoredResultSlots];

// Zeroes the whole table (main window start-up).
void ClearStoredResults();

// Lists every non-empty entry 0..highest in list 701 of the device-results
// viewer, each with whether the archive holds it (runs on the link worker;
// the list is hidden while it is filled).
void FillStoredResultsList(uint32_t highest);

// "В архив": takes the given rows of the list into the archive, those it
// holds already excepted, and lists them again. summary receives the text
// for the user, empty when nothing could be read or appended (the user has
// been told then). User-interface thread, while no transfer runs.
void ImportStoredRows(const int* rows, size_t count, char* summary, size_t size);

struct CalendarTime {
    uint32_t year;  // up to 2106 for a 32-bit count
    uint32_t month, day, hour, minute, second;
};
// The civil date and time t seconds after 1970-01-01 00:00:00 (proleptic
// Gregorian, no time zones, no leap seconds), for every 32-bit t.
CalendarTime SecondsToCalendar(uint32_t t);
