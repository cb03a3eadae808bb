#pragma once
// The instrument's own word-wise CRC-32, kept apart from the program's copy so
// that the simulator checks the program rather than agreeing with it.
#include <cstddef>
#include <cstdint>

uint32_t SimCrc32Words(const uint8_t* bytes, size_t count);
// Stores the CRC of bytes [0, length-4) into the last four bytes.
void SimSealFrame(uint8_t* frame, size_t length);
