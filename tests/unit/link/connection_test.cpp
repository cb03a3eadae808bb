#include <string>
#include <vector>

#include "link/link_worker.h"
#include "link/search_indicator.h"
#include "link/senders.h"
#include "tests/unit/link/link_fixture.h"

namespace {

const char* const kMissingLibrary = "Не найдена библиотека ftd2xx.dll.\nПожалуйста, установите драйвер!";

TEST_F(LinkTest, DriverLookupAsksForTheWholeListInOrder) {
    testdrv::Plug("ORLA-K200V2", "A1");
    ASSERT_TRUE(LinkWorkerStartup());
    const std::vector<std::string> expected = {
        "FT_Open", "FT_OpenEx", "FT_ListDevices", "FT_Close", "FT_Read", "FT_Write", "FT_IoCtl",
        "FT_SetBaudRate", "FT_SetDivisor", "FT_SetDataCharacteristics", "FT_SetFlowControl", "FT_ResetDevice",
        "FT_SetDtr", "FT_ClrDtr", "FT_SetRts", "FT_ClrRts", "FT_GetModemStatus", "FT_SetChars", "FT_Purge",
        "FT_SetTimeouts", "FT_GetQueueStatus", "FT_SetEventNotification", "FT_GetStatus", "FT_SetBreakOn",
        "FT_SetBreakOff", "FT_SetWaitMask", "FT_WaitOnMask", "FT_GetEventStatus", "FT_ReadEE", "FT_WriteEE",
        "FT_EraseEE", "FT_SetResetPipeRetryCount", "FT_GetDeviceInfo"};
    EXPECT_EQ(fake::LookedUpFunctions(), expected);
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
}

TEST_F(LinkTest, MissingLibraryTellsTheUserAndClosesTheMainWindow) {
    fake::SetDriverLibrary("ftd2xx.dll", nullptr);
    EXPECT_FALSE(LinkWorkerStartup());
    auto calls = fake::UiCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].op, "MessageBox");
    EXPECT_EQ(calls[0].window, ui::Window::Main);
    EXPECT_EQ(calls[0].text, kMissingLibrary);
    EXPECT_EQ(calls[0].caption, "Ошибка!");
    EXPECT_EQ(calls[0].value, static_cast<int>(ui::kIconError));
    EXPECT_EQ(calls[1].op, "SendClose");
    EXPECT_EQ(calls[1].window, ui::Window::Main);
}

TEST_F(LinkTest, MissingRequiredFunctionShowsItsOwnBoxFirst) {
    testdrv::Install({"FT_SetTimeouts"});
    EXPECT_FALSE(LinkWorkerStartup());
    auto calls = fake::UiCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].window, ui::Window::None);
    EXPECT_EQ(calls[0].text, "Необходимые функции не найдены в библиотеке ftd2xx.dll");
    EXPECT_EQ(calls[0].caption, "Ошибка!");
    EXPECT_EQ(calls[1].text, kMissingLibrary);
    EXPECT_EQ(calls[2].op, "SendClose");
}

TEST_F(LinkTest, MissingOptionalFunctionIsAccepted) {
    testdrv::Install({"FT_ListDevices", "FT_EraseEE"});
    testdrv::Plug("ORLA-K200", "A1");
    EXPECT_TRUE(LinkWorkerStartup());
}

TEST_F(LinkTest, WorkerThreadFailureEndsTheProgram) {
    EXPECT_EXIT(
        {
            fake::FailThreadStarts(true);
            StartLinkWorker();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(LinkTest, WorkerStartsAtLowestPriority) {
    StartLinkWorker();
    ASSERT_EQ(fake::StartedThreads().size(), 1u);
    EXPECT_TRUE(fake::StartedThreads()[0].lowestPriority);
    EXPECT_EQ(LinkWorkerThreadId(), fake::StartedThreads()[0].id);
    PostWorkerCommand(0x42);
    ASSERT_EQ(fake::PostedCommands().size(), 1u);
    EXPECT_EQ(fake::PostedCommands()[0], std::make_pair(LinkWorkerThreadId(), uint8_t{0x42}));
}

struct GenerationCase {
    const char* description;
    int generation;
    uint32_t baud;
};

class GenerationTest : public LinkTest, public ::testing::WithParamInterface<GenerationCase> {};

TEST_P(GenerationTest, DescriptionDecidesGenerationBaudAndMenu) {
    const GenerationCase& c = GetParam();
    testdrv::Plug(c.description, "SER42");
    ASSERT_TRUE(LinkWorkerStartup());
    EXPECT_EQ(g_deviceState.protocolGeneration, c.generation);
    EXPECT_EQ(testdrv::BaudRates(), std::vector<uint32_t>{c.baud});
    EXPECT_TRUE(g_deviceState.connected);
    EXPECT_STREQ(g_deviceState.usbSerialNumber, "SER42");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, ui::kStatusBar), "Прибор подключен");
    auto inserted = fake::UiCallsOf("InsertMenuItemBefore");
    if (c.generation == 2) {
        ASSERT_EQ(inserted.size(), 1u);
        EXPECT_EQ(inserted[0].id, 204);
        EXPECT_EQ(inserted[0].value2, 210);
        EXPECT_EQ(inserted[0].text, "Просмотр результатов проведенных испытаний, сохраненных в приборе");
    } else {
        EXPECT_TRUE(inserted.empty());
    }
    // The search indicator is started once, at lowest priority.
    ASSERT_EQ(fake::StartedThreads().size(), 1u);
    EXPECT_TRUE(fake::StartedThreads()[0].lowestPriority);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, GenerationTest,
                         ::testing::Values(GenerationCase{"ORLA-T10", 1, 9600}, GenerationCase{"ORLA-K200", 1, 9600},
                                           GenerationCase{"ORLA-K200V", 1, 9600},
                                           GenerationCase{"ORLA-K200V2", 2, 115200}));

TEST_F(LinkTest, SearchKeepsTryingUntilAnInstrumentAppears) {
    fake::OnTimeAdvanced([](uint32_t now) {
        if (now >= 1000 && testdrv::Opens().empty()) testdrv::Plug("ORLA-K200V2", "LATE");
    });
    ASSERT_TRUE(LinkWorkerStartup());
    EXPECT_GE(fake::Now(), 1000u);
    EXPECT_EQ(testdrv::Opens(), std::vector<std::string>{"D:ORLA-K200V2"});
    EXPECT_EQ(g_deviceState.protocolGeneration, 2);
}

TEST_F(LinkTest, IndicatorIsQuietWhileConnected) {
    Connect("ORLA-K200", "A1");
    SearchIndicatorStep();
    EXPECT_TRUE(fake::UiCalls().empty());
}

TEST_F(LinkTest, TransientWriteFailureLosesOnlyThatCommand) {
    Connect("ORLA-K200V", "A1");
    fake::PostToWorker(0x42);
    testdrv::FailWrites(1);
    Iterations(3);
    // START was lost; the polls go on from where they were, no reopen.
    EXPECT_EQ(testdrv::WrittenCommands(), (std::vector<uint8_t>{0x02, 0x13}));
    EXPECT_EQ(testdrv::Opens().size(), 1u);
    EXPECT_TRUE(g_deviceState.connected);
}

// Blocks (settings, file transfers) must not be lost the way a poll may be.
TEST_F(LinkTest, BlockWriteIsRepeatedUntilItGoesThrough) {
    Connect("ORLA-K200V2", "A1");
    const uint8_t block[] = {0x05, 0x10, 0x20, 0x30};
    testdrv::FailWrites(2);
    WriteBlock(block, sizeof block);
    ASSERT_EQ(testdrv::Writes().size(), 1u);
    EXPECT_EQ(testdrv::Writes()[0].bytes, std::vector<uint8_t>(block, block + sizeof block));
    EXPECT_TRUE(g_deviceState.connected);
}

TEST_F(LinkTest, FailedStatusQueryGivesAnEmptyRead) {
    Connect("ORLA-K200V2", "A1");
    testdrv::Queue(Gen2Status(3, 1, {300}));
    testdrv::FailStatusQueries(1);
    Iterations(1);
    EXPECT_EQ(g_rxCount, 0u);
    EXPECT_EQ(g_currentRecord.valueCount, 0);
    Iterations(1);
    EXPECT_EQ(g_currentRecord.valueCount, 1);
}

TEST_F(LinkTest, OneShotSendersPerGeneration) {
    Connect("ORLA-K200", "A1");
    SendCommand(0x41);
    SendCommandWithArgument(0x08, 0);
    RequestStoredResult(1);
    ASSERT_EQ(testdrv::Writes().size(), 1u);
    EXPECT_EQ(testdrv::Writes()[0].bytes, std::vector<uint8_t>{0x41});
}

}  // namespace
