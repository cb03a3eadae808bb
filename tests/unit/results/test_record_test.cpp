#include <gtest/gtest.h>

#include <cstring>

#include "results/test_record.h"

// Bytes after a text's terminator are part of what the archive stores, so a
// copy must carry them, and a 255-character text must end in the slot.
TEST(TestRecordLayout, CopiesCarryBytesAfterTheTerminator) {
    TestRecord a{};
    for (int k = 0; k < kProtocolTextCount; ++k)
        for (int i = 1; i < kProtocolTextSize; ++i) a.protocolText[k][i] = static_cast<char>(i * 7 + k);
    std::strcpy(a.protocolText[0], "П-1");
    TestRecord b = a;
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    EXPECT_EQ(b.protocolText[0][5], static_cast<char>(5 * 7));

    std::memset(a.protocolText[1], 'x', 255);
    a.protocolText[1][255] = 0;
    EXPECT_EQ(std::strlen(a.protocolText[1]), 255u);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&a)[64 + 256 + 255], 0);
}
