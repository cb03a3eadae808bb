#include <vector>

#include "tests/unit/link/link_fixture.h"

namespace {

std::vector<uint8_t> Repeat(std::vector<uint8_t> pattern, int times) {
    std::vector<uint8_t> out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), pattern.begin(), pattern.end());
    return out;
}

// Commands written since the first `from` writes.
std::vector<uint8_t> CommandsFrom(size_t from) {
    std::vector<uint8_t> all = testdrv::WrittenCommands();
    return std::vector<uint8_t>(all.begin() + static_cast<long>(from), all.end());
}

TEST_F(LinkTest, Gen1PollsIdleAndMeasuring) {
    Connect("ORLA-T10");
    Iterations(8);
    EXPECT_EQ(testdrv::WrittenCommands(), Repeat({0x02, 0x13, 0x00, 0x20}, 2));
    for (const auto& w : testdrv::Writes()) EXPECT_EQ(w.bytes.size(), 1u);

    size_t idle = testdrv::Writes().size();
    g_deviceState.status = status_bits::kIzmerMode;
    Iterations(6);
    EXPECT_EQ(CommandsFrom(idle), Repeat({0x02, 0x20}, 3));
}

TEST_F(LinkTest, Gen2PollsIdleAndMeasuring) {
    Connect("ORLA-K200V2");
    Iterations(8);
    EXPECT_EQ(CommandsFrom(0), Repeat({0x02, 0x01, 0x00, 0x20}, 2));
    for (const auto& w : testdrv::Writes()) EXPECT_EQ(w.bytes.size(), 8u);

    size_t idle = testdrv::Writes().size();
    g_deviceState.status = status_bits::kIzmerMode;
    Iterations(3);
    EXPECT_EQ(CommandsFrom(idle), Repeat({0x20}, 3));
}

TEST_F(LinkTest, PollsArePacedAt100Ms) {
    Connect("ORLA-K200V2");
    uint32_t start = fake::Now();
    Iterations(5);
    EXPECT_EQ(fake::Now() - start, 500u);
    ASSERT_EQ(testdrv::Writes().size(), 5u);
    EXPECT_EQ(testdrv::Writes()[1].ms - testdrv::Writes()[0].ms, 100u);
}

TEST_F(LinkTest, PostedCommandsReplacePollsWithoutMovingTheIndex) {
    Connect("ORLA-K200V");
    Iterations(1);  // 0x02
    fake::PostToWorker(0x42);
    fake::PostToWorker(0x41);
    Iterations(3);
    EXPECT_EQ(testdrv::WrittenCommands(), (std::vector<uint8_t>{0x02, 0x42, 0x41, 0x13}));
}

TEST_F(LinkTest, QuitEndsTheWorker) {
    Connect("ORLA-K200V");
    fake::PostQuitToWorker();
    EXPECT_FALSE(LinkWorkerIteration());
    EXPECT_TRUE(testdrv::Writes().empty());
}

TEST_F(LinkTest, SettingsChangeIsRefusedWhileMeasuring) {
    Connect("ORLA-K200V2");
    g_deviceState.status = status_bits::kIzmerMode;
    g_deviceState.settingsChangeRequest = true;
    Iterations(1);
    EXPECT_FALSE(g_deviceState.settingsChangeRequest);
    // Posted, so polling goes on while the user reads it.
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
    auto boxes = fake::UiCallsOf("PostMessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Настройки прибора не изменены.");
    EXPECT_EQ(boxes[0].caption, "Ошибка!");
    EXPECT_EQ(boxes[0].window, ui::Window::Main);
    EXPECT_EQ(boxes[0].value, static_cast<int>(ui::kIconError));
}

TEST_F(LinkTest, SettingsChangeWhileIdleIsServedBetweenWaits) {
    Connect("ORLA-K200V2");
    g_deviceState.gen2SettingsBlock[16] = 6;  // the settings were read before
    g_deviceState.settingsChangeRequest = true;
    uint32_t start = fake::Now();
    Iterations(1);
    EXPECT_FALSE(g_deviceState.settingsChangeRequest);
    // Poll, 300 ms, the frame and its read-back (50 ms each), 300 ms.
    EXPECT_EQ(fake::Now() - start, 800u);
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
}

// A second request while the first is being served is served next with its
// own settings, not swallowed when the first one is cleared.
TEST_F(LinkTest, SettingsRequestDuringAChangeIsServedNext) {
    Connect("ORLA-K200V2");
    g_deviceState.gen2SettingsBlock[16] = 6;
    DeviceSettings first = {}, second = {};
    first.countAndLift = 3;
    second.countAndLift = 5;
    RequestSettingsChange(first);
    bool askedAgain = false;
    const uint32_t start = fake::Now();
    fake::OnTimeAdvanced([&](uint32_t now) {
        // After the first request was taken (poll 100 ms, wait 300 ms), while
        // the worker waits out its change.
        if (!askedAgain && now > start + 450) {
            askedAgain = true;
            RequestSettingsChange(second);
        }
    });
    std::vector<uint8_t> counts;
    testdrv::OnWrite([&](const std::vector<uint8_t>& w) {
        if (w[0] != 0x05 || w.size() != 72) return;
        counts.push_back(w[4 + 16]);
        // The instrument takes it: the read-back finds the new block.
        std::vector<uint8_t> answer = w;
        answer[0] = 0x02;
        testdrv::Queue(Gen2Frame(answer));
    });
    Iterations(1);
    EXPECT_TRUE(g_deviceState.settingsChangeRequest);
    Iterations(1);
    EXPECT_FALSE(g_deviceState.settingsChangeRequest);
    EXPECT_EQ(counts, (std::vector<uint8_t>{3, 5}));
}

TEST_F(LinkTest, EraseRequestSendsCommand9AndShowsTheAnswer) {
    Connect("ORLA-K200V2");
    testdrv::OnWrite([](const std::vector<uint8_t>& w) {
        if (w[0] == 0x09) testdrv::Queue(Gen2Frame({0x09, 0, 0, 0, 0, 0, 0, 0}));
    });
    g_deviceState.eraseLogRequest = true;
    Iterations(1);
    EXPECT_FALSE(g_deviceState.eraseLogRequest);
    EXPECT_EQ(testdrv::WrittenCommands(), (std::vector<uint8_t>{0x02, 0x09}));
    auto boxes = fake::UiCallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Результаты прогонки скрыты!");
    EXPECT_EQ(boxes[0].caption, "Успешно!");
}

}  // namespace
