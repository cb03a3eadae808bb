#pragma once
// The register of events (journal.csv): its lines, their chain and the check against log.dat.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/system_time.h"
#include "common/test_record.h"

// One event a line, UTF-8, ';' between the eleven fields, CR LF at the end;
// docs/archive-format.md describes each field and the chain.
constexpr const char* kJournalFileName = "journal.csv";
constexpr int kJournalFields = 11;
constexpr size_t kJournalChainField = kJournalFields - 1;
constexpr size_t kJournalRecordField = kJournalFields - 2;
constexpr size_t kJournalEventField = 2;

enum class JournalEvent { Series, Import, Amend, Approve, Issue, ArchiveAside, JournalStart };

// What one line says; texts in Windows-1251, as everything in memory.
struct JournalEntry {
    JournalEvent event = JournalEvent::Series;
    bool hasTestTime = false;
    SystemTime testTime{};
    std::string protocolNumber;
    int version = -1;  // the amendment number; below 0 an empty field
    std::string account;  // JournalAppend writes the running account here
    std::string person;
    std::string details;
    std::string recordSha256;  // lower-case hex, or empty
};

// The event's name as the file spells it ("series", "archive_aside", ...).
const char* JournalEventName(JournalEvent event);
// The value of a field of decimal digits (seq, version), read up to the
// first other character; 0 for none. (strtoull would pull functions into the
// program that the oldest Windows' msvcrt lacks.)
uint64_t JournalNumber(const std::string& field);
// "YYYY-MM-DD hh:mm:ss".
std::string JournalTimeText(const SystemTime& time);
// SHA-256 of the record's 3 416 bytes with its crc stored, as ArchiveAppend leaves it.
std::string JournalRecordSha256(const TestRecord& record);
// An entry for a record of the archive: test time, protocol number, amendment
// number and the record's hash filled in; person and details left to the caller.
JournalEntry JournalEntryOfRecord(JournalEvent event, const TestRecord& record);
// The line of entry number seq written at now after a line whose chain_sha256
// is previousChain: UTF-8, fields quoted as CSV, ending in CR LF.
std::string JournalFormatLine(const JournalEntry& entry, uint64_t seq, const SystemTime& now,
                              const std::string& previousChain);
// The chain_sha256 of a line whose bytes up to and including the ';' before
// that field are signedPart.
std::string JournalChain(const std::string& previousChain, const std::string& signedPart);
// 64 zeros: what the first line's chain starts from.
std::string JournalFirstChain();

// One whole line as read: fields unquoted (UTF-8), and its bytes from its
// first character up to and including the last ';', which the chain covers.
struct JournalLine {
    std::vector<std::string> fields;
    std::string signedPart;
};

struct JournalFile {
    std::vector<JournalLine> lines;  // every line that ends in CR LF
    size_t wholeBytes = 0;           // where the last whole line ends, byte order mark counted
    bool tornTail = false;           // bytes after the last whole line, left out
};

// Reads a register's bytes; a byte order mark is skipped, quoted fields may
// hold ';', doubled quotes and line breaks. A last line without CR LF is torn.
JournalFile JournalParse(const std::string& bytes);

struct JournalCheck {
    uint64_t lines = 0;     // whole lines read
    uint64_t badLine = 0;   // the first line that fails, from 1; 0 when the register is whole
    const char* reason = nullptr;  // why it fails, Windows-1251
    bool tornTail = false;
};

// Checks seq 1, 2, ... without gaps, each line's chain, and that every record
// registered since the latest archive_aside is in log.dat (recordHashes: the
// SHA-256 hex of each record log.dat holds); earlier ones went with the file
// moved aside. Stops at the first line that fails.
JournalCheck JournalVerify(const JournalFile& file, const std::unordered_set<std::string>& recordHashes);
// "Журнал цел: N записей" or "Журнал нарушен в строке N: ...", Windows-1251;
// a torn last line adds that it was left out.
std::string JournalVerdictText(const JournalCheck& check);
