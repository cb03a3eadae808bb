#pragma once
// Turns the instrument's answers into the device state and the current record.
#include <cstdint>


// Turns one read from the instrument into DeviceState and the current record.
void ParseAnswer(const uint8_t* buffer, uint32_t count);
