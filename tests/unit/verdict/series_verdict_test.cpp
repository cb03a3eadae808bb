// Choosing the method and norm, judging a finished series, proposing a norm.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "verdict/method_choice.h"
#include "verdict/norms_editing.h"
#include "common/program_settings.h"
#include "app/resource_ids.h"
#include "verdict/series_verdict.h"
#include "verdict/verdict_view.h"
#include "platform/fake/fake_platform.h"
#include "results/archive.h"
#include "results/archive_lookup.h"
#include "results/statistics.h"

namespace {

constexpr int kStandardField = IDC_FIRST_FIELD + 2;
constexpr int kSourceField = IDC_FIRST_FIELD + 3;
const char kIecC[] = "IEC 60422:2024 табл. 5, масло в эксплуатации, категория C (до 72,5 кВ)";

DeviceSettings Settings(int count, int rate, int pause, bool delay) {
    DeviceSettings s{};
    s.countAndLift = static_cast<uint8_t>(count);
    s.pauseAndFlags = static_cast<uint8_t>(pause | (delay ? settings_bits::kPreTestDelay : 0) | settings_bits::kSound);
    s.riseRate = static_cast<uint16_t>(rate);
    s.maxVoltage = 1000;
    return s;
}

TestRecord IecSeries(uint16_t tenths, const char* source) {
    TestRecord r{};
    r.valueCount = 6;
    for (uint16_t& v : r.breakdownVoltage) v = tenths;
    r.settingsSnapshot = Settings(6, 20, 2, true);
    std::strcpy(r.protocolText[3], source);
    ComputeSeriesStatistics(r);
    return r;
}

class SeriesVerdictTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        std::memset(static_cast<void*>(&g_programSettings), 0, sizeof g_programSettings);
        std::strcpy(g_programSettings.iniPath, "C:\\data\\ORLA-K200V.ini");
        fake::CreatedFolders().push_back("C:\\data");
        g_normBook = ExampleNormBook();
        // No instrument, whatever a test before left in the device state;
        // the archive is the fake file system's.
        VerdictView view;
        view.deviceConnected = [] { return false; };
        view.lastJudgedSeriesOfSource = LastJudgedSeriesOfSource;
        SetVerdictView(view);
        ShowMethodAndNorms();
    }
    int Selected() { return ui::ComboSelection(ui::Window::Main, IDC_NORM_CHOICE); }
    void Choose(int item) {
        ui::ComboSelect(ui::Window::Main, IDC_NORM_CHOICE, item);
        NormChosen();
    }
};

}  // namespace

TEST(MethodChoiceTest, ListsFollowMethodsAndBack) {
    NormBook book;
    book.ownMethods.push_back({"Своя быстрая", kMethodOwn, 3, 50, 0, false, kDispersionNone, 0});
    struct Case {
        DeviceSettings settings;
        const char* preferred;
        const char* expected;  // the method's name, "" for "своя"
    } cases[] = {
        {Settings(6, 20, 5, true), "", "ГОСТ 6581-75"},
        {Settings(6, 20, 2, true), "", "IEC 60156"},
        {Settings(5, 5, 1, true), "", "ASTM D1816, зазор 2 мм"},
        {Settings(5, 5, 1, true), "ASTM D1816, зазор 1 мм", "ASTM D1816, зазор 1 мм"},
        {Settings(5, 5, 1, false), "ASTM D1816, зазор 1 мм", ""},
        {Settings(3, 50, 0, false), "", "Своя быстрая"},
        {Settings(6, 20, 3, true), "ГОСТ 6581-75", ""},
    };
    const size_t items = MethodListItems(book).size();
    EXPECT_EQ(MethodListItems(book).back(), kNoMethodItem);
    for (const Case& c : cases) {
        int item = MethodItemForSettings(book, c.settings, c.preferred);
        EXPECT_EQ(MethodOfItem(book, item), c.expected);
        if (!*c.expected) EXPECT_EQ(item, static_cast<int>(items) - 1);
        if (const TestMethod* m = FindMethod(book, c.expected))
            EXPECT_TRUE(SettingsMatchMethod(SettingsWithMethod(Settings(1, 10, 9, !m->preTestDelay), *m), *m));
    }
    std::string name;
    EXPECT_TRUE(StandardNameFollows("", "", "IEC 60156", &name));
    EXPECT_EQ(name, "IEC 60156");
    EXPECT_TRUE(StandardNameFollows("IEC 60156", "IEC 60156", "ГОСТ 6581-75", &name));
    EXPECT_FALSE(StandardNameFollows("ТУ 38.101", "IEC 60156", "ГОСТ 6581-75", &name));
    EXPECT_FALSE(StandardNameFollows("IEC 60156", "IEC 60156", "", &name));
}

// The method line compares with what the instrument reported only while the
// view says it is connected.
TEST_F(SeriesVerdictTest, TheMethodLineAsksTheViewForTheReportedSettings) {
    static bool connected = false;
    const struct {
        bool connected;
        const char* line;
    } cases[] = {
        {false, "Методика: IEC 60156"},
        {true, "Методика: IEC 60156 (параметры другие)"},
    };
    VerdictView view;
    view.deviceConnected = [] { return connected; };
    view.reportedSettings = [] { return Settings(6, 20, 5, true); };
    SetVerdictView(view);
    ChangeMethod("IEC 60156");
    for (const auto& c : cases) {
        connected = c.connected;
        ShowMethodAndNorms();
        EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VALUE_METHOD), c.line) << c.connected;
        EXPECT_EQ(MethodLineMarked(), c.connected);
    }
}

TEST_F(SeriesVerdictTest, AChosenMethodAndNormJudgeTheNextSeriesAndAreKept) {
    EXPECT_EQ(fake::ComboItems(ui::Window::Main, IDC_NORM_CHOICE), std::vector<std::string>{kNoNormItem});
    ChangeMethod("IEC 60156");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, kStandardField), "IEC 60156");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VALUE_METHOD), "Методика: IEC 60156");
    ShowMethodLine(Settings(6, 20, 5, true));
    EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VALUE_METHOD), "Методика: IEC 60156 (параметры другие)");
    EXPECT_TRUE(MethodLineMarked());
    ASSERT_EQ(fake::ComboItems(ui::Window::Main, IDC_NORM_CHOICE).size(), 5u);
    Choose(3);
    EXPECT_STREQ(g_programSettings.normName, kIecC);
    char saved[256];
    platform::ProfileGetString("Programm", "Norm", "", saved, sizeof saved, g_programSettings.iniPath);
    EXPECT_STREQ(saved, kIecC) << "written at once, not only at exit";
    ShowMethodAndNorms();
    EXPECT_EQ(Selected(), 3) << "a restart shows the norm chosen";

    TestRecord r = IecSeries(352, "Т-1");
    r.verdict = JudgeFinishedSeries(r);
    EXPECT_EQ(r.verdict.method, kMethodIec);
    EXPECT_EQ(r.verdict.normMinimum, 300);
    EXPECT_EQ(r.verdict.normGood, 400);
    EXPECT_EQ(r.verdict.verdict, kVerdictFair);
    ShowVerdict(r);
    EXPECT_EQ(ShownVerdict(), kVerdictFair);
    EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VERDICT), ConclusionText(r));
    ClearVerdict();
    EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VERDICT), "");

    // Another method: the norm no longer holds, the typed standard name stays.
    fake::TypeText(ui::Window::Main, kStandardField, "IEC 60156 (2018)");
    ChangeMethod("ГОСТ 6581-75");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, kStandardField), "IEC 60156 (2018)");
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(JudgeFinishedSeries(r).normMinimum, 0);
}

// The closed list cuts long names that begin alike; its tip says which one it is.
TEST_F(SeriesVerdictTest, TheNormListsTipHoldsTheWholeNameChosen) {
    ChangeMethod("IEC 60156");
    const struct { int item; std::string tip; } cases[] = {{3, kIecC}, {0, kNoNormItem}};
    for (const auto& c : cases) {
        Choose(c.item);
        EXPECT_EQ(fake::UiCallsOf("SetToolTip").back().text, c.tip) << c.item;
    }
    Choose(3);
    ShowMethodAndNorms();  // a restart: the tip comes with the list
    EXPECT_EQ(fake::UiCallsOf("SetToolTip").back().id, IDC_NORM_CHOICE);
    EXPECT_EQ(fake::UiCallsOf("SetToolTip").back().text, kIecC);
}

TEST_F(SeriesVerdictTest, TheNormLastUsedForASourceIsProposed) {
    ChangeMethod("IEC 60156");
    Choose(3);
    for (const char* source : {"Т-1", "Т-2"}) {
        TestRecord r = IecSeries(452, source);
        r.verdict = JudgeFinishedSeries(r);
        ASSERT_TRUE(ArchiveAppend(r));
    }
    TestRecord older = IecSeries(452, "Т-3");  // archived before series were judged
    ASSERT_TRUE(ArchiveAppend(older));
    Choose(0);
    for (const char* source : {"Т-3", "Т-9", ""}) {
        fake::TypeText(ui::Window::Main, kSourceField, source);
        ProposeNormForSource();
        EXPECT_EQ(Selected(), 0) << source;
    }
    fake::TypeText(ui::Window::Main, kSourceField, " Т-1 ");
    ProposeNormForSource();
    EXPECT_EQ(Selected(), 3);
    Choose(1);
    ProposeNormForSource();
    EXPECT_EQ(Selected(), 1) << "leaving the unchanged field keeps the user's pick";
}

TEST_F(SeriesVerdictTest, ARenamedOwnMethodKeepsTheChoiceItsNormAndTheStandardName) {
    g_normBook.ownMethods.push_back({"МИ-01", kMethodOwn, 6, 20, 5, true, kDispersionNone, 0});
    g_normBook.norms.push_back({"Норма ТК", "МИ-01", 450, 0});
    ChangeMethod("МИ-01");
    Choose(1);
    MethodFields renamed = FieldsOfMethod(g_normBook.ownMethods[0]);
    renamed.name = "МИ-02";
    ASSERT_EQ(PutMethod(&g_normBook, renamed, 0), "");
    FollowMethodRename("МИ-01", "МИ-02");
    ShowMethodAndNorms();
    EXPECT_EQ(fake::ControlText(ui::Window::Main, IDC_VALUE_METHOD) + "|" +
                  fake::ControlText(ui::Window::Main, kStandardField), "Методика: МИ-02|МИ-02");
    EXPECT_EQ(JudgeFinishedSeries(IecSeries(452, "Т-1")).normMinimum, 450) << "the norm stays chosen";
}
