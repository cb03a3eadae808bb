// The register's listeners: which appended records are journaled, the archive moved aside, the user told once.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/journal_hooks.h"
#include "journal/journal_events.h"
#include "platform/fake/fake_platform.h"
#include "results/archive.h"
#include "results/archive_aside.h"
#include "results/archive_csv.h"

namespace {

const char* const kTester = "Иванов И.И.";

std::vector<JournalLine> RegisterLines() {
    if (!fake::FileExists(kJournalFileName)) return {};
    const std::vector<uint8_t>& bytes = fake::FileBytes(kJournalFileName);
    return JournalParse(std::string(bytes.begin(), bytes.end())).lines;
}

int StartedBoxes() {
    int boxes = 0;
    for (const fake::UiCall& call : fake::UiCalls())
        if (call.op == "PostMessageBox" && call.text == kJournalStartedText) ++boxes;
    return boxes;
}

// The hooks installed and nothing left queued from other tests' appends.
void FreshDataFolder() {
    InstallJournalHooks();
    JournalWriteQueued();
    fake::Reset();
}

TestRecord Record(uint16_t amendment, uint8_t origin) {
    TestRecord r{};
    r.testTime = SystemTime{2026, 4, 4, 30, 9, 5, 7, 0};
    std::strcpy(r.protocolText[0], "П-17");
    std::strcpy(r.protocolText[kProtocolTextCount - 1], kTester);
    r.marks.amendment = amendment;
    r.marks.origin = origin;
    return r;
}

}  // namespace

TEST(JournalHooks, SeriesAndImportAreJournaledAmendmentsAreNot) {
    struct Case { const char* what; uint16_t amendment; uint8_t origin; const char* event; };
    const Case cases[] = {
        {"archived series", 0, 0, "series"},
        {"from the instrument's memory", 0, origin_bits::kFromInstrumentMemory, "import"},
        {"amendment", 1, 0, nullptr},
        {"amendment of an import", 2, origin_bits::kFromInstrumentMemory, nullptr},
    };
    for (const Case& c : cases) {
        FreshDataFolder();
        TestRecord record = Record(c.amendment, c.origin);
        uint32_t error = 0;
        for (int twice = 0; twice < 2; ++twice) ASSERT_TRUE(ArchiveAppendOnce(record, &error)) << c.what;
        JournalWriteQueued();
        const std::vector<JournalLine> lines = RegisterLines();
        if (!c.event) {
            EXPECT_TRUE(lines.empty()) << c.what;
            EXPECT_EQ(StartedBoxes(), 0) << c.what;
            continue;
        }
        ASSERT_EQ(lines.size(), 3u) << c.what;
        EXPECT_EQ(lines[0].fields[kJournalEventField], "journal_start") << c.what;
        for (size_t i = 1; i < 3; ++i) {
            EXPECT_EQ(lines[i].fields[kJournalEventField], c.event) << c.what;
            EXPECT_EQ(lines[i].fields[kJournalRecordField], JournalRecordSha256(record)) << c.what;
            EXPECT_EQ(lines[i].fields[7], Cp1251ToUtf8(kTester, std::strlen(kTester))) << c.what;  // person
        }
        EXPECT_EQ(StartedBoxes(), 1) << c.what;
    }
}

TEST(JournalHooks, ArchiveAsideNamesTheMovedFileAndItsHash) {
    struct Case { const char* what; std::string archive; const char* sha256; };
    const Case cases[] = {
        {"empty archive", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"three bytes", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    };
    const SystemTime at{2026, 5, 2, 5, 14, 30, 15, 0};
    for (const Case& c : cases) {
        FreshDataFolder();
        fake::FileBytes(kArchiveFileName).assign(c.archive.begin(), c.archive.end());
        const ArchiveAsideResult aside = ArchiveMoveAside(at);
        ASSERT_TRUE(aside.moved) << c.what;
        JournalWriteQueued();
        const std::vector<JournalLine> lines = RegisterLines();
        ASSERT_EQ(lines.size(), 2u) << c.what;
        const std::vector<std::string>& f = lines[1].fields;
        EXPECT_EQ(f[kJournalEventField], "archive_aside") << c.what;
        EXPECT_EQ(f[8], "log-20260505-143015.dat") << c.what;
        EXPECT_EQ(f[kJournalRecordField], c.sha256) << c.what;
        EXPECT_EQ(f[3] + f[4] + f[5], "") << c.what;  // no test time, protocol number or version
    }
}
