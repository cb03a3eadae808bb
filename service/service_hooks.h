#pragma once
#include <cstdint>

#include "common/test_record.h"

// What the link tells the service view (only in service mode). Kinds: 0 USB
// serial, 1 reset cause, 2 resets since start, 3 status byte, 4 version text,
// 5 current settings, 6 record head, 7 generation, 8 generation-2 status answer.
void UpdateServiceView(const void* data, int kind);
// UpdateServiceView, but only when the program runs in service mode.
void TellServiceView(const void* data, int kind);
// The end of a series reaches the service history, which recomputes the head's
// statistics in place before the record is archived.
void ServiceHistoryAddSeries(TestRecord& record);
