#pragma once
// The instrument's own memory: its clock, the results it stores and its
// event file log.log.
#include <cstdint>
#include <string>

#include "sim/sim_instrument.h"

void StorageInit(SimInstrument* inst, int64_t now);
uint32_t StorageClock(const SimInstrument& inst, int64_t at);
void StorageLog(SimInstrument* inst, int64_t at, const std::string& event);
// Keeps the series just ended (at least one value) as a stored result.
void StorageStoreSeries(SimInstrument* inst, int64_t at);
// Highest index the instrument reports (0 when it holds nothing).
uint16_t StorageHighest(const SimInstrument& inst);
// False for an index it does not hold; out is then zero.
bool StorageEntry(const SimInstrument& inst, uint16_t index, uint8_t out[32]);
