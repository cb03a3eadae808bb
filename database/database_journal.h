#pragma once
// The register journal.csv as the laboratory database's table orla_journal.
#include <string>
#include <vector>

#include "database/database_sent.h"
#include "database/database_sql.h"
#include "journal/journal.h"

constexpr const char* kJournalTable = "orla_journal";

// instrument_serial, seq (the key), then the register's fields in its order.
const SqlTable& JournalTable();
// The row of one line of the register, its texts as they are (UTF-8); false
// for a line that is not a whole register line (it is then not sent).
bool JournalRow(const JournalLine& line, const std::string& serialUtf8, std::vector<platform::db::Value>* row);
// The seq of a line, 0 when it is not a number.
uint64_t JournalLineSeq(const JournalLine& line);
// Where sending resumes: the index of the first line after the one the mark
// names, when the mark was made for this target and the register still holds
// that line with the same chain; otherwise 0 (a register begun anew is sent
// whole, the table keeping one row per key anyway).
size_t JournalLinesAlreadySent(const JournalFile& file, const JournalSentMark& mark, uint64_t target);
// Sends lines from..end in one transaction, rolled back on any failure.
bool SendJournalLines(platform::db::Connection connection, SqlDialect dialect, const JournalFile& file, size_t from,
                      const std::string& serialUtf8);
