#pragma once
// What the register adds to a protocol: why its version was made, when it was approved, the draft mark.
#include <string>

#include "common/test_record.h"
#include "journal/journal.h"
#include "journal/journal_query.h"

// Texts in Windows-1251. Empty notes make the protocol as it was made before
// the register existed.
struct ProtocolNotes {
    std::string reason;      // why this version was made; empty when the register does not say
    std::string approvedOn;  // the approval's date, «09» декабря 2026 г.; empty when not approved
    bool draft = false;      // issued before its approval: "ПРОЕКТ" under the title
};

constexpr const char kDraftMark[] = "ПРОЕКТ";
// The approval's date line of a version nobody approved: blanks to fill in by hand.
constexpr const char kBlankApprovalDate[] = "«____» ________________ 20___ г.";

// A register time "YYYY-MM-DD hh:mm:ss" as a laboratory writes an approval's
// date: «09» декабря 2026 г.; empty when it is no such time.
std::string ApprovalDateText(const std::string& registerTime);
// The notes of a version as the register has them (JournalNotesOf).
ProtocolNotes ProtocolNotesOf(const VersionNotes& notes);
// "Изменение №k от <дата время>. Причина: <причина>"; without a reason in the
// notes the line as before; empty for the original.
std::string AmendmentLine(const TestRecord& record, const ProtocolNotes& notes);
// "Протокол № N, изм. k — стр. x из y": every printed page's last line.
std::string PageFooterText(const TestRecord& record, int page, int pages);
// The issue event of a document made from the version made: details name
// where it went (the printer, the file's full path), " (проект)" added for a draft.
JournalEntry IssueEntry(const TestRecord& made, const std::string& where, bool draft);
