// The printed protocol page: wrapping and where each text goes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/print_layout.h"
#include "tests/unit/protocol/protocol_fixture.h"

namespace {

// Ten pixels a character.
int TenPerChar(void*, const char*, int length) { return length * 10; }
const TextMeasure kMeasure = {TenPerChar, nullptr};

// A 1000 x 5000 page: pitch 100, value column 400 wide at x 550.
constexpr int kWidth = 1000, kHeight = 5000;

std::vector<PrintedText> Wrap(const std::string& text, int& line) {
    std::vector<PrintedText> page;
    PrintWrapped(page, kMeasure, text, 550, line, 100, 400);
    return page;
}

std::vector<std::string> Texts(const std::vector<PrintedText>& page) {
    std::vector<std::string> texts;
    for (const PrintedText& t : page) texts.push_back(t.text);
    return texts;
}

const PrintedText* Find(const std::vector<PrintedText>& page, const std::string& text) {
    for (const PrintedText& t : page)
        if (t.text == text) return &t;
    return nullptr;
}

int LineOf(const std::vector<PrintedText>& page, const std::string& text) {
    const PrintedText* t = Find(page, text);
    return t ? t->line : -1;
}

class ProtocolLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillSettings(settings);
        record = ProtocolRecord();
    }
    std::vector<PrintedText> Layout() { return LayoutProtocol(record, settings, kWidth, kHeight, kMeasure); }
    ProtocolIssuer settings;
    TestRecord record;
};

}  // namespace

TEST(PrintWrapped, ShortTextIsOneLine) {
    int line = 7;
    std::vector<PrintedText> page = Wrap("short", line);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0].x, 550);
    EXPECT_EQ(page[0].y, 700);
    EXPECT_EQ(line, 7);
}

TEST(PrintWrapped, BreaksAtTheLastFittingBlankWhichNoLineStartsWith) {
    const std::string a(25, 'a'), b(20, 'b'), c(30, 'c'), w(50, 'w'), word(60, 'w');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        // 25 + 1 + 20 chars: the pair is 46 wide, over 40.
        {a + " " + b + " " + c, {a, b, c}},
        // Exactly as wide as the column: not narrower, yet never over it either.
        {std::string(20, 'x') + " " + std::string(19, 'y'), {std::string(20, 'x') + " " + std::string(19, 'y')}},
        // A word too wide for the column goes out whole, on its own line.
        {word, {word}},
        {word + " tail", {word, "tail"}},
        {"head " + word, {"head", word}},
        {" " + w + " x", {" " + w, "x"}},
        {w + " ", {w}},
        // A number keeps its unit: the break goes to the blank before the number.
        {std::string(33, 'v') + " 47.0 кВ", {std::string(33, 'v'), "47.0 кВ"}},
        {"45.2 кВ, 47.0 кВ, 48.8 кВ, 51.3 кВ, 49.9 кВ", {"45.2 кВ, 47.0 кВ, 48.8 кВ, 51.3 кВ,", "49.9 кВ"}},
        // A blank before "кВ" that follows no number still breaks.
        {std::string(38, 'v') + " кВ", {std::string(38, 'v'), "кВ"}},
    };
    for (const auto& c : cases) {
        int line = 10;
        std::vector<PrintedText> page = Wrap(c.text, line);
        EXPECT_EQ(Texts(page), c.lines) << c.text;
        ASSERT_EQ(page.size(), c.lines.size()) << c.text;
        for (size_t i = 0; i < page.size(); ++i) EXPECT_EQ(page[i].y, 100 * (10 + static_cast<int>(i))) << c.text;
        EXPECT_EQ(line, 10 + static_cast<int>(c.lines.size()) - 1) << c.text;
    }
}

TEST_F(ProtocolLayoutTest, AmendedVersionTakesOneLineUnderTheTitle) {
    record.marks.amendment = 1;
    SetAmendedAt(record, 0);
    std::vector<PrintedText> page = Layout();
    EXPECT_EQ(LineOf(page, "Изменение №1 от 1.1.2000 0:00"), 7);
    EXPECT_EQ(Find(page, "Изменение №1 от 1.1.2000 0:00")->x, 400);
    EXPECT_EQ(LineOf(page, "1. Основные данные"), 8);
}

TEST_F(ProtocolLayoutTest, TwoLineHeaderThenTitleAndSections) {
    std::vector<PrintedText> page = Layout();
    EXPECT_EQ(LineOf(page, "ООО Лаборатория"), 3);
    EXPECT_EQ(LineOf(page, "г. Тверь"), 4);
    EXPECT_EQ(Find(page, "г. Тверь")->x, 500);
    EXPECT_EQ(LineOf(page, "Протокол №12"), 6);
    EXPECT_EQ(Find(page, "Протокол №12")->x, 400);
    EXPECT_EQ(LineOf(page, "1. Основные данные"), 7);
    EXPECT_EQ(Find(page, "1. Основные данные")->x, 100);
    EXPECT_EQ(LineOf(page, "1.1. Наименование испытываемого материала"), 8);
    EXPECT_EQ(LineOf(page, "Масло ГК"), 8);
    EXPECT_EQ(Find(page, "Масло ГК")->x, 550);
    EXPECT_EQ(LineOf(page, "1.9. Измерительная установка"), 16);
    EXPECT_EQ(LineOf(page, "ОРЛА-К200В заводской номер 0042"), 16);
    EXPECT_EQ(LineOf(page, "2.1. Температура помещения"), 18);
    EXPECT_EQ(LineOf(page, "22 °C"), 18);
    EXPECT_EQ(LineOf(page, "3. Результаты испытания"), 20);
    EXPECT_EQ(LineOf(page, "45.2 кВ, 47.0 кВ, 50.1 кВ"), 21);
    EXPECT_EQ(LineOf(page, "47.4 кВ"), 22);
    EXPECT_EQ(LineOf(page, "1.4 кВ"), 23);
    EXPECT_EQ(LineOf(page, "Испытания произвел"), 26);
    EXPECT_EQ(LineOf(page, "Инженер"), 26);
    EXPECT_EQ(Find(page, "Инженер")->x, 700);
    EXPECT_EQ(LineOf(page, "Петров П.П."), 27);
    EXPECT_EQ(LineOf(page, "Начальник лаборатории"), 30);
    EXPECT_EQ(Find(page, "Начальник лаборатории")->x, 150);
    EXPECT_EQ(LineOf(page, "Иванов И.И."), 30);
    EXPECT_EQ(Find(page, "Иванов И.И.")->y, 3000);
}

TEST_F(ProtocolLayoutTest, EmptyOrganisationStillTakesOneLine) {
    settings.organisationName[0] = '\0';
    EXPECT_EQ(LineOf(Layout(), "Протокол №12"), 5);
    std::strcpy(settings.organisationName, "A\nB\r\n\r\nC");  // bare LF counts, CR ends a line
    std::vector<PrintedText> page = Layout();
    EXPECT_EQ(LineOf(page, "C"), 6);
    EXPECT_EQ(LineOf(page, "Протокол №12"), 8);
}

TEST_F(ProtocolLayoutTest, WrappedValuePushesTheNextLabelDown) {
    std::strcpy(record.protocolText[1], "Масло трансформаторное марки ГК из бака номер два");
    std::vector<PrintedText> page = Layout();
    EXPECT_EQ(LineOf(page, "Масло трансформаторное марки ГК из бака"), 8);
    EXPECT_EQ(LineOf(page, "номер два"), 9);
    EXPECT_EQ(LineOf(page, "1.2. Наименование стандарта"), 10);
}

TEST_F(ProtocolLayoutTest, VoltagesWithoutBreakdownAndEmptyList) {
    record.breakdownVoltage[2] = kNoBreakdownBit + 1000;
    record.meanVoltage = kNoBreakdownBit + 1;
    record.boundVoltage = 1000;
    std::vector<PrintedText> page = Layout();
    EXPECT_EQ(LineOf(page, "45.2 кВ, 47.0 кВ, >100 кВ"), 21);
    EXPECT_EQ(LineOf(page, ">100 кВ"), 22);

    record.valueCount = 0;
    page = Layout();
    const PrintedText* label = Find(page, "3.1. Пробивные напряжения");
    ASSERT_NE(label, nullptr);
    const PrintedText& value = *(label + 1);
    EXPECT_EQ(value.text, "");
    EXPECT_EQ(value.line, label->line);
}

// 80 characters to the 800-pixel text width: two lines, signatures below them.
TEST_F(ProtocolLayoutTest, ConclusionWrapsAcrossTheTextWidthAndPushesTheSignatures) {
    record = JudgedProtocolRecord();
    std::vector<PrintedText> page = Layout();
    std::string joined;
    for (const PrintedText& t : page)
        if (t.line >= 25 && t.line <= 26 && t.x == 150) joined += (joined.empty() ? "" : " ") + t.text;
    EXPECT_EQ(joined, std::string("Заключение: ") + kJudgedConclusion);
    EXPECT_EQ(LineOf(page, "Испытания произвел"), 29);
}

TEST_F(ProtocolLayoutTest, DirectorTextIsPlain) {
    std::strcpy(settings.direktor, "Зав. 100% %s %d");
    EXPECT_EQ(LineOf(Layout(), "Зав. 100% %s %d"), 30);
}

TEST(ProtocolPage, PitchAndFontFromPageHeight) {
    EXPECT_EQ(ProtocolLinePitch(6774), 135);
    EXPECT_EQ(ProtocolFontHeight(6774), 96);
}

TEST_F(ProtocolLayoutTest, PagesEachEndWithTheirNumberAndTheLastWithTheEnd) {
    std::string longHeader = "ООО Лаборатория";
    for (int k = 0; k < 20; ++k) longHeader += "\nотдел " + std::to_string(k);
    const struct {
        const char* name;
        std::string organisation;
        ProtocolNotes notes;
        std::vector<std::string> footers;
        int endPage, endLine;  // where "Конец протокола" goes
        int draftLine, dateLine;  // -1: not on the page
    } cases[] = {
        {"one page", "ООО Лаборатория", {}, {"Протокол № 12, изм. 0 — стр. 1 из 1"}, 0, 31, -1, -1},
        {"draft under the title", "ООО Лаборатория", {"", "", true}, {"Протокол № 12, изм. 0 — стр. 1 из 1"}, 0, 32,
         6, -1},
        {"approval date under the name", "ООО Лаборатория", {"", "«09» декабря 2026 г.", false},
         {"Протокол № 12, изм. 0 — стр. 1 из 1"}, 0, 32, -1, 30},
        // Header lines 3..23: the director's line (49) goes to the next page's line 5.
        {"two pages", longHeader, {}, {"Протокол № 12, изм. 0 — стр. 1 из 2", "Протокол № 12, изм. 0 — стр. 2 из 2"},
         1, 7, -1, -1},
    };
    for (const auto& c : cases) {
        std::memset(settings.organisationName, 0, sizeof settings.organisationName);
        std::strcpy(settings.organisationName, c.organisation.c_str());
        const std::vector<PrintedPage> pages = LayoutProtocolPages(record, settings, c.notes, kWidth, kHeight, kMeasure);
        ASSERT_EQ(pages.size(), c.footers.size()) << c.name;
        for (size_t p = 0; p < pages.size(); ++p) {
            const PrintedText* footer = Find(pages[p], c.footers[p]);
            ASSERT_NE(footer, nullptr) << c.name << " page " << p;
            EXPECT_EQ(footer->y, 4900) << c.name;  // the page's last line
            EXPECT_EQ(footer->x, (kWidth - 10 * static_cast<int>(c.footers[p].size())) / 2) << c.name;
            for (const PrintedText& t : pages[p])
                if (&t != footer) EXPECT_LT(t.line, 47) << c.name << ": " << t.text;
            EXPECT_EQ(LineOf(pages[p], "Конец протокола"), static_cast<int>(p) == c.endPage ? c.endLine : -1)
                << c.name;
        }
        EXPECT_EQ(LineOf(pages[0], "ПРОЕКТ"), c.draftLine) << c.name;
        EXPECT_EQ(LineOf(pages[0], "«09» декабря 2026 г."), c.dateLine) << c.name;
    }
}
