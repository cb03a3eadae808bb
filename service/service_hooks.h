#pragma once
// The service view's and the service history's side of the link's contract (installed by the shell).
#include <cstdint>

#include "common/test_record.h"

// What the link tells the service view (only in service mode); kind is a
// ServiceViewKind of link/link_shell.h, any other number does nothing.
void UpdateServiceView(const void* data, int kind);
// The end of a series reaches the service history, which recomputes the head's
// statistics in place before the record is archived.
void ServiceHistoryAddSeries(TestRecord& record);
