#pragma once
// What the instrument sends back for each command, in both generations. Each
// call also carries out the command (keypad presses, settings writes).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/sim_instrument.h"

// Generation 1: one command byte; an empty answer means none is sent.
std::vector<uint8_t> SimGen1Answer(SimInstrument* inst, uint8_t command, int64_t now);
// Generation 2: one whole frame whose CRC has been checked.
std::vector<uint8_t> SimGen2Answer(SimInstrument* inst, const uint8_t* frame, size_t length, int64_t now);
