// Looks up the register's amend and approve lines of one version of a series.
#include "journal/journal_query.h"

#include <map>
#include <memory>
#include <utility>

#include "journal/journal_file.h"
#include "results/archive_csv.h"

namespace {

enum Field { kTime = 1, kEvent = 2, kTestTime = 3, kVersion = 5, kAccount = 6, kPerson = 7, kDetails = 8 };

bool NamesVersion(const JournalLine& line, const std::string& testTime, const std::string& version) {
    return line.fields.size() >= static_cast<size_t>(kJournalFields) && line.fields[kTestTime] == testTime &&
           line.fields[kVersion] == version;
}

}  // namespace

VersionNotes JournalNotesIn(const JournalFile& file, const SystemTime& testTime, int version) {
    VersionNotes notes;
    const std::string when = JournalTimeText(testTime), which = std::to_string(version);
    for (const JournalLine& line : file.lines) {
        if (!NamesVersion(line, when, which)) continue;
        const std::string& event = line.fields[kEvent];
        if (event == JournalEventName(JournalEvent::Amend)) {
            notes.amended = true;
            notes.amendedAt = Utf8ToCp1251(line.fields[kTime]);
            notes.amendedBy = Utf8ToCp1251(line.fields[kPerson]);
            notes.amendAccount = Utf8ToCp1251(line.fields[kAccount]);
            notes.reason = Utf8ToCp1251(line.fields[kDetails]);
        } else if (event == JournalEventName(JournalEvent::Approve)) {
            notes.approved = true;
            notes.approvedAt = Utf8ToCp1251(line.fields[kTime]);
            notes.approver = Utf8ToCp1251(line.fields[kPerson]);
            notes.approverPosition = Utf8ToCp1251(line.fields[kDetails]);
        }
    }
    return notes;
}

VersionNotes JournalNotesOf(const SystemTime& testTime, int version) {
    std::string bytes;
    if (!JournalReadDataFolder(&bytes)) return VersionNotes{};
    return JournalNotesIn(JournalParse(bytes), testTime, version);
}

std::string JournalDateText(const std::string& t) {
    if (t.size() < 10) return std::string();
    return t.substr(8, 2) + "." + t.substr(5, 2) + "." + t.substr(0, 4);
}

ApprovalLookup JournalApprovalLookup(const JournalFile& file) {
    // Keyed by the register's own texts of the test time and the version.
    using Approvals = std::map<std::pair<std::string, std::string>, VersionApproval>;
    auto approvals = std::make_shared<Approvals>();
    for (const JournalLine& line : file.lines) {
        if (line.fields.size() < static_cast<size_t>(kJournalFields) ||
            line.fields[kEvent] != JournalEventName(JournalEvent::Approve))
            continue;
        VersionApproval& a = (*approvals)[{line.fields[kTestTime], line.fields[kVersion]}];
        a.date = JournalDateText(line.fields[kTime]);
        a.approver = Utf8ToCp1251(line.fields[kPerson]);
        a.position = Utf8ToCp1251(line.fields[kDetails]);
    }
    return [approvals](const SystemTime& testTime, int version, VersionApproval* out) {
        auto at = approvals->find({JournalTimeText(testTime), std::to_string(version)});
        if (at == approvals->end()) return false;
        if (out) *out = at->second;
        return true;
    };
}

ApprovalLookup JournalApprovalsOfDataFolder() {
    std::string bytes;
    if (!JournalReadDataFolder(&bytes)) bytes.clear();
    return JournalApprovalLookup(JournalParse(bytes));
}
