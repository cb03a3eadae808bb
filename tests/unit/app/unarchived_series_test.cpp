// Finished series that log.dat refused: kept, tried again on the clock, at the next series and on a click.
#include <cstring>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "app/unarchived_series.h"
#include "results/archive.h"
#include "tests/unit/link/link_fixture.h"

namespace {

TestRecord Series(uint16_t minute) {
    TestRecord r{};
    r.valueCount = 2;
    r.breakdownVoltage[0] = 450;
    r.breakdownVoltage[1] = static_cast<uint16_t>(400 + minute);
    r.testTime = SystemTime{2026, 12, 3, 9, 10, minute, 0, 0};
    return r;
}

std::vector<int> ArchivedMinutes() {
    std::vector<int> minutes;
    const std::vector<uint8_t>& bytes = fake::FileBytes("log.dat");
    for (size_t at = 0; at + kArchiveGroupSize <= bytes.size(); at += kArchiveGroupSize) {
        TestRecord r;
        ArchiveDecodeGroup(&bytes[at], &r);
        minutes.push_back(r.testTime.wMinute);
    }
    return minutes;
}

std::string Line() { return fake::ControlText(ui::Window::Main, IDC_ARCHIVE_STATE); }

class UnarchivedTest : public LinkTest {};

}  // namespace

TEST_F(UnarchivedTest, KeptSeriesAreStoredInOrderWhenTheArchiveTakesThemAgain) {
    enum Step { End, Pass, Tick, Click, FillDisk, FreeDisk, Deny, Allow };
    const struct {
        Step step;
        int value;  // the series' minute for End, milliseconds for Wait
        std::vector<int> archived;
        const char* line;
    } steps[] = {
        {FillDisk, 0, {}, ""},
        {End, 1, {}, "Серия не сохранена в архиве: на диске нет места"},
        {Pass, 3000, {}, "Серия не сохранена в архиве: на диске нет места"},
        {FreeDisk, 0, {}, "Серия не сохранена в архиве: на диске нет места"},
        {Tick, 0, {}, "Серия не сохранена в архиве: на диске нет места"},  // not due yet
        {Pass, 2000, {}, "Серия не сохранена в архиве: на диске нет места"},
        {Tick, 0, {1}, ""},
        {FillDisk, 0, {1}, ""},
        {End, 2, {1}, "Серия не сохранена в архиве: на диске нет места"},
        {End, 3, {1}, "Серии не сохранены в архиве (2): на диске нет места"},
        {FreeDisk, 0, {1}, "Серии не сохранены в архиве (2): на диске нет места"},
        {Click, 0, {1, 2, 3}, ""},
        {Deny, 0, {1, 2, 3}, ""},
        {End, 4, {1, 2, 3}, "Серия не сохранена в архиве: нет доступа к файлу"},
        {Allow, 0, {1, 2, 3}, "Серия не сохранена в архиве: нет доступа к файлу"},
        {End, 5, {1, 2, 3, 4, 5}, ""},  // the kept one first, at the next series
    };
    int boxes = 0;
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const auto& s = steps[i];
        switch (s.step) {
            case End: {
                TestRecord r = Series(static_cast<uint16_t>(s.value));
                const bool stored = ArchiveFinishedSeries(r);
                EXPECT_EQ(stored, std::string(s.line).empty()) << i;
                EXPECT_EQ(r.crc, ArchiveRecordCrc(r)) << i;
                if (!stored) ++boxes;
                break;
            }
            case Pass: fake::Advance(static_cast<uint32_t>(s.value)); break;
            case Tick: RetryUnarchivedSeries(false); break;
            case Click: RetryUnarchivedSeries(true); break;
            case FillDisk: fake::SetFreeSpace(100); break;
            case FreeDisk: fake::SetFreeSpace(-1); break;
            case Deny: fake::SetAccessDenied("log.dat", true); break;
            case Allow: fake::SetAccessDenied("log.dat", false); break;
        }
        EXPECT_EQ(ArchivedMinutes(), s.archived) << "step " << i;
        EXPECT_EQ(fake::FileBytes("log.dat").size() % kArchiveGroupSize, 0u) << "nothing partial, step " << i;
        EXPECT_EQ(Line(), s.line) << "step " << i;
        EXPECT_EQ(UnarchivedSeriesCount() == 0, std::string(s.line).empty()) << i;
    }
    // One box per series refused, posted so the worker goes on polling; it
    // names the cause and, for an instrument that keeps no results to give
    // back (the e2e test has the other kind), says not to close.
    const auto posted = fake::UiCallsOf("PostMessageBox");
    EXPECT_EQ(static_cast<int>(posted.size()), boxes);
    EXPECT_TRUE(fake::UiCallsOf("MessageBox").empty());
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted[0].caption, "Ошибка!");
    EXPECT_EQ(posted[0].text.find("Результаты испытания не удалось сохранить в архиве (файл log.dat): "
                                  "на диске нет места.\n\nСерия хранится в программе: запись в архив "
                                  "повторяется каждые 5 секунд"),
              0u);
    EXPECT_NE(posted[0].text.find("Не закрывайте программу, пока серия не сохранена"), std::string::npos);
}

TEST_F(UnarchivedTest, ClosingAsksWhileASeriesIsKept) {
    const struct {
        int kept;
        bool diskFreed;
        int answer;
        bool closes;
        const char* question;
    } cases[] = {
        {0, false, 0, true, ""},
        {1, true, 0, true, ""},  // the last try on closing stores it
        {1, false, 0, false, "Последняя серия не сохранена в архиве. Выйти?"},
        {1, false, ui::kAnswerYes, true, "Последняя серия не сохранена в архиве. Выйти?"},
        {2, false, ui::kAnswerNo, false, "Последние серии (2) не сохранены в архиве. Выйти?"},
    };
    for (const auto& c : cases) {
        SetUp();
        fake::SetFreeSpace(0);
        for (int k = 0; k < c.kept; ++k) {
            TestRecord r = Series(static_cast<uint16_t>(10 + k));
            ArchiveFinishedSeries(r);
        }
        if (c.diskFreed) fake::SetFreeSpace(-1);
        if (c.answer) fake::QueueMessageBoxAnswer(c.answer);
        EXPECT_EQ(MayCloseWithUnarchivedSeries(), c.closes) << c.question;
        const auto boxes = fake::UiCallsOf("MessageBox");
        ASSERT_EQ(boxes.size(), std::string(c.question).empty() ? 0u : 1u) << c.question;
        if (boxes.empty()) continue;
        EXPECT_EQ(boxes[0].text, c.question);
        EXPECT_EQ(boxes[0].caption, "Внимание!");
        EXPECT_EQ(boxes[0].value, static_cast<int>(ui::kYesNo | ui::kIconWarning | ui::kDefaultSecond));
    }
}

TEST_F(UnarchivedTest, APrintedKeptSeriesGoesInWithThePrintedTexts) {
    fake::SetFreeSpace(100);
    TestRecord ended = Series(1);
    ArchiveFinishedSeries(ended);
    TestRecord printed = ended;
    std::strcpy(printed.protocolText[1], "Масло ГК");
    EXPECT_TRUE(TakeTextsIntoKeptSeries(printed));
    EXPECT_FALSE(TakeTextsIntoKeptSeries(Series(2)));
    fake::SetFreeSpace(-1);
    RetryUnarchivedSeries(true);
    const std::vector<uint8_t>& bytes = fake::FileBytes("log.dat");
    ASSERT_EQ(bytes.size(), kArchiveGroupSize);
    TestRecord stored;
    ArchiveDecodeGroup(bytes.data(), &stored);
    EXPECT_STREQ(stored.protocolText[1], "Масло ГК");
    EXPECT_EQ(stored.crc, ArchiveRecordCrc(stored));
}
