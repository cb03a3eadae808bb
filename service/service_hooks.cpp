#include "service/service_hooks.h"

#include <cstring>

#include "app/program_settings.h"
#include "results/statistics.h"

// Stand-ins until the service view and its history exist: the view is not
// shown yet, but the history's recomputation of the head must already happen,
// because its figures are the ones the archive and the protocols receive.
void UpdateServiceView(const void*, int) {}

void TellServiceView(const void* data, int kind) {
    if (g_programSettings.serviceMode) UpdateServiceView(data, kind);
}

void ServiceHistoryAddSeries(TestRecord& record) {
    RecordHead head;
    static_assert(sizeof head == kRecordHeadSize, "head");
    std::memcpy(&head, &record, sizeof head);
    ComputeHeadStatistics(head, ErrorOfMean(record.settingsSnapshot));
    std::memcpy(&record, &head, sizeof head);
}
