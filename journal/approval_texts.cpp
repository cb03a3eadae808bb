// Texts of the dialog "Утверждение протокола" and its approve line.
#include "journal/approval_texts.h"

#include <cstring>

#include "journal/journal_query.h"
#include "verdict/verdict.h"

std::string ApprovalSeriesText(const TestRecord& r) {
    // A number read from the file may lack its terminator.
    const std::string number(r.protocolText[0], strnlen(r.protocolText[0], kProtocolTextSize));
    return number + " от " + JournalDateText(JournalTimeText(r.testTime));
}

std::string ApprovalConclusionText(const TestRecord& r) {
    const std::string conclusion = ConclusionText(r);
    return conclusion.empty() ? "не вынесено" : conclusion;
}

std::string ApprovalFieldText(const char* typed) {
    const std::string text(typed);
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

JournalEntry JournalApprovalEntry(const TestRecord& version, const std::string& approver, const std::string& position) {
    JournalEntry entry = JournalEntryOfRecord(JournalEvent::Approve, version);
    entry.person = approver;
    entry.details = position;
    return entry;
}
