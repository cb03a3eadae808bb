// What a protocol takes from the register: the approval's date, the reason, the footer, the issue event.
#include <gtest/gtest.h>

#include <string>

#include "protocol/protocol_notes.h"
#include "tests/unit/protocol/protocol_fixture.h"

TEST(ProtocolNotes, ApprovalDateAsALaboratoryWritesIt) {
    const struct {
        const char* registerTime;
        const char* text;
    } cases[] = {
        {"2026-12-09 10:41:07", "«09» декабря 2026 г."},
        {"2027-01-31 00:00:00", "«31» января 2027 г."},
        {"2026-05-01", "«01» мая 2026 г."},
        {"", ""},
        {"09.12.2026", ""},
        {"2026-13-09 10:41:07", ""},
        {"2026-12-00 10:41:07", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ApprovalDateText(c.registerTime), c.text) << c.registerTime;
}

TEST(ProtocolNotes, NotesOfAVersionAndItsAmendmentLine) {
    TestRecord r = ProtocolRecord();
    r.marks.amendment = 2;
    SetAmendedAt(r, 86400 * 365 + 3600);
    VersionNotes amendedOnly;
    amendedOnly.amended = true;
    amendedOnly.reason = "опечатка в марке масла";
    VersionNotes approved = amendedOnly;
    approved.approved = true;
    approved.approvedAt = "2026-12-09 10:41:07";
    const struct {
        const char* name;
        VersionNotes notes;
        int amendment;
        std::string line, approvedOn;
    } cases[] = {
        {"no register line", VersionNotes(), 2, "Изменение №2 от 31.12.2000 1:00", ""},
        {"reason known", amendedOnly, 2, "Изменение №2 от 31.12.2000 1:00. Причина: опечатка в марке масла", ""},
        {"approved", approved, 2, "Изменение №2 от 31.12.2000 1:00. Причина: опечатка в марке масла",
         "«09» декабря 2026 г."},
        {"the original", approved, 0, "", "«09» декабря 2026 г."},
    };
    for (const auto& c : cases) {
        r.marks.amendment = static_cast<uint16_t>(c.amendment);
        const ProtocolNotes notes = ProtocolNotesOf(c.notes);
        EXPECT_EQ(AmendmentLine(r, notes), c.line) << c.name;
        EXPECT_EQ(notes.approvedOn, c.approvedOn) << c.name;
        EXPECT_FALSE(notes.draft) << c.name;
    }
}

TEST(ProtocolNotes, FooterAndIssueEvent) {
    TestRecord r = ProtocolRecord();
    const struct {
        int amendment;
        std::string where;
        bool draft;
        std::string footer, details;
    } cases[] = {
        {0, "CUPS-PDF", false, "Протокол № 12, изм. 0 — стр. 1 из 2", "CUPS-PDF"},
        {3, "C:\\Протоколы\\Протокол 12.rtf", false, "Протокол № 12, изм. 3 — стр. 1 из 2",
         "C:\\Протоколы\\Протокол 12.rtf"},
        {1, "CUPS-PDF", true, "Протокол № 12, изм. 1 — стр. 1 из 2", "CUPS-PDF (проект)"},
    };
    for (const auto& c : cases) {
        r.marks.amendment = static_cast<uint16_t>(c.amendment);
        EXPECT_EQ(PageFooterText(r, 1, 2), c.footer);
        const JournalEntry e = IssueEntry(r, c.where, c.draft);
        EXPECT_EQ(e.event, JournalEvent::Issue);
        EXPECT_STREQ(JournalEventName(e.event), "issue");
        EXPECT_EQ(e.protocolNumber, "12");
        EXPECT_EQ(e.version, c.amendment);
        EXPECT_EQ(e.details, c.details);
        EXPECT_EQ(e.recordSha256, JournalRecordSha256(r));
        EXPECT_TRUE(e.hasTestTime);
    }
}
