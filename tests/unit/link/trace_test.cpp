#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/frames.h"
#include "link/trace.h"
#include "platform/fake/fake_platform.h"

namespace {

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        ResetTrace();
    }
};

TEST_F(TraceTest, NothingIsWrittenOrCreatedWithoutTheFile) {
    TraceText("Ошибка CRC!");
    const uint8_t b[] = {1, 2};
    TraceBytes(b, 2, TraceDirection::Sent);
    EXPECT_TRUE(fake::Files().empty());
}

TEST_F(TraceTest, FirstLineOfARunReplacesOldContentThenLinesAppend) {
    const std::string old = "left from the last run\n";
    fake::FileBytes("log.log").assign(old.begin(), old.end());
    uint8_t poll[kShortFrameSize];
    BuildShortFrame(poll, 0x20);
    TraceBytes(poll, sizeof poll, TraceDirection::Sent);
    const uint8_t version[] = {0xFF, 0xFF, 0xFF, 0x00, 0x6A};
    TraceBytes(version, sizeof version, TraceDirection::Received);
    TraceText("Принят не весь пакет!");
    TraceBytes(version, 0, TraceDirection::Received);
    EXPECT_EQ(Text(fake::FileBytes("log.log")),
              "OUT[8]: 20 08 00 00 C9 28 6F D5 \nIN[5]: FF FF FF 00 6A \nПринят не весь пакет!\n");
}

TEST_F(TraceTest, BusyFileLosesTheLineSilently) {
    fake::FileBytes("log.log");
    fake::SetFileLocked("log.log", true);
    TraceText("Ошибка CRC!");
    fake::SetFileLocked("log.log", false);
    TraceText("x");
    EXPECT_EQ(Text(fake::FileBytes("log.log")), "x\n");
}

}  // namespace
