#pragma once
// What the register says of one version of a series: who changed it and why, who approved it.
#include <string>

#include "journal/journal.h"
#include "platform/system_time.h"
#include "results/version_approval.h"

// Texts in Windows-1251; times as the register writes them ("YYYY-MM-DD hh:mm:ss").
struct VersionNotes {
    bool amended = false;  // an amend line names this version
    std::string amendedAt, amendedBy, amendAccount, reason;
    bool approved = false;  // an approve line names this very version
    std::string approvedAt, approver, approverPosition;
};

// The notes on version `version` of the series tested at testTime in a read
// register; the newest line of each kind wins. An approval holds for the
// version it names only: an amendment after it is a version not approved.
VersionNotes JournalNotesIn(const JournalFile& file, const SystemTime& testTime, int version);
// The same from journal.csv in the working (data) folder; nothing noted
// when it is missing or cannot be read. Runs on the caller's thread.
VersionNotes JournalNotesOf(const SystemTime& testTime, int version);
// "ДД.ММ.ГГГГ" of a register time, for the viewer's column and the protocol.
std::string JournalDateText(const std::string& registerTime);
// Every approval of a read register, for the archive viewer's list: the
// newest approve line of each version wins, as in JournalNotesIn. The lookup
// keeps its own copy and answers from memory.
ApprovalLookup JournalApprovalLookup(const JournalFile& file);
// The same from journal.csv in the working (data) folder, read once; it
// approves nothing when the register is missing or cannot be read.
ApprovalLookup JournalApprovalsOfDataFolder();
