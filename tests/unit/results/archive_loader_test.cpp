// Reading log.dat for the viewer: repairs, stops, failures and the crc warning.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "results/archive.h"
#include "results/archive_loader.h"

namespace {

struct Received {
    std::vector<TestRecord> room;
    std::vector<size_t> delivered;
    std::vector<bool> crcOk;
    size_t stopAfter = SIZE_MAX;
};

TestRecord* Begin(void* context, size_t count) {
    auto* r = static_cast<Received*>(context);
    r->room.resize(count);
    return r->room.data();
}

bool Deliver(void* context, size_t index, bool crcMatches) {
    auto* r = static_cast<Received*>(context);
    r->delivered.push_back(index);
    r->crcOk.push_back(crcMatches);
    return r->delivered.size() < r->stopAfter;
}

TestRecord Numbered(int n) {
    TestRecord r{};
    r.valueCount = 1;
    r.breakdownVoltage[0] = static_cast<uint16_t>(100 + n);
    std::snprintf(r.protocolText[0], kProtocolTextSize, "P-%d", n);
    return r;
}

std::vector<uint8_t>& LogDat() { return fake::FileBytes("log.dat"); }

class ArchiveLoadTest : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
    void Store(int count) {
        for (int i = 0; i < count; ++i) {
            TestRecord r = Numbered(i);
            ASSERT_TRUE(ArchiveAppend(r));
        }
    }
    ArchiveLoadResult Load() { return ArchiveLoad(ArchiveLoadSink{&got, Begin, Deliver}); }
    std::vector<fake::UiCall> Questions() { return fake::UiCallsOf("MessageBox"); }
    Received got;
};

}  // namespace

TEST_F(ArchiveLoadTest, DeliversEveryRecordInFileOrder) {
    Store(3);
    ArchiveLoadResult r = Load();
    EXPECT_EQ(r.outcome, ArchiveLoadOutcome::Loaded);
    EXPECT_EQ(r.records, 3u);
    ASSERT_EQ(got.delivered, (std::vector<size_t>{0, 1, 2}));
    EXPECT_STREQ(got.room[2].protocolText[0], "P-2");
    EXPECT_EQ(got.crcOk, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(Questions().empty());
}

TEST_F(ArchiveLoadTest, MissingBusyAndEmptyFilesFindNoResults) {
    EXPECT_EQ(Load().outcome, ArchiveLoadOutcome::NoResults);
    auto captions = fake::UiCallsOf("SetCaption");
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0].window, ui::Window::Main);
    EXPECT_EQ(captions[0].text, "2");

    LogDat();
    EXPECT_EQ(Load().outcome, ArchiveLoadOutcome::NoResults);

    Store(1);
    fake::SetFileLocked("log.dat", true);
    EXPECT_EQ(Load().outcome, ArchiveLoadOutcome::NoResults);
    EXPECT_EQ(fake::UiCallsOf("SetCaption").back().text, "32");
    EXPECT_STREQ(ArchiveLoadMessage(ArchiveLoadOutcome::NoResults),
                 "Результатов ранее проведенных испытаний не найдено!");
}

TEST_F(ArchiveLoadTest, BriefCollisionWithAnAppendIsWaitedOut) {
    Store(2);
    fake::SetFileLocked("log.dat", true);
    fake::OnTimeAdvanced([](uint32_t now) {
        if (now >= 200) fake::SetFileLocked("log.dat", false);
    });
    EXPECT_EQ(Load().records, 2u);
}

TEST_F(ArchiveLoadTest, TailWithTwoWholeCopiesIsCompletedOnYes) {
    Store(2);
    LogDat().resize(2 * 10248 + 6833);
    // The third group: copies A and B whole, one byte of C.
    TestRecord third = Numbered(2);
    third.crc = ArchiveCrc16(reinterpret_cast<const uint8_t*>(&third), kArchiveCrcSpan);
    for (int c = 0; c < 2; ++c) {
        uint8_t copy[sizeof(TestRecord)];
        std::memcpy(copy, &third, sizeof copy);
        ArchiveScramble(copy, sizeof copy);
        std::memcpy(&LogDat()[2 * 10248 + c * sizeof copy], copy, sizeof copy);
    }
    fake::QueueMessageBoxAnswer(ui::kAnswerYes);
    ArchiveLoadResult r = Load();
    auto q = Questions();
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].text.substr(q[0].text.size() - 17), "Исправить ошибки?");
    EXPECT_EQ(q[0].caption, "Файл поврежден!");
    EXPECT_EQ(q[0].window, ui::Window::Main);
    EXPECT_EQ(q[0].value & 0xF, static_cast<int>(ui::kYesNo));
    EXPECT_EQ(LogDat().size(), 3 * 10248u);
    ASSERT_EQ(r.records, 3u);
    EXPECT_EQ(std::memcmp(&got.room[2], &third, sizeof third), 0);
    EXPECT_TRUE(got.crcOk[2]);
}

// The question says what is wrong and what each answer does; "Да" also
// writes back, as three agreeing copies, every group the vote had to mend.
TEST_F(ArchiveLoadTest, DamageQuestionSaysWhatIsWrongAndWhatYesDoes) {
    const std::string torn = "Файл log.dat поврежден.\nПоследняя серия записана не полностью (в файле ";
    const std::string mend = "; записи с несовпадающими копиями (1) будут исправлены по большинству копий.";
    const std::string no = "\n«Нет»: файл останется как есть, неполная последняя серия не будет показана.\n\n"
                           "Исправить ошибки?";
    const struct {
        size_t tail;
        bool copyDamaged;
        int answer;
        std::string question;
    } cases[] = {
        {6833, false, ui::kAnswerYes,
         torn + "6833 байт из 10248 ее записи).\n\n«Да»: последняя серия будет восстановлена по ее уцелевшим копиям." + no},
        {5000, true, ui::kAnswerYes,
         torn + "5000 байт из 10248 ее записи).\nЗаписей с несовпадающими копиями: 1.\n\n«Да»: последняя серия "
                "будет восстановлена по ее уцелевшим копиям" + mend + no},
        {100, true, ui::kAnswerNo,
         torn + "100 байт из 10248 ее записи).\nЗаписей с несовпадающими копиями: 1.\n\n«Да»: неполная запись в "
                "конце файла (100 байт) будет отрезана — целой проверенной копии серии в ней нет" + mend + no},
    };
    for (const auto& c : cases) {
        SetUp();
        Store(3);
        if (c.copyDamaged) LogDat()[3416 + 80] ^= 0x10;  // group 0, copy B
        LogDat().resize(2 * 10248 + c.tail);
        fake::QueueMessageBoxAnswer(c.answer);
        EXPECT_EQ(Load().records, c.answer == ui::kAnswerYes ? 3u : 2u) << c.tail;
        ASSERT_EQ(Questions().size(), 1u);
        EXPECT_EQ(Questions()[0].text, c.question);
        // "Да" writes the group back as three agreeing copies; "Нет" leaves it.
        const bool agree = std::memcmp(&LogDat()[0], &LogDat()[3416], 3416) == 0;
        EXPECT_EQ(agree, !c.copyDamaged || c.answer == ui::kAnswerYes) << c.tail;
        EXPECT_STREQ(got.room[0].protocolText[0], "P-0");
    }
}

// A power cut in the middle of an append: the group's first bytes are on
// disk, the rest is missing.
void TearAppend(const TestRecord& record, size_t kept) {
    TestRecord r = record;
    const size_t before = LogDat().size();
    ASSERT_TRUE(ArchiveAppend(r));
    LogDat().resize(before + kept);
}

TEST_F(ArchiveLoadTest, TornGroupWithOneVerifiedCopyIsCompletedOnYes) {
    for (size_t kept : {size_t{3416}, size_t{3417}, size_t{5000}, size_t{6832}}) {
        SCOPED_TRACE(kept);
        fake::Reset();
        got = Received{};
        Store(2);
        TearAppend(Numbered(2), kept);
        fake::QueueMessageBoxAnswer(ui::kAnswerYes);
        ArchiveLoadResult r = Load();
        EXPECT_EQ(LogDat().size(), 3 * 10248u);
        ASSERT_EQ(r.records, 3u);
        EXPECT_STREQ(got.room[2].protocolText[0], "P-2");
        EXPECT_EQ(got.room[2].breakdownVoltage[0], 102);
        EXPECT_EQ(r.crcMismatches, 0u);
    }
}

TEST_F(ArchiveLoadTest, TornGroupWhoseOnlyCopyFailsItsCrcIsCutBack) {
    Store(2);
    TearAppend(Numbered(2), 5000);
    LogDat()[2 * 10248 + 200] ^= 0x01;  // inside copy A's protocol texts
    fake::QueueMessageBoxAnswer(ui::kAnswerYes);
    EXPECT_EQ(Load().records, 2u);
    EXPECT_EQ(LogDat().size(), 2 * 10248u);
}

TEST_F(ArchiveLoadTest, AppendAfterATornGroupMendsItFirstAndStaysInStep) {
    struct Case {
        size_t kept;
        size_t records;  // after the next append
    } cases[] = {{100, 3}, {3415, 3}, {3416, 4}, {6833, 4}, {10247, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kept);
        fake::Reset();
        got = Received{};
        Store(2);
        TearAppend(Numbered(2), c.kept);
        TestRecord next = Numbered(3);
        ASSERT_TRUE(ArchiveAppend(next));
        EXPECT_EQ(LogDat().size(), c.records * 10248u);
        ArchiveLoadResult r = Load();
        EXPECT_TRUE(Questions().empty());
        ASSERT_EQ(r.records, c.records);
        EXPECT_EQ(r.crcMismatches, 0u);
        EXPECT_STREQ(got.room[c.records - 1].protocolText[0], "P-3");
        if (c.records == 4) EXPECT_STREQ(got.room[2].protocolText[0], "P-2");
    }
}

TEST_F(ArchiveLoadTest, ShorterTailIsCutBackOnYes) {
    Store(2);
    LogDat().resize(2 * 10248 + 6832);
    fake::QueueMessageBoxAnswer(ui::kAnswerYes);
    EXPECT_EQ(Load().records, 2u);
    EXPECT_EQ(LogDat().size(), 2 * 10248u);
    EXPECT_TRUE(fake::UiCallsOf("SendClose").empty());
}

TEST_F(ArchiveLoadTest, NoLeavesTheFileAndIgnoresTheTail) {
    Store(1);
    LogDat().resize(10248 + 6833);
    fake::QueueMessageBoxAnswer(ui::kAnswerNo);
    EXPECT_EQ(Load().records, 1u);
    EXPECT_EQ(LogDat().size(), 10248u + 6833u);
}

TEST_F(ArchiveLoadTest, AnotherFileIsOnlyReadAndItsTornTailReported) {
    Store(2);
    fake::FileBytes("log-20261208-234501.dat") = LogDat();
    fake::FileBytes("log-20261208-234501.dat").resize(10248 + 6832);
    ArchiveLoadResult r = ArchiveLoadReadOnly("log-20261208-234501.dat", ArchiveLoadSink{&got, Begin, Deliver});
    EXPECT_EQ(r.records, 1u);
    EXPECT_TRUE(r.tornTail);
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(fake::FileBytes("log-20261208-234501.dat").size(), 10248u + 6832u);
    char text[256];
    ASSERT_TRUE(ArchiveLoadWarning(r, {}, text, sizeof text));
    EXPECT_STREQ(text, "Последняя серия в файле записана не полностью и не показана.");
}

TEST_F(ArchiveLoadTest, HundredByteFile) {
    LogDat().assign(100, 1);
    fake::QueueMessageBoxAnswer(ui::kAnswerNo);
    ArchiveLoadResult no = Load();
    EXPECT_EQ(no.outcome, ArchiveLoadOutcome::Loaded);
    EXPECT_EQ(no.records, 0u);
    EXPECT_TRUE(got.room.empty());
    EXPECT_EQ(LogDat().size(), 100u);

    fake::QueueMessageBoxAnswer(ui::kAnswerYes);
    EXPECT_EQ(Load().outcome, ArchiveLoadOutcome::Unreadable);
    EXPECT_TRUE(LogDat().empty());
    auto closes = fake::UiCallsOf("SendClose");
    ASSERT_EQ(closes.size(), 1u);
    EXPECT_EQ(closes[0].window, ui::Window::ArchiveViewer);
    EXPECT_STREQ(ArchiveLoadMessage(ArchiveLoadOutcome::Unreadable), "Невозможно прочитать файл!");
}

TEST_F(ArchiveLoadTest, OneDamagedCopyIsRepairedAndTwoMatchingDamagesAreKept) {
    Store(2);
    for (size_t i = 0; i < 3416; i += 3) LogDat()[3416 + i] ^= 0x5A;  // group 0, copy B
    LogDat()[10248 + 70] ^= 0x01;                                     // group 1, copies A and C
    LogDat()[10248 + 6832 + 70] ^= 0x01;
    ArchiveLoadResult r = Load();
    ASSERT_EQ(r.records, 2u);
    TestRecord first = Numbered(0);
    first.crc = ArchiveCrc16(reinterpret_cast<const uint8_t*>(&first), kArchiveCrcSpan);
    EXPECT_EQ(std::memcmp(&got.room[0], &first, sizeof first), 0);
    EXPECT_EQ(got.room[1].protocolText[0][6], 0x01 ^ Numbered(1).protocolText[0][6]);
    // The damaged record is still delivered, flagged by its crc.
    EXPECT_EQ(got.crcOk, (std::vector<bool>{true, false}));
    EXPECT_EQ(r.crcMismatches, 1u);
    EXPECT_EQ(r.firstMismatches[0], 1u);
    char text[512];
    ASSERT_TRUE(ArchiveMismatchWarning(r, {1}, text, sizeof text));
    EXPECT_NE(std::string(text).find("(строка 2)"), std::string::npos) << text;
}

// The rows are those of the list, each once, however many of its records
// (versions of one series) fail.
TEST(ArchiveMismatchWarning, OneRowIsStrokaSeveralAreStroki) {
    const struct {
        size_t records;
        std::vector<uint32_t> rows;
        const char* named;
    } cases[] = {{1, {0}, ": 1 (строка 1)."}, {3, {0, 1}, ": 3 (строки 1, 2)."},
                 {12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, ": 12 (строки 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, ...)."},
                 {1, {}, ": 1."}};  // its series not listed now
    for (const auto& c : cases) {
        ArchiveLoadResult r{};
        r.crcMismatches = c.records;
        char text[512];
        ASSERT_TRUE(ArchiveMismatchWarning(r, c.rows, text, sizeof text));
        EXPECT_EQ(text, "Записей архива с несовпадающей контрольной суммой" + std::string(c.named) +
                            "\nЭти записи показаны, но их данные могут быть искажены; в списке они отмечены знаком "
                            "«!» перед номером протокола.");
    }
}

TEST_F(ArchiveLoadTest, ReceiverCanStop) {
    Store(5);
    got.stopAfter = 2;
    ArchiveLoadResult r = Load();
    EXPECT_EQ(r.outcome, ArchiveLoadOutcome::Stopped);
    EXPECT_EQ(got.delivered.size(), 2u);
    // The file is not left open.
    fake::SetFileLocked("log.dat", false);
    TestRecord more = Numbered(9);
    EXPECT_TRUE(ArchiveAppend(more));
}

TEST_F(ArchiveLoadTest, LargeArchiveCrossesReadChunks) {
    Store(600);
    EXPECT_EQ(Load().records, 600u);
    EXPECT_STREQ(got.room[599].protocolText[0], "P-599");
    EXPECT_STREQ(got.room[256].protocolText[0], "P-256");
}

TEST_F(ArchiveLoadTest, ClearingEmptiesTheFile) {
    EXPECT_TRUE(ArchiveClear());  // no file: nothing to do
    EXPECT_FALSE(fake::FileExists("log.dat"));
    Store(2);
    EXPECT_TRUE(ArchiveClear());
    EXPECT_TRUE(LogDat().empty());
    EXPECT_EQ(Load().outcome, ArchiveLoadOutcome::NoResults);
    Store(1);
    fake::SetFileLocked("log.dat", true);
    EXPECT_FALSE(ArchiveClear());
}
