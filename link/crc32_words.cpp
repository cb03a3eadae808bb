// The word-wise CRC-32 of generation-2 frames.
#include "link/crc32_words.h"

uint32_t Crc32Words(const uint8_t* bytes, uint16_t count) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint32_t at = 0; at < count; at += 4) {
        uint32_t word = static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
                        static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
        crc ^= word;
        for (int bit = 0; bit < 32; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}
