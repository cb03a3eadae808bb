#pragma once
// What an amendment asks of the user before it is appended, and what the viewer says of it afterwards.
#include <string>
#include <vector>

#include "common/test_record.h"
#include "journal/journal_file.h"
#include "journal/journal_query.h"

// Who amended a version and why, as the user gave them; Windows-1251.
struct AmendmentAnswer {
    std::string person;
    std::string reason;
};

// Between a text's old and new reading in a line of AmendmentChangeLines; the
// dialog shows it as an arrow, which Windows-1251 lacks.
constexpr const char* kAmendmentArrow = " -> ";

// One line per protocol text that differs, in the form's order:
// "<label>: «old» -> «new»"; a text is read up to its terminator or its slot's end.
std::vector<std::string> AmendmentChangeLines(const TestRecord& stored, const TestRecord& amended);
// Whether a typed reason says anything: not empty and not blanks only.
bool AmendmentReasonGiven(const std::string& reason);
// The text without blanks (spaces, tabs, line breaks) at either end.
std::string AmendmentTrimmed(const std::string& text);
// "Изменил: <кто>, ДД.ММ.ГГГГ чч:мм. Причина: <причина>" from the register's
// amend line; who is the person named, else the account. Without such a line,
// a word that the register has none.
std::string AmendmentWhoWhyLine(const VersionNotes& notes);
// The same for a version of the archive, read from journal.csv in the working
// (data) folder; empty for a series as first archived (amendment 0).
// Runs on the caller's thread; may wait up to a second for a busy register.
std::string VersionWhoWhyLine(const TestRecord& version);
// Appends `amend` for the version just appended to log.dat, with the note's
// person and reason; whatever the outcome, the version stays archived.
JournalAppendOutcome JournalAmendment(const TestRecord& appended, const AmendmentAnswer& note);
