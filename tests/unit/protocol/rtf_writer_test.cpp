// The protocol RTF: key replacement, group balance and the files it reads and writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "protocol/rtf_writer.h"
#include "protocol/voltage_text.h"
#include "tests/unit/protocol/protocol_fixture.h"

namespace {

std::string Escaped(const std::string& value) {
    std::string out;
    RtfEscape(out, value);
    return out;
}

const char kTemplate[] = "C:\\data\\template.rtf";
// Names the file and what brings a good one back.
const char kDamaged[] =
    "Файл template.rtf поврежден:\nC:\\data\\template.rtf\nУдалите этот файл: при следующем сохранении "
    "протокола на его место будет скопирован шаблон из папки установки.";
const char kOutput[] = "C:\\out\\p.rtf";

class RtfFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        platform::CreateFolder("C:\\out");
        FillSettings(settings);
        record = ProtocolRecord();
    }
    void PutTemplate(const std::string& bytes) { fake::FileBytes(kTemplate).assign(bytes.begin(), bytes.end()); }
    std::string Output() {
        const std::vector<uint8_t>& b = fake::FileBytes(kOutput);
        return std::string(b.begin(), b.end());
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const fake::UiCall& c : fake::UiCallsOf("MessageBox")) {
            EXPECT_EQ(c.caption, "Ошибка!");
            EXPECT_EQ(c.window, ui::Window::Main);
            EXPECT_EQ(c.value, 0x10);
            texts.push_back(c.text);
        }
        return texts;
    }
    ProtocolIssuer settings;
    TestRecord record;
};

}  // namespace

TEST(RtfEscape, EveryByteBecomesLowerCaseHex) {
    EXPECT_EQ(Escaped("12 кВ"), "\\'31\\'32\\'20\\'ea\\'c2");
    EXPECT_EQ(Escaped("AZ\r\n\xFF"), "\\'41\\'5a\\'0d\\'0a\\'ff");
    std::string appended = "x";
    RtfEscape(appended, std::string("a\0b", 3));  // stops at a zero byte
    EXPECT_EQ(appended, "x\\'61");
}

TEST(ReplacePlaceholder, ReplacesEveryOccurrenceAndKeepsTheRest) {
    std::string text = "{PROTOKOLNUM} and PROTOKOLNUM; protokolnum PROTOKOLNU";
    ReplacePlaceholder(text, "PROTOKOLNUM", "12");
    EXPECT_EQ(text, "{\\'31\\'32} and \\'31\\'32; protokolnum PROTOKOLNU");

    std::string empty = "a TISP b TISPTISP";
    ReplacePlaceholder(empty, "TISP", "");
    EXPECT_EQ(empty, "a  b ");

    std::string absent = "nothing here";
    ReplacePlaceholder(absent, "ULIST", "1");
    EXPECT_EQ(absent, "nothing here");
}

// A removed key can join its neighbours into a new one; searching again from
// the start removes that too, and so must the one-pass fill.
TEST(ReplacePlaceholder, KeysJoinedByARemovalAreRemovedToo) {
    const struct {
        const char* text;
        const char* key;
        const char* expected;
    } cases[] = {
        {"TISTISPP", "TISP", ""},
        {"<TITISPSTISPP>", "TISP", "<>"},
        {"ULISULISTTT ULIST", "ULIST", "T "},
        {"TISP TITISPP", "TISP", " TIP"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        ReplacePlaceholder(text, c.key, "");
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

// Ten megabytes of a template full of keys, as a template pasted together
// from many protocols would be: the fill must stay linear (the repeated
// search from the start took hours here).
TEST(ReplacePlaceholder, ManyKeysInALargeTemplateTakeLinearTime) {
    std::string text;
    const std::string unit = "{\\b TISP} ULIST text text text text\\par\n";
    while (text.size() < 10u * 1024 * 1024) text += unit;
    const size_t units = text.size() / unit.size();
    ReplacePlaceholder(text, "TISP", "21");
    ReplacePlaceholder(text, "ULIST", "");
    EXPECT_EQ(text.find("TISP"), std::string::npos);
    EXPECT_EQ(text.find("ULIST"), std::string::npos);
    EXPECT_EQ(text.size(), units * (unit.size() - 4 + 8 - 5));
}

TEST(ReplacePlaceholder, GrowsPastAnyFixedReserve) {
    // Every key replaced by a 1023-byte value quadruples: far beyond the
    // template size plus 42240 that a fixed buffer would hold.
    std::string text;
    for (int i = 0; i < 100; ++i) text += "ORGNAME ";
    ReplacePlaceholder(text, "ORGNAME", std::string(1023, 'x'));
    EXPECT_EQ(text.size(), 100u * (1023 * 4 + 1));
}

TEST(VoltageTexts, ListMeanAndErrorIncludingNoBreakdown) {
    TestRecord r = ProtocolRecord();
    EXPECT_EQ(VoltageListText(r), "45.2 кВ, 47.0 кВ, 50.1 кВ");
    r.valueCount = 1;
    EXPECT_EQ(VoltageListText(r), "45.2 кВ");
    r.valueCount = 0;
    EXPECT_EQ(VoltageListText(r), "");
    r.valueCount = 200;  // damaged record: never read past the six slots
    EXPECT_EQ(VoltageListText(r), "45.2 кВ, 47.0 кВ, 50.1 кВ, >1966 кВ, >1966 кВ, >1966 кВ");

    r.valueCount = 2;
    r.breakdownVoltage[1] = kNoBreakdownBit + 1000;
    EXPECT_EQ(VoltageListText(r), "45.2 кВ, >100 кВ");
    EXPECT_EQ(MeanVoltageText(r), "47.4 кВ");
    r.meanVoltage = kNoBreakdownBit + 3;
    r.boundVoltage = 1000;
    EXPECT_EQ(MeanVoltageText(r), ">100 кВ");
    EXPECT_EQ(RmsErrorText(r), "1.4 кВ");
    EXPECT_EQ(InstrumentText("0042"), "ОРЛА-К200В заводской номер 0042");
}

TEST(FillProtocolTemplate, AllKeysInTheirOrder) {
    ProtocolIssuer settings;
    FillSettings(settings);
    TestRecord r = ProtocolRecord();
    std::string text =
        "PROTOKOLNUM|MATERIALNAME|STANDARTNAME|MATERIALSTORAGE|MATERIALDATE|MATERIALAPPEARANCE|"
        "MATERIALT|TISP|HUMIDITY|MATERIALPREPARATION|ISPDATE|TESTER|TESTENAME|ORGNAME|DIREKTOR|"
        "DIREKTONAME|ORLANAME|ULIST|USREDNEE|USQERROR|ZAKLUCHENIE";
    FillProtocolTemplate(text, r, settings);
    std::string expected;
    const char* values[] = {"12", "Масло ГК", "ГОСТ 6581-75", "Трансформатор Т-1", "1 мая 2026 г.",
                            "Прозрачное", "20 °C", "22 °C", "45 %", "Отстой 30 мин", "2 мая 2026 г.",
                            "Инженер", "Петров П.П.", "ООО Лаборатория\r\nг. Тверь",
                            "Начальник лаборатории", "Иванов И.И.", "ОРЛА-К200В заводской номер 0042",
                            "45.2 кВ, 47.0 кВ, 50.1 кВ", "47.4 кВ", "1.4 кВ", ""};
    for (const char* v : values) {
        if (!expected.empty()) expected += '|';
        RtfEscape(expected, v);
    }
    EXPECT_EQ(text, expected);
    // Not judged above: empty. A judged series brings its stored conclusion.
    std::string judged = "<ZAKLUCHENIE>";
    FillProtocolTemplate(judged, JudgedProtocolRecord(), settings);
    EXPECT_EQ(judged, "<" + Escaped(kJudgedConclusion) + ">");
    // Empty for the original; a mended version names itself.
    std::string note = "<IZMENENIE>";
    FillProtocolTemplate(note, r, settings);
    EXPECT_EQ(note, "<>");
    r.marks.amendment = 2;
    SetAmendedAt(r, 86400 * 365 + 3600);  // 31.12.2000 1:00, 2000 being a leap year
    note = "<IZMENENIE>";
    FillProtocolTemplate(note, r, settings);
    EXPECT_EQ(note, "<" + Escaped("Изменение №2 от 31.12.2000 1:00") + ">");
}

TEST(FillProtocolTemplate, RegisterNotesFillTheirKeysAndOldTemplatesStayAsTheyWere) {
    ProtocolIssuer settings;
    FillSettings(settings);
    TestRecord r = ProtocolRecord();
    r.marks.amendment = 1;
    SetAmendedAt(r, 0);
    const ProtocolNotes none, approved{"опечатка", "«09» декабря 2026 г.", false}, draft{"опечатка", "", true};
    const std::string mark = "{\\pard\\qc\\b " + Escaped("ПРОЕКТ") + "\\par}";
    const std::string oldTitle = "{\\pard\\qc \\'cf PROTOKOLNUM\\b0\\par \\pard IZMENENIE\\par}";
    const struct {
        const char* name;
        std::string text;
        ProtocolNotes notes;
        std::string filled;
    } cases[] = {
        {"date not approved: blanks", "<UTVDATE>", none, "<" + Escaped(kBlankApprovalDate) + ">"},
        {"date approved", "<UTVDATE>", approved, "<" + Escaped("«09» декабря 2026 г.") + ">"},
        {"reason after the amendment", "<IZMENENIE>", approved,
         "<" + Escaped("Изменение №1 от 1.1.2000 0:00. Причина: опечатка") + ">"},
        {"no reason known", "<IZMENENIE>", none, "<" + Escaped("Изменение №1 от 1.1.2000 0:00") + ">"},
        {"draft mark", "<PROEKT>", draft, "<" + Escaped("ПРОЕКТ") + ">"},
        {"no draft: empty", "<PROEKT>", approved, "<>"},
        {"old template approved: its blanks kept", "\\'ab____\\'bb 20___", approved, "\\'ab____\\'bb 20___"},
        {"old template draft: mark after the title", oldTitle, draft,
         "{\\pard\\qc \\'cf " + Escaped("12") + "\\b0\\par " + mark + "\\pard " +
             Escaped("Изменение №1 от 1.1.2000 0:00. Причина: опечатка") + "\\par}"},
        {"old template, title in a table: no mark", "\\intbl PROTOKOLNUM\\cell\\row\\par", draft,
         "\\intbl " + Escaped("12") + "\\cell\\row\\par"},
        {"old template without a title", "{\\par}", draft, "{\\par}"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        FillProtocolTemplate(text, r, settings, c.notes);
        EXPECT_EQ(text, c.filled) << c.name;
        EXPECT_TRUE(RtfGroupsBalanced(text)) << c.name;
    }
}

TEST(FillProtocolTemplate, TextWithoutTerminatorStopsAtItsSlot) {
    ProtocolIssuer settings;
    FillSettings(settings);
    TestRecord r = ProtocolRecord();
    std::memset(r.protocolText[0], 'A', kProtocolTextSize);  // no terminator at all
    std::string text = "PROTOKOLNUM";
    FillProtocolTemplate(text, r, settings);
    EXPECT_EQ(text.size(), 256u * 4);
}

TEST_F(RtfFileTest, WritesTheFilledTextAndOneZeroByte) {
    PutTemplate("{\\rtf1 No PROTOKOLNUM: ULIST}");
    fake::FileBytes(kOutput).assign(5000, 'z');  // an older, longer file is replaced
    ASSERT_TRUE(WriteProtocolRtf(kTemplate, kOutput, record, settings));
    std::string expected = "{\\rtf1 No \\'31\\'32: ";
    RtfEscape(expected, "45.2 кВ, 47.0 кВ, 50.1 кВ");
    expected += '}';
    expected += '\0';
    EXPECT_EQ(Output(), expected);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RtfFileTest, ZeroByteInTheTemplateEndsTheText) {
    PutTemplate(std::string("A PROTOKOLNUM\0B PROTOKOLNUM", 27));
    ASSERT_TRUE(WriteProtocolRtf(kTemplate, kOutput, record, settings));
    EXPECT_EQ(Output(), std::string("A \\'31\\'32\0", 11));
}

TEST_F(RtfFileTest, MissingOrEmptyTemplateCreatesNoFile) {
    EXPECT_FALSE(WriteProtocolRtf(kTemplate, kOutput, record, settings));
    PutTemplate("");
    EXPECT_FALSE(WriteProtocolRtf(kTemplate, kOutput, record, settings));
    EXPECT_FALSE(fake::FileExists(kOutput));
    std::vector<std::string> expected = {"Файл template.rtf не найден.\n Переустановите приложение.",
                                         kDamaged};
    EXPECT_EQ(Messages(), expected);
}

// A template whose groups do not match ends early or never in every reader:
// refused as damaged, nothing written.
TEST_F(RtfFileTest, UnbalancedBracesAreADamagedTemplate) {
    const struct {
        std::string text;
        bool balanced;
    } cases[] = {
        {"{\\rtf1 {\\b ULIST}\\par}\r\n", true},
        {"{\\rtf1 ULIST}\x1A", true},
        {"{\\rtf1 \\{ULIST\\} \\\\}", true},
        {"{\\rtf1 {\\pict\\bin3 }{}}}", true},  // three raw bytes, then two closings
        {"PROTOKOLNUM without any group", true},
        {"{\\rtf1 {\\b ULIST\\par}", false},
        {"{\\rtf1 ULIST}}\\par TISP}", false},
        {"{\\rtf1 ORGNAME} TISP", false},
        {"}{\\rtf1 ULIST}", false},
        {"{\\rtf1 {\\pict\\bin99 }}", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RtfGroupsBalanced(c.text), c.balanced);
        fake::ClearUiCalls();
        const std::string output = "C:\\out\\p" + std::to_string(++n) + ".rtf";
        PutTemplate(c.text);
        EXPECT_EQ(WriteProtocolRtf(kTemplate, output.c_str(), record, settings), c.balanced);
        EXPECT_EQ(fake::FileExists(output), c.balanced);
        if (!c.balanced)
            EXPECT_EQ(Messages(), std::vector<std::string>{kDamaged});
    }
}

TEST_F(RtfFileTest, UnwritableOutputIsReported) {
    PutTemplate("PROTOKOLNUM");
    fake::SetFileLocked(kOutput, true);
    EXPECT_FALSE(WriteProtocolRtf(kTemplate, kOutput, record, settings));
    fake::SetFileLocked(kOutput, false);
    fake::FailNextWrites(1, platform::kErrorDiskFull);
    EXPECT_FALSE(WriteProtocolRtf(kTemplate, kOutput, record, settings));
    EXPECT_FALSE(WriteProtocolRtf(kTemplate, "C:\\no such folder\\p.rtf", record, settings));
    const std::vector<std::string> expected = {"Ошибка сохранения файла: файл занят другой программой.",
                                               "Ошибка сохранения файла: на диске нет места.",
                                               "Ошибка сохранения файла: папка не найдена."};
    EXPECT_EQ(Messages(), expected);
}

TEST_F(RtfFileTest, SavingOverTheTemplateIsRefused) {
    PutTemplate("{\\rtf1 PROTOKOLNUM}");
    std::vector<uint8_t> before = fake::FileBytes(kTemplate);
    std::string upper = kTemplate;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string slashed = kTemplate;
    for (char& c : slashed) if (c == '\\') c = '/';
    for (const std::string& name : {std::string(kTemplate), upper, slashed}) {
        EXPECT_FALSE(WriteProtocolRtf(kTemplate, name.c_str(), record, settings)) << name;
        EXPECT_EQ(fake::FileBytes(kTemplate), before) << name;
    }
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_NE(Messages()[0].find("template.rtf"), std::string::npos);
}

TEST_F(RtfFileTest, TemplatePathUnderTheApplicationData) {
    fake::SetAppDataFolder("C:\\Users\\lab\\AppData\\Roaming");
    EXPECT_EQ(ProtocolTemplatePath(), "C:\\Users\\lab\\AppData\\Roaming\\ORLA-K200V\\template.rtf");
    fake::SetAppDataFolder("");
    EXPECT_EQ(ProtocolTemplatePath(), "");
}
