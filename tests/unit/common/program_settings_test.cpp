// The settings file read and written, and the form texts and window taken back from the main window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/program_settings_window.h"
#include "common/program_settings.h"
#include "platform/fake/fake_platform.h"

namespace {

const std::string kFolder = "C:\\Users\\lab\\AppData\\Roaming\\ORLA-K200V";
const std::string kIni = kFolder + "\\ORLA-K200V.ini";

std::string IniText() {
    const auto& b = fake::FileBytes(kIni);
    return std::string(b.begin(), b.end());
}

void WriteIni(const std::string& text) {
    fake::CreatedFolders().push_back(kFolder);
    fake::FileBytes(kIni).assign(text.begin(), text.end());
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        std::memset(static_cast<void*>(&s), 0, sizeof s);
    }
    ProgramSettings s;
};

}  // namespace

TEST_F(SettingsStore, FirstStartCreatesFolderAndEmptyFileWithDefaults) {
    LoadProgramSettings(s);
    ASSERT_EQ(fake::CreatedFolders().size(), 1u);
    EXPECT_EQ(fake::CreatedFolders()[0], kFolder);
    EXPECT_EQ(fake::WorkingFolder(), kFolder);
    EXPECT_EQ(std::string(s.iniPath), kIni);
    EXPECT_TRUE(fake::FileExists(kIni));
    EXPECT_TRUE(IniText().empty());
    EXPECT_FALSE(s.serviceMode);
    EXPECT_EQ(s.windowX, 0);
    EXPECT_EQ(s.windowH, 0);
    EXPECT_STREQ(s.organisationName, "");
}

TEST_F(SettingsStore, FirstStartAsksForTheProgramSettings) {
    const struct { bool exists; const char* text; bool asks; } cases[] = {
        {false, "", true},  // never started here
        {true, "", true},   // made by a start that never got as far as writing it
        {true, "[Programm]\r\nFirstRun=1\r\n", true},
        {true, "[Programm]\r\nFirstRun=0\r\n", false},
    };
    for (const auto& c : cases) {
        fake::Reset();
        if (c.exists) WriteIni(c.text);
        LoadProgramSettings(s);
        EXPECT_EQ(s.firstRun, c.asks) << c.exists << " " << c.text;
    }
}

TEST_F(SettingsStore, ReadsValuesWithTheProfileRules) {
    WriteIni("[Programm]\r\nFirstRun=1\r\nDirektor =  \"Заведующий лабораторией\"  \r\n"
             "String3=  Трансформатор Т-2 \r\n[MainWnd]\r\nX=-32000\r\nY=12abc\r\nW=x\r\n");
    LoadProgramSettings(s);
    EXPECT_TRUE(s.firstRun);
    EXPECT_STREQ(s.direktor, "Заведующий лабораторией");
    EXPECT_STREQ(s.formText[3], "Трансформатор Т-2");
    EXPECT_EQ(s.windowX, -32000);
    EXPECT_EQ(s.windowY, 12);
    EXPECT_EQ(s.windowW, 0);
}

TEST_F(SettingsStore, ProgonkaModeNeedsServiceMode) {
    WriteIni("[Programm]\r\nServiceMode=0\r\nProgonkaMode=1\r\n");
    LoadProgramSettings(s);
    EXPECT_FALSE(s.progonkaMode);

    std::memset(static_cast<void*>(&s), 0, sizeof s);
    WriteIni("[Programm]\r\nServiceMode=1\r\nProgonkaMode=1\r\n");
    LoadProgramSettings(s);
    EXPECT_TRUE(s.serviceMode);
    EXPECT_TRUE(s.progonkaMode);
}

TEST_F(SettingsStore, OrganisationLineBreaksSurviveAsBlankAndLineFeed) {
    LoadProgramSettings(s);
    std::strcpy(s.organisationName, "ООО Энерго\r\nЛаборатория");
    SaveProgramSettings(s);
    EXPECT_NE(IniText().find("OrganisationName=ООО Энерго\xAE\x60Лаборатория"), std::string::npos);
    std::memset(static_cast<void*>(&s), 0, sizeof s);
    LoadProgramSettings(s);
    EXPECT_STREQ(s.organisationName, "ООО Энерго \nЛаборатория");

    // A tab that once got into the file is not printed again.
    WriteIni("[Programm]\r\nOrganisationName=\tООО Энерго\r\n");
    LoadProgramSettings(s);
    EXPECT_STREQ(s.organisationName, "ООО Энерго");
}

TEST_F(SettingsStore, SettingsThatCannotBeWrittenAreReportedNotLostSilently) {
    LoadProgramSettings(s);
    EXPECT_TRUE(SaveProgramSettings(s));
    fake::SetFileLocked(s.iniPath, true);
    EXPECT_FALSE(SaveProgramSettings(s));
}

TEST_F(SettingsStore, ExitWritesFormTextsRectangleAndClearsFirstRun) {
    WriteIni("[Programm]\r\nFirstRun=1\r\n");
    LoadProgramSettings(s);
    for (int i = 0; i < 13; ++i) fake::TypeText(ui::Window::Main, 140 + i, "поле " + std::to_string(i));
    fake::SetWindowRect(ui::Window::Main, -8, 20, 700, 620);
    SaveProgramSettings(s);
    std::string ini = IniText();
    EXPECT_NE(ini.find("FirstRun=0"), std::string::npos);
    for (int i = 0; i < 13; ++i)
        EXPECT_NE(ini.find("String" + std::to_string(i) + "=поле " + std::to_string(i) + "\r\n"), std::string::npos) << i;
    EXPECT_NE(ini.find("[MainWnd]\r\nX=-8\r\nY=20\r\nW=708\r\nH=600\r\n"), std::string::npos) << ini;

    std::memset(static_cast<void*>(&s), 0, sizeof s);
    LoadProgramSettings(s);
    EXPECT_FALSE(s.firstRun);
    EXPECT_STREQ(s.formText[12], "поле 12");
    EXPECT_EQ(s.windowW, 708);
}

TEST_F(SettingsStore, FormTextsGoBackIntoTheFields) {
    WriteIni("[Programm]\r\nString0=П-17\r\nString12=Иванов И. И.\r\n");
    LoadProgramSettings(s);
    RestoreFormText(s);
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 140), "П-17");
    EXPECT_EQ(fake::ControlText(ui::Window::Main, 152), "Иванов И. И.");
    EXPECT_EQ(fake::UiCallsOf("SetText").size(), 13u);
}

TEST_F(SettingsStore, NoApplicationDataFolderFallsBackToTheCurrentFolder) {
    fake::SetAppDataFolder("");
    LoadProgramSettings(s);
    EXPECT_EQ(std::string(s.iniPath), ".\\ORLA-K200V\\ORLA-K200V.ini");
    EXPECT_EQ(fake::WorkingFolder(), ".\\ORLA-K200V");
}

// Written while the program runs: through a temporary file, only when
// something changed, and never leaving the typed name encoded in memory.
TEST_F(SettingsStore, WritesDuringTheRunAreWholeAndOnlyWhenChanged) {
    WriteIni("[Programm]\r\nServiceMode=1\r\n");
    LoadProgramSettings(s);
    std::strcpy(s.organisationName, "ООО Энерго\r\nЛаборатория");
    ASSERT_TRUE(SaveProgramSettings(s));
    EXPECT_STREQ(s.organisationName, "ООО Энерго\r\nЛаборатория");
    EXPECT_NE(IniText().find("ServiceMode=1"), std::string::npos) << "keys the program never writes stay";
    EXPECT_FALSE(fake::FileExists(kIni + ".tmp"));

    // A hand edit of the file shows whether the next tick rewrote it.
    auto handEdit = [] {
        std::string ini = IniText();
        ini.replace(ini.find("Direktor="), 9, "Direktor=Рука");
        fake::FileBytes(kIni).assign(ini.begin(), ini.end());
    };
    struct Step {
        const char* typed;  // into field 140, or nullptr for no change
        bool tmpLocked;
        bool ok;
        const char* inFile;
    } steps[] = {
        {"12", false, true, "String0=12"},
        {nullptr, false, true, "Direktor=Рука"},  // nothing changed: not rewritten
        {"13", true, false, "String0=12"},        // no temporary file: the old file stays whole
        {nullptr, false, true, "String0=13"},     // the change is still pending and goes at the next tick
    };
    for (const Step& step : steps) {
        if (step.typed) fake::TypeText(ui::Window::Main, 140, step.typed);
        else if (!step.tmpLocked && std::string(step.inFile) == "Direktor=Рука") handEdit();
        fake::SetFileLocked(kIni + ".tmp", step.tmpLocked);
        EXPECT_EQ(SaveProgramSettingsIfChanged(s), step.ok) << step.inFile;
        EXPECT_NE(IniText().find(step.inFile), std::string::npos) << IniText();
    }
}

TEST(DropTabs, TabsNeverStay) {
    const struct { const char* typed; const char* kept; } cases[] = {
        {"\tООО Лаборатория", "ООО Лаборатория"},  // Tab pressed in the field before the name
        {"ООО\t\tЛаборатория\t", "ООО Лаборатория"},
        {"ООО \tЛаборатория", "ООО Лаборатория"},
        {"a\t\r\n\tb", "a\r\nb"},
    };
    for (const auto& c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.typed);
        DropTabs(text);
        EXPECT_EQ(std::string(text), c.kept) << c.typed;
    }
}
