#pragma once
// The word-wise CRC-32 of generation-2 frames.
#include <cstdint>

// Word-wise CRC-32 of generation-2 frames: polynomial 0x04C11DB7, start
// 0xFFFFFFFF, each group of four bytes taken as a little-endian word, no
// final XOR. A count that is not a multiple of 4 takes the bytes after it into
// its last group, so the caller must have them in the buffer.
uint32_t Crc32Words(const uint8_t* bytes, uint16_t count);
