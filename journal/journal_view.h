#pragma once
// The register as the window "Журнал протоколов" lists it: Russian cells, newest first, found by a text, exported.
#include <cstdint>
#include <string>
#include <vector>

#include "journal/journal.h"

constexpr int kJournalViewColumns = 9;

// The columns' headers, Windows-1251: №, время, событие, дата испытания,
// протокол №, изм., учётная запись, кто, подробности.
extern const char* const kJournalViewHeaders[kJournalViewColumns];

// One line of the register as the window shows it: every cell in
// Windows-1251, times as "ДД.ММ.ГГГГ чч:мм:сс", the event in Russian words.
struct JournalViewRow {
    std::string cells[kJournalViewColumns];
    std::string searched;  // protocol number, person and details, case folded
};

// The event's Russian words ("series" is "серия"); a name the program does not
// know is shown as the file spells it.
std::string JournalEventWords(const std::string& name);
// Every whole line read, the newest (the last in the file) first. A line of
// too few fields shows those it has.
std::vector<JournalViewRow> JournalViewRows(const JournalFile& file);
// Replaces *shown by the rows whose protocol number, person or details hold
// text (Windows-1251, blanks around it dropped, letter case ignored), in
// order; an empty text keeps every row.
void JournalViewFind(const std::vector<JournalViewRow>& rows, const std::string& text, std::vector<uint32_t>* shown);
// The header and the rows shown as CSV in UTF-8 with the byte order mark,
// the archive export's dialect: separator between cells, CR LF after each line.
std::string JournalViewCsv(const std::vector<JournalViewRow>& rows, const std::vector<uint32_t>& shown,
                           const char* separator);
