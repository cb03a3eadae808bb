// Approvals read from the register for the archive viewer, and the approval dialog's texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "journal/approval_texts.h"
#include "journal/journal.h"
#include "journal/journal_query.h"

namespace {

const SystemTime kNow = {2026, 5, 5, 1, 10, 0, 0, 0};
const SystemTime kTest = {2026, 4, 4, 30, 9, 5, 7, 0};
const SystemTime kOtherTest = {2026, 4, 4, 30, 9, 6, 0, 0};

TestRecord Version(const SystemTime& testTime, int amendment) {
    TestRecord r{};
    std::strcpy(r.protocolText[0], "П-17");
    r.testTime = testTime;
    r.marks.amendment = static_cast<uint16_t>(amendment);
    return r;
}

struct Event {
    JournalEvent event;
    TestRecord version;
    const char* person;
    const char* position;
};

// The register's lines as JournalAppend writes them, read back.
JournalFile Register(const std::vector<Event>& events) {
    std::string bytes, chain = JournalFirstChain();
    uint64_t seq = 0;
    for (const Event& e : events) {
        JournalEntry entry = e.event == JournalEvent::Approve ? JournalApprovalEntry(e.version, e.person, e.position)
                                                               : JournalEntryOfRecord(e.event, e.version);
        entry.account = "lab";
        const std::string line = JournalFormatLine(entry, ++seq, kNow, chain);
        chain = JournalParse(line).lines[0].fields[kJournalChainField];
        bytes += line;
    }
    return JournalParse(bytes);
}

}  // namespace

// An approval holds for the very version it names: an amendment after it is
// a version not approved; the newest approval of a version wins.
TEST(JournalApprovals, LookupOfEachVersion) {
    const Event approve0{JournalEvent::Approve, Version(kTest, 0), "Петров П.П.", "Начальник лаборатории"};
    const Event again0{JournalEvent::Approve, Version(kTest, 0), "Сидоров С.С.", ""};
    const Event amend1{JournalEvent::Amend, Version(kTest, 1), "", ""};
    struct Case {
        const char* what;
        std::vector<Event> events;
        SystemTime testTime;
        int version;
        const char* approver;  // nullptr: not approved
        const char* position;
    };
    const Case cases[] = {
        {"no register", {}, kTest, 0, nullptr, ""},
        {"the version approved", {approve0}, kTest, 0, "Петров П.П.", "Начальник лаборатории"},
        {"then amended: the original stays approved", {approve0, amend1}, kTest, 0, "Петров П.П.", "Начальник лаборатории"},
        {"the amendment is not", {approve0, amend1}, kTest, 1, nullptr, ""},
        {"another series is not", {approve0}, kOtherTest, 0, nullptr, ""},
        {"approved again: the newest wins", {approve0, again0}, kTest, 0, "Сидоров С.С.", ""},
    };
    for (const Case& c : cases) {
        const ApprovalLookup lookup = JournalApprovalLookup(Register(c.events));
        VersionApproval a;
        ASSERT_EQ(lookup(c.testTime, c.version, &a), c.approver != nullptr) << c.what;
        if (!c.approver) continue;
        EXPECT_EQ(a.approver, c.approver) << c.what;
        EXPECT_EQ(a.position, c.position) << c.what;
        EXPECT_EQ(a.date, "01.05.2026") << c.what;
        EXPECT_EQ(JournalNotesIn(Register(c.events), c.testTime, c.version).approver, c.approver) << c.what;
    }
}

TEST(ApprovalTexts, WhatTheDialogShows) {
    TestRecord r = Version(kTest, 0);
    EXPECT_EQ(ApprovalSeriesText(r), "П-17 от 30.04.2026");
    EXPECT_EQ(ApprovalConclusionText(r), "не вынесено") << "a series not judged";
    struct Typed {
        const char* typed;
        const char* kept;
    };
    for (const Typed& t : {Typed{"  Петров П.П. ", "Петров П.П."}, Typed{" \t ", ""}, Typed{"", ""}})
        EXPECT_EQ(ApprovalFieldText(t.typed), t.kept);
}
