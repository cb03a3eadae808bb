// The changed texts an amendment lists, its reason's check, the viewer's who-and-why line and its register line.
#include "journal/amendment_note.h"

#include <cstring>

#include "results/archive_csv.h"

namespace {

std::string TextOf(const TestRecord& r, int k) {
    return std::string(r.protocolText[k], strnlen(r.protocolText[k], kProtocolTextSize));
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// "YYYY-MM-DD hh:mm:ss" as "ДД.ММ.ГГГГ чч:мм".
std::string DateAndMinute(const std::string& registerTime) {
    const std::string date = JournalDateText(registerTime);
    if (date.empty() || registerTime.size() < 16) return date;
    return date + " " + registerTime.substr(11, 5);
}

}  // namespace

std::vector<std::string> AmendmentChangeLines(const TestRecord& stored, const TestRecord& amended) {
    std::vector<std::string> lines;
    for (int k = 0; k < kProtocolTextCount; ++k) {
        const std::string before = TextOf(stored, k), after = TextOf(amended, k);
        if (before == after) continue;
        lines.push_back(std::string(ProtocolTextLabel(k)) + ": «" + before + "»" + kAmendmentArrow + "«" + after + "»");
    }
    return lines;
}

std::string AmendmentTrimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && Blank(text[first])) ++first;
    while (last > first && Blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool AmendmentReasonGiven(const std::string& reason) { return !AmendmentTrimmed(reason).empty(); }

std::string AmendmentWhoWhyLine(const VersionNotes& notes) {
    if (!notes.amended) return "В журнале протоколов нет записи об этом изменении";
    const std::string who = notes.amendedBy.empty() ? notes.amendAccount : notes.amendedBy;
    return "Изменил: " + who + ", " + DateAndMinute(notes.amendedAt) + ". Причина: " + notes.reason;
}

std::string VersionWhoWhyLine(const TestRecord& version) {
    if (version.marks.amendment == 0) return std::string();
    return AmendmentWhoWhyLine(JournalNotesOf(version.testTime, version.marks.amendment));
}

JournalAppendOutcome JournalAmendment(const TestRecord& appended, const AmendmentAnswer& note) {
    JournalEntry entry = JournalEntryOfRecord(JournalEvent::Amend, appended);
    entry.person = AmendmentTrimmed(note.person);
    entry.details = AmendmentTrimmed(note.reason);
    return JournalAppend(entry);
}
