// The link's contract: the end of a series asks the shell in its order; no shell, no window.
#include <string>
#include <vector>

#include "link/end_of_series.h"
#include "link/link_shell.h"
#include "tests/unit/link/link_fixture.h"

namespace {

std::vector<std::string> g_asked;

LinkShell RecordingShell() {
    LinkShell shell{};
    shell.takeFormTexts = [](TestRecord*) { g_asked.push_back("texts"); };
    shell.archiveEndedSeries = [](TestRecord&) { g_asked.push_back("archive"); };
    shell.serviceHistoryAddSeries = [](TestRecord&) { g_asked.push_back("history"); };
    shell.enableProtocolOutput = [](bool on) { g_asked.push_back(on ? "print on" : "print off"); };
    shell.updateServiceView = [](const void*, ServiceViewKind kind) {
        g_asked.push_back("service " + std::to_string(static_cast<int>(kind)));
    };
    return shell;
}

class LinkShellTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        g_asked.clear();
    }
    void TearDown() override {
        InstallLinkShell();
        LinkTest::TearDown();
    }
};

TEST_F(LinkShellTest, EndOfSeriesAsksTheShellInItsOrder) {
    SetLinkShell(RecordingShell());
    g_currentRecord.valueCount = 1;
    EndOfSeries();
    EXPECT_EQ(g_asked, (std::vector<std::string>{"texts", "archive", "history", "print on"}));
}

TEST_F(LinkShellTest, TheServiceViewHearsOnlyInServiceMode) {
    SetLinkShell(RecordingShell());
    const uint8_t status = 0;
    TellServiceView(&status, ServiceViewKind::StatusByte);
    g_programSettings.serviceMode = true;
    TellServiceView(&status, ServiceViewKind::StatusByte);
    EXPECT_EQ(g_asked, (std::vector<std::string>{"service 3"}));
}

TEST_F(LinkShellTest, WithoutAShellAnswersTouchNoWindow) {
    SetLinkShell(LinkShell{});
    g_programSettings.serviceMode = true;
    g_deviceState.protocolGeneration = 1;
    Parse(Gen1Answer(0x02, 0, std::vector<uint8_t>(20, 0)));
    Parse(Gen1Answer(0x00, 0, {'V', '2', '.', '1', '7', ' ', ' ', 'X'}));
    EXPECT_TRUE(fake::UiCalls().empty());
    EXPECT_STREQ(g_deviceState.deviceVersion, "V2.17  X");
}

}  // namespace
