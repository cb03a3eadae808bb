#include <gtest/gtest.h>

#include <vector>

#include "link/crc32_words.h"
#include "link/frames.h"

namespace {

std::vector<uint8_t> Bytes(const uint8_t* p, size_t n) { return std::vector<uint8_t>(p, p + n); }

TEST(Frames, BuiltFramesMatchTheInstrumentsBytes) {
    uint8_t shortFrame[kShortFrameSize];
    BuildShortFrame(shortFrame, 0x20);
    EXPECT_EQ(Bytes(shortFrame, 8), (std::vector<uint8_t>{0x20, 0x08, 0x00, 0x00, 0xC9, 0x28, 0x6F, 0xD5}));

    uint8_t argumentFrame[kArgumentFrameSize];
    BuildArgumentFrame(argumentFrame, 0x08, 128);
    EXPECT_EQ(Bytes(argumentFrame, 12),
              (std::vector<uint8_t>{0x08, 0x0C, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x91, 0x02, 0x01, 0xF4}));

    uint8_t resultFrame[kStoredResultFrameSize];
    BuildStoredResultFrame(resultFrame, 3);
    EXPECT_EQ(Bytes(resultFrame, 8), (std::vector<uint8_t>{0x11, 0x08, 0x03, 0x00, 0x67, 0xAD, 0xF5, 0x07}));
}

TEST(Frames, SettingsFrameCarriesTheBlockWholeAndChecksToZero) {
    uint8_t block[kSettingsBlockSize];
    for (size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<uint8_t>(i * 7 + 1);
    uint8_t frame[kSettingsFrameSize];
    BuildSettingsFrame(frame, block);
    EXPECT_EQ(frame[0], 0x05);
    EXPECT_EQ(frame[1], 0x48);
    EXPECT_EQ(frame[2], 0);
    EXPECT_EQ(frame[3], 0);
    EXPECT_EQ(Bytes(frame + 4, 64), Bytes(block, 64));
    EXPECT_EQ(Crc32Words(frame, 72), 0u);
}

TEST(Crc32Words, WholeFrameGivesZeroAndAnyBitFlipDoesNot) {
    uint8_t frame[kArgumentFrameSize];
    BuildArgumentFrame(frame, 0x08, 0x12345678);
    EXPECT_EQ(Crc32Words(frame, sizeof frame), 0u);
    for (size_t byte = 0; byte < sizeof frame; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            frame[byte] ^= static_cast<uint8_t>(1 << bit);
            EXPECT_NE(Crc32Words(frame, sizeof frame), 0u) << byte << ":" << bit;
            frame[byte] ^= static_cast<uint8_t>(1 << bit);
        }
    }
    EXPECT_EQ(Crc32Words(frame, 0), 0xFFFFFFFFu);
}

TEST(Crc32Words, EqualsMpeg2OverByteSwappedGroups) {
    // The word-wise CRC of byte-swapped groups is the plain bytewise
    // CRC-32/MPEG-2 of the original bytes.
    const char* text = "123456789\0\0\0";
    uint8_t swapped[12];
    for (int g = 0; g < 3; ++g)
        for (int i = 0; i < 4; ++i) swapped[4 * g + i] = static_cast<uint8_t>(text[4 * g + 3 - i]);
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : Bytes(reinterpret_cast<const uint8_t*>(text), 12)) {
        crc ^= static_cast<uint32_t>(b) << 24;
        for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    EXPECT_EQ(Crc32Words(swapped, 12), crc);
}

TEST(Frames, Gen2ReceiveCheck) {
    uint8_t frame[kShortFrameSize + 4] = {};
    BuildShortFrame(frame, 0x02);
    EXPECT_EQ(CheckGen2Frame(frame, 8), FrameCheck::Ok);
    EXPECT_EQ(CheckGen2Frame(frame, 12), FrameCheck::Ok);  // bytes past the length are ignored
    EXPECT_EQ(CheckGen2Frame(frame, 7), FrameCheck::Incomplete);
    EXPECT_EQ(CheckGen2Frame(frame, 1), FrameCheck::Incomplete);
    frame[5] ^= 0x10;
    EXPECT_EQ(CheckGen2Frame(frame, 8), FrameCheck::BadCrc);
    uint8_t zeroLength[4] = {0x20, 0x00, 0x00, 0x00};
    EXPECT_EQ(CheckGen2Frame(zeroLength, 4), FrameCheck::BadCrc);
}

TEST(Frames, Gen1HeaderCheck) {
    std::vector<uint8_t> a = {0xFF, 0xFF, 0xFF, 0x04, 0x40};
    EXPECT_TRUE(Gen1HeaderOk(a.data(), 5));
    EXPECT_FALSE(Gen1HeaderOk(a.data(), 4));
    EXPECT_FALSE(Gen1HeaderOk(a.data(), 10001));
    a[3] = 0xFF;
    EXPECT_FALSE(Gen1HeaderOk(a.data(), 5));
    a[3] = 0x20;
    a[1] = 0xFE;
    EXPECT_FALSE(Gen1HeaderOk(a.data(), 5));
}

}  // namespace
