// The number field after a series: the next free number, following an amended number; ПУСК's question.
#include <cstring>
#include <string>
#include <vector>

#include "app/number_check.h"
#include "app/resource_ids.h"
#include "app/ended_series.h"
#include "link/end_of_series.h"
#include "results/archive.h"
#include "results/archive_versions.h"
#include "tests/unit/link/link_fixture.h"

namespace {

TestRecord Series(uint16_t minute, const char* number) {
    TestRecord r{};
    r.valueCount = 2;
    r.breakdownVoltage[0] = 450;
    r.breakdownVoltage[1] = static_cast<uint16_t>(400 + minute);
    r.testTime = SystemTime{2026, 12, 2, 1, 10, minute, 0, 0};
    std::strcpy(r.protocolText[0], number);
    return r;
}

void Archive(TestRecord r) { ASSERT_TRUE(ArchiveAppend(r)); }

void Amend(const TestRecord& newest, const char* number) {
    TestRecord texts = newest, amended;
    std::strcpy(texts.protocolText[0], number);
    MakeAmendment(newest, texts, 100, &amended);
    Archive(amended);
}

std::string Field() { return fake::ControlText(ui::Window::Main, IDC_FIRST_FIELD); }

class NumberTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        AddArchiveAppendedHook(ArchivedVersionAppended);
    }
    // The instrument ends a series measured at minute with the form's number.
    void EndSeries(uint16_t minute, const char* number) {
        fake::TypeText(ui::Window::Main, IDC_FIRST_FIELD, number);
        g_currentRecord = Series(minute, "");
        EndOfSeries();
    }
};

}  // namespace

TEST_F(NumberTest, ProposalFollowsTheNewestVersionOfTheEndedSeries) {
    const struct {
        std::vector<const char*> archived;  // other series' numbers, older
        const char* ended;                  // the number the series ended with
        const char* typed;                  // typed after the end (null: the proposal stays)
        const char* amended;                // the ended series' number mended to (null: not mended)
        const char* field;                  // what the field shows then
        const char* printedAs;              // the number a protocol of the ended series gets
    } cases[] = {
        {{}, "П-18/2026", nullptr, nullptr, "П-19/2026", "П-18/2026"},
        {{"П-19/2026", "П-20/2026"}, "П-18/2026", nullptr, nullptr, "П-21/2026", "П-18/2026"},
        {{"П-18/2026"}, "П-18/2026", nullptr, nullptr, "П-19/2026", "П-18/2026"},  // started on the keypad
        {{}, "П-18/2026", "П-18а/2026", "П-18а/2026", "П-19а/2026", "П-18а/2026"},  // mended in the main window
        {{}, "П-18/2026", nullptr, "П-18а/2026", "П-19а/2026", "П-18а/2026"},       // mended in the viewer
        {{"П-19а/2026"}, "П-18/2026", nullptr, "П-18а/2026", "П-20а/2026", "П-18а/2026"},
        {{}, "П-18/2026", "П-30/2026", "П-18а/2026", "П-30/2026", "П-30/2026"},     // the user's own number stays
        {{}, "Протокол", nullptr, nullptr, "Протокол", "Протокол"},
    };
    for (const auto& c : cases) {
        SetUp();
        uint16_t minute = 0;
        for (const char* number : c.archived) Archive(Series(minute++, number));
        EndSeries(30, c.ended);
        EXPECT_EQ(fake::FileBytes("log.dat").size(), (c.archived.size() + 1) * kArchiveGroupSize) << c.ended;
        if (c.typed) fake::TypeText(ui::Window::Main, IDC_FIRST_FIELD, c.typed);
        if (c.amended) Amend(g_currentRecord, c.amended);
        EXPECT_EQ(Field(), c.field) << c.ended << " / " << (c.amended ? c.amended : "");
        TestRecord printed{};
        std::strcpy(printed.protocolText[0], Field().c_str());
        KeepArchivedNumber(&printed);
        EXPECT_STREQ(printed.protocolText[0], c.printedAs) << c.field;
    }
}

TEST_F(NumberTest, StartAsksOnlyForANumberTheArchiveHolds) {
    const std::string question = "Протокол № п-18А/2026 уже есть в архиве (серия 01.12.2026 10:05). Продолжить?";
    const struct {
        const char* field;
        int answer;  // 0: the default one
        bool starts;
        std::string asked;
    } cases[] = {
        {"П-21/2026", 0, true, ""},
        {"", 0, true, ""},
        {"П-18/2026", 0, true, ""},  // mended away from the series that had it
        {" п-18А/2026 ", 0, false, question},
        {"п-18А/2026", ui::kAnswerYes, true, question},
        {"П-20/2026", ui::kAnswerNo, false, "Протокол № П-20/2026 уже есть в архиве (серия 01.12.2026 10:20). Продолжить?"},
    };
    for (const auto& c : cases) {
        SetUp();
        const TestRecord first = Series(5, "П-18/2026");
        Archive(first);
        Archive(Series(20, "П-20/2026"));
        Amend(first, "П-18а/2026");
        fake::TypeText(ui::Window::Main, IDC_FIRST_FIELD, c.field);
        if (c.answer) fake::QueueMessageBoxAnswer(c.answer);
        EXPECT_EQ(StartWithNumberConfirmed(), c.starts) << c.field;
        const auto boxes = fake::UiCallsOf("MessageBox");
        ASSERT_EQ(boxes.size(), c.asked.empty() ? 0u : 1u) << c.field;
        if (boxes.empty()) continue;
        EXPECT_EQ(boxes[0].text, c.asked);
        EXPECT_EQ(boxes[0].caption, "Внимание!");
        EXPECT_EQ(boxes[0].value, static_cast<int>(ui::kYesNo | ui::kIconQuestion | ui::kDefaultSecond));
    }
}
