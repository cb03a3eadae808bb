#include <gtest/gtest.h>

#include <vector>

#include "sim/sim_crc.h"

TEST(SimCrcTest, KnownFramesCheckToZeroAndOneBitBreaksThem) {
    const std::vector<std::vector<uint8_t>> frames = {
        {0x20, 0x08, 0x00, 0x00, 0xC9, 0x28, 0x6F, 0xD5},
        {0x08, 0x0C, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x91, 0x02, 0x01, 0xF4},
        {0x11, 0x08, 0x03, 0x00, 0x67, 0xAD, 0xF5, 0x07},
    };
    for (std::vector<uint8_t> f : frames) {
        EXPECT_EQ(0u, SimCrc32Words(f.data(), f.size()));
        std::vector<uint8_t> sealed = f;
        SimSealFrame(sealed.data(), sealed.size());
        EXPECT_EQ(f, sealed);
        for (size_t bit = 0; bit < f.size() * 8; bit += 7) {
            std::vector<uint8_t> broken = f;
            broken[bit / 8] ^= uint8_t(1u << (bit % 8));
            EXPECT_NE(0u, SimCrc32Words(broken.data(), broken.size()));
        }
    }
    EXPECT_EQ(0xFFFFFFFFu, SimCrc32Words(nullptr, 0));
}
