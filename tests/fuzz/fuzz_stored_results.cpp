// Fuzzes the device-results list: a table of arbitrary entries (any count,
// time stamp, hour offset and voltages) listed up to an arbitrary highest
// index, and the calendar conversion of arbitrary time stamps.
#include <cstring>

#include "results/stored_results.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fake::Reset();
    fake::SetWindowExists(ui::Window::DeviceResults, true);
    ClearStoredResults();
    // Entries land at arbitrary indices; the highest may lie anywhere, up to
    // the last slot of the table.
    uint32_t highest = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 64)
                                        : in.ConsumeIntegralInRange<uint32_t>(0, kStoredResultSlots - 1);
    while (in.remaining_bytes() >= sizeof(StoredResultEntry) + 2) {
        uint32_t index = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 64)
                                          : in.ConsumeIntegralInRange<uint32_t>(0, kStoredResultSlots - 1);
        std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(sizeof(StoredResultEntry));
        std::memcpy(static_cast<void*>(&g_storedResults[index]), bytes.data(), bytes.size());
        CalendarTime c = SecondsToCalendar(g_storedResults[index].timeStamp);
        if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31 || c.hour > 23 || c.minute > 59 ||
            c.second > 59 || c.year < 1970 || c.year > 2106)
            __builtin_trap();  // no such date
    }
    FillStoredResultsList(highest);
    return 0;
}
