// log.log and stored-result transfers from a generation-2 instrument.
#include "link/file_transfer.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <fstream>

#include "app/log_viewer_ids.h"
#include "app/resource_ids.h"
#include "results/device_results_ids.h"
#include "results/stored_results.h"
#include "tests/unit/link/sim_link_fixture.h"

namespace {

class FileTransferTest : public SimLinkFixture {
protected:
    std::vector<std::string> LogTexts() {
        std::vector<std::string> out;
        for (const auto& c : fake::UiCallsOf("SetText"))
            if (c.window == ui::Window::LogViewer && c.id == IDC_LOG_TEXT) out.push_back(c.text);
        return out;
    }
    static std::vector<uint32_t> ArgumentsOf(uint8_t command, size_t from) {
        std::vector<uint32_t> out;
        for (const auto& w : WritesSince(from))
            if (w[0] == command) out.push_back(command == 0x11 ? Le16(w, 2) : Le32(w, 4));
        return out;
    }
    static uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
        return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
    }
    static uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
    std::vector<fake::UiCall> Progress() {
        std::vector<fake::UiCall> out;
        for (const auto& c : fake::UiCallsOf("SetProgress"))
            if (c.window == ui::Window::DeviceResults && c.id == IDC_DEVICE_RESULTS_PROGRESS) out.push_back(c);
        return out;
    }
    // Clears the flag once `done` says so, as a closing window would.
    static void CloseWhen(std::atomic<bool>* flag, std::function<bool()> done) {
        fake::OnTimeAdvanced([flag, done](uint32_t) {
            if (done()) *flag = false;
        });
    }
};

std::string WriteLogFile(const std::string& text) {
    std::string path = testing::TempDir() + "h1_device_log.txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST_F(FileTransferTest, LogIsReadInChunksWithPercentagesThenShownWithBlanks) {
    std::string text(300, 'x');
    text[5] = '\0';
    text[299] = '\0';
    SimConfig config = Config("ORLA-K200V2");
    config.deviceLog = WriteLogFile(text);
    Start(config);
    size_t from = SimJournal().size();
    g_deviceState.deviceLogRequest = true;
    ReadDeviceLog();
    EXPECT_EQ(ArgumentsOf(0x08, from), (std::vector<uint32_t>{0, 0, 128, 256}));
    std::string shown = text;
    shown[5] = shown[299] = ' ';
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"Чтение файла log.log 0%", "Чтение файла log.log 42%",
                                                    "Чтение файла log.log 85%", shown}));
    std::remove(config.deviceLog.c_str());
}

TEST_F(FileTransferTest, LogSizeFaultsEndAfterTheSizeQuery) {
    struct Case {
        const char* name;
        std::string deviceLog;
        int64_t announced;
        int logError;
        const char* text;
    };
    const Case cases[] = {
        {"no file", "none", -1, 0, "Файл log.log не найден."},
        {"file-system error", "", -1, 3, "Ошибка чтения файловой системы."},
        // size + 1 would wrap to 0 and the buffer be overrun
        {"size near 2^32", "", 0xFFFFFFFFll, 0, "Ошибка чтения файловой системы."},
        {"size above 16 MiB", "", 16 * 1024 * 1024 + 1, 0, "Ошибка чтения файловой системы."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        SimConfig config = Config("ORLA-K200V2");
        config.deviceLog = c.deviceLog;
        config.logAnnouncedSize = c.announced;
        config.logError = c.logError;
        Start(config);
        size_t from = SimJournal().size();
        g_deviceState.deviceLogRequest = true;
        ReadDeviceLog();
        EXPECT_EQ(ArgumentsOf(0x08, from), (std::vector<uint32_t>{0}));
        EXPECT_EQ(LogTexts(), (std::vector<std::string>{c.text}));
        TearDown();
    }
}

TEST_F(FileTransferTest, ClosingTheLogViewerStopsAfterTheCurrentChunk) {
    Start(Config("ORLA-K200V2"));  // the instrument's own log, under 300 bytes
    size_t from = SimJournal().size();
    g_deviceState.deviceLogRequest = true;
    CloseWhen(&g_deviceState.deviceLogRequest, [from] { return ArgumentsOf(0x08, from).size() == 2; });
    ReadDeviceLog();
    EXPECT_EQ(ArgumentsOf(0x08, from).size(), 2u);
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"Чтение файла log.log 0%"}));
}

// Chunk answers name their own offset and count; whatever they say, the file
// buffer takes only what fits inside the file.
TEST_F(FileTransferTest, ChunkNeverWritesOutsideTheFile) {
    g_deviceState.protocolGeneration = 2;
    struct Case {
        uint32_t offset;
        uint8_t count;
        size_t dataBytes;  // data carried by the frame
        size_t expectWritten;
    };
    const Case cases[] = {
        {0, 128, 128, 128},
        {256, 128, 128, 44},         // cut at the file size
        {300, 4, 4, 0},              // at the end
        {0xFFFFFFF0u, 128, 128, 0},  // offset + count wraps
        {0, 200, 128, 128},          // count beyond the frame's data
    };
    constexpr uint32_t kSize = 300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        std::vector<uint8_t> f(16 + c.dataBytes, 0x5A);
        f[0] = 0x08;
        f[2] = c.count;
        f[3] = 0;
        for (int k = 0; k < 4; ++k) f[4 + k] = uint8_t(c.offset >> (8 * k));
        for (int k = 0; k < 4; ++k) f[8 + k] = uint8_t(kSize >> (8 * k));
        f = Gen2Frame(f);
        std::vector<uint8_t> read = f;  // more was read than the frame holds
        read.resize(512, 0x5A);
        std::vector<uint8_t> file(kSize + 64, 0);
        uint32_t size = kSize;
        ParseLogChunk(read.data(), uint32_t(read.size()), file.data(), &size);
        EXPECT_EQ(size, kSize);
        size_t written = size_t(std::count(file.begin(), file.end(), 0x5A));
        EXPECT_EQ(written, c.expectWritten);
        EXPECT_TRUE(std::all_of(file.begin() + kSize, file.end(), [](uint8_t b) { return b == 0; }));
    }
}

TEST_F(FileTransferTest, StoredResultsFillTheTableButNotFromEmptySlots) {
    SimConfig config = Config("ORLA-K200V2");
    config.storedResults = 4;
    config.storedEmptySlots = {2};
    Start(config);
    ClearStoredResults();
    g_storedResults[2].timeStamp = 0xDEADBEEF;  // left from an earlier transfer
    g_deviceState.storedResultsRequest = true;
    TransferStoredResults();
    auto progress = Progress();
    ASSERT_EQ(progress.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(progress[i].value, i);
        EXPECT_EQ(progress[i].value2, 3);
    }
    EXPECT_EQ(g_storedResults[2].timeStamp, 0xDEADBEEFu);
    for (int i : {0, 1, 3}) {
        EXPECT_NE(g_storedResults[i].timeStamp, 0u) << i;
        EXPECT_EQ(g_storedResults[i].count, 6) << i;
    }
    EXPECT_FALSE(g_deviceState.storedResultsRequest);
    auto calls = fake::UiCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().op, "CloseControl");
    EXPECT_EQ(calls.back().window, ui::Window::DeviceResults);
    EXPECT_EQ(calls.back().id, IDC_DEVICE_RESULTS_PROGRESS);
}

TEST_F(FileTransferTest, ProgressSkipsEveryTenthCounterOnlyAboveNinetyNine) {
    struct Case {
        int highest;
        size_t updates;
    };
    for (const Case& c : {Case{250, 251 - 26}, Case{50, 51}}) {
        SCOPED_TRACE(c.highest);
        SetUp();
        SimConfig config = Config("ORLA-K200V2");
        config.storedResults = c.highest + 1;
        Start(config);
        g_deviceState.storedResultsRequest = true;
        TransferStoredResults();
        auto progress = Progress();
        EXPECT_EQ(progress.size(), c.updates);
        bool tenthShown = false;
        for (const auto& p : progress) tenthShown |= p.value % 10 == 0;
        EXPECT_EQ(tenthShown, c.highest <= 99);
        TearDown();
    }
}

TEST_F(FileTransferTest, DamagedOrMissingStoredAnswersAreAskedForAgain) {
    SimConfig config = Config("ORLA-K200V2");
    config.storedResults = 4;
    config.storedBadCrcAt = 2;   // index 1's first answer
    config.storedMissingAt = 4;  // index 2's first answer
    Start(config);
    size_t from = SimJournal().size();
    g_deviceState.storedResultsRequest = true;
    TransferStoredResults();
    EXPECT_EQ(ArgumentsOf(0x11, from), (std::vector<uint32_t>{0, 1, 1, 2, 2, 3}));
    EXPECT_FALSE(g_deviceState.storedResultsRequest);
}

TEST_F(FileTransferTest, ClosingTheResultsViewerStopsTheTransfer) {
    SimConfig config = Config("ORLA-K200V2");
    config.storedResults = 10;
    Start(config);
    size_t from = SimJournal().size();
    g_deviceState.storedResultsRequest = true;
    CloseWhen(&g_deviceState.storedResultsRequest, [from] { return ArgumentsOf(0x11, from).size() == 3; });
    TransferStoredResults();
    EXPECT_EQ(ArgumentsOf(0x11, from).size(), 3u);
    EXPECT_EQ(Progress().size(), 2u);
    EXPECT_TRUE(fake::UiCallsOf("CloseControl").empty());
}

// A transfer never outlasts the instrument: a lost link or answers that are
// never right end it with what was read, and the worker polls again.
TEST_F(FileTransferTest, ATransferTheInstrumentStopsAnsweringEnds) {
    struct Case {
        const char* what;
        bool unplug;
        int garbageEvery;
    } cases[] = {{"cable pulled after three requests", true, 0}, {"garbage before every answer", false, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        SimConfig config = Config("ORLA-K200V2");
        config.storedResults = 50;
        Start(config);
        config.garbageEvery = c.garbageEvery;
        if (c.garbageEvery) SimReset(config);
        size_t from = SimJournal().size();
        uint32_t start = fake::Now();
        bool pulled = false;
        if (c.unplug)
            fake::OnTimeAdvanced([from, &pulled](uint32_t) {
                if (!pulled && ArgumentsOf(0x11, from).size() == 3) pulled = true, SimUnplug();
            });
        g_deviceState.storedResultsRequest = true;
        ASSERT_TRUE(LinkWorkerIteration());
        EXPECT_FALSE(g_deviceState.storedResultsRequest);
        EXPECT_LE(fake::Now() - start, 4000u);
        auto boxes = fake::UiCallsOf("PostMessageBox");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Прибор не отвечает. Прочитаны не все результаты.");
        EXPECT_EQ(fake::UiCallsOf("CloseControl").size(), 1u);
        std::vector<int> startButton;
        for (const auto& e : fake::UiCallsOf("Enable"))
            if (e.window == ui::Window::Main && e.id == IDC_START) startButton.push_back(e.value);
        EXPECT_EQ(startButton, (std::vector<int>{0, 1})) << "ПУСК greyed while the transfer runs";
        if (c.unplug) SimReplug();
        from = SimJournal().size();
        // The first poll may go to the dead handle and reopen the link.
        for (int i = 0; i < 2; ++i) ASSERT_TRUE(LinkWorkerIteration());
        EXPECT_TRUE(ArgumentsOf(0x11, from).empty());
        EXPECT_FALSE(WritesSince(from).empty()) << "the worker polls again";
        TearDown();
    }
}

TEST_F(FileTransferTest, ALogReadEndsWhenTheCableIsPulled) {
    SimConfig config = Config("ORLA-K200V2");
    config.deviceLog = WriteLogFile(std::string(100000, 'x'));
    Start(config);
    size_t from = SimJournal().size();
    bool pulled = false;
    fake::OnTimeAdvanced([from, &pulled](uint32_t) {
        if (!pulled && ArgumentsOf(0x08, from).size() == 5) pulled = true, SimUnplug();
    });
    g_deviceState.deviceLogRequest = true;
    ASSERT_TRUE(LinkWorkerIteration());
    EXPECT_FALSE(g_deviceState.deviceLogRequest);
    EXPECT_LE(ArgumentsOf(0x08, from).size(), 6u);
    auto boxes = fake::UiCallsOf("PostMessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Прибор не отвечает. Файл log.log прочитан не полностью.");
    EXPECT_EQ(LogTexts().back().substr(0, 3 * 128), std::string(3 * 128, 'x'));
    std::remove(config.deviceLog.c_str());
}

// Waiting only until an answer is queued sends the same bytes in the same
// order as the fixed waits, in a fraction of the time.
TEST_F(FileTransferTest, AnswersAreTakenAsSoonAsTheyAreQueued) {
    std::vector<std::vector<uint8_t>> writes[2];
    uint32_t elapsed[2] = {};
    const AnswerWait modes[2] = {AnswerWait::Fixed, AnswerWait::UntilQueued};
    for (int m = 0; m < 2; ++m) {
        SetUp();
        SimConfig config = Config("ORLA-K200V2");
        config.storedResults = 20;
        config.storedBadCrcAt = 5;
        config.answerLatencyMs = 5;
        Start(config);
        SetAnswerWait(modes[m]);
        size_t from = SimJournal().size();
        uint32_t start = fake::Now();
        g_deviceState.storedResultsRequest = true;
        TransferStoredResults();
        elapsed[m] = fake::Now() - start;
        writes[m] = WritesSince(from);
        TearDown();
    }
    EXPECT_EQ(writes[0], writes[1]);
    EXPECT_EQ(elapsed[0], 21u * 250);
    EXPECT_LT(elapsed[1] * 10, elapsed[0]);
}

}  // namespace
