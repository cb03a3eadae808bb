// Issuing a protocol: the register's notes on its version, the draft question, the issue event.
#include "protocol/protocol_issue.h"

#include "journal/journal_file.h"
#include "platform/ui.h"
#include "protocol/voltage_text.h"

namespace {

// "Протокол № 12 (изм. 1) не утвержден. Выдать его как проект?"
std::string DraftQuestion(const TestRecord& made) {
    std::string text = "Протокол № " + SlotText(made.protocolText[0], kProtocolTextSize);
    if (made.marks.amendment != 0) text += " (изм. " + std::to_string(made.marks.amendment) + ")";
    return text + " не утвержден. Выдать его как проект?";
}

}  // namespace

bool PrepareIssue(const TestRecord& made, bool onlyApproved, ProtocolNotes* notes) {
    *notes = ProtocolNotesOf(JournalNotesOf(made.testTime, made.marks.amendment));
    if (!onlyApproved || !notes->approvedOn.empty()) return true;
    const int answer = ui::MessageBox(ui::Window::Main, DraftQuestion(made).c_str(), "Протокол не утвержден",
                                      ui::kYesNo | ui::kIconQuestion | ui::kDefaultSecond);
    notes->draft = answer == ui::kAnswerYes;
    return notes->draft;
}

void RegisterIssue(const TestRecord& made, const std::string& where, const ProtocolNotes& notes) {
    JournalEntry entry = IssueEntry(made, where, notes.draft);
    // A protocol of a record log.dat does not hold (one from another archive
    // file, a form without a series) names none: the check would take the
    // register for broken.
    if (!JournalArchiveHolds(entry.recordSha256)) entry.recordSha256.clear();
    JournalAppend(entry);
}
