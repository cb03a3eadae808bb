#include "sim/sim_crc.h"

uint32_t SimCrc32Words(const uint8_t* bytes, size_t count) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; i += 4) {
        // A short last group is padded with zeros: the simulator never reads
        // past the bytes it was given.
        uint32_t word = 0;
        for (size_t k = 0; k < 4 && i + k < count; ++k) word |= uint32_t(bytes[i + k]) << (8 * k);
        crc ^= word;
        for (int bit = 0; bit < 32; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

void SimSealFrame(uint8_t* frame, size_t length) {
    uint32_t crc = SimCrc32Words(frame, length - 4);
    for (int k = 0; k < 4; ++k) frame[length - 4 + k] = uint8_t(crc >> (8 * k));
}
