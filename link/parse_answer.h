#pragma once
#include <cstdint>


// Turns one read from the instrument into DeviceState and the current record.
void ParseAnswer(const uint8_t* buffer, uint32_t count);
