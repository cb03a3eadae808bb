// The register's notes as a protocol prints them: the amendment's reason, the approval's date, the footer.
#include "protocol/protocol_notes.h"

#include <cstdio>

#include "protocol/voltage_text.h"
#include "results/archive_versions.h"

namespace {

// Two digits at text[at]; -1 when they are not digits.
int TwoDigits(const std::string& text, size_t at) {
    if (at + 2 > text.size()) return -1;
    const char a = text[at], b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

}  // namespace

std::string ApprovalDateText(const std::string& registerTime) {
    static const char* const kMonths[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                          "июля",   "августа", "сентября", "октября", "ноября", "декабря"};
    const std::string& t = registerTime;
    if (t.size() < 10 || t[4] != '-' || t[7] != '-') return std::string();
    const int century = TwoDigits(t, 0), year = TwoDigits(t, 2), month = TwoDigits(t, 5), day = TwoDigits(t, 8);
    if (century < 0 || year < 0 || month < 1 || month > 12 || day < 1 || day > 31) return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "«%02d» %s %02d%02d г.", day, kMonths[month - 1], century, year);
    return text;
}

ProtocolNotes ProtocolNotesOf(const VersionNotes& notes) {
    ProtocolNotes out;
    if (notes.amended) out.reason = notes.reason;
    if (notes.approved) out.approvedOn = ApprovalDateText(notes.approvedAt);
    return out;
}

std::string AmendmentLine(const TestRecord& record, const ProtocolNotes& notes) {
    std::string line = AmendmentNote(record);
    if (!line.empty() && !notes.reason.empty()) line += ". Причина: " + notes.reason;
    return line;
}

std::string PageFooterText(const TestRecord& record, int page, int pages) {
    return "Протокол № " + SlotText(record.protocolText[0], kProtocolTextSize) + ", изм. " +
           std::to_string(record.marks.amendment) + " — стр. " + std::to_string(page) + " из " +
           std::to_string(pages);
}

JournalEntry IssueEntry(const TestRecord& made, const std::string& where, bool draft) {
    JournalEntry entry = JournalEntryOfRecord(JournalEvent::Issue, made);
    entry.details = draft ? where + " (проект)" : where;
    return entry;
}
