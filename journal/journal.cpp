// The register's lines: formatting with the chain, reading them back, checking them against log.dat.
#include "journal/journal.h"

#include <cstdio>
#include <cstring>

#include "platform/sha256.h"
#include "results/archive_csv.h"

namespace {

constexpr const char* kSeparator = ";";

std::string Utf8(const std::string& text1251) { return Cp1251ToUtf8(text1251.data(), text1251.size()); }

bool IsAside(const JournalLine& line) {
    return line.fields.size() > kJournalEventField &&
           line.fields[kJournalEventField] == JournalEventName(JournalEvent::ArchiveAside);
}

// Reads the line that starts at at; false when no CR LF outside quotes ends it.
bool ReadLine(const std::string& s, size_t& at, JournalLine* line) {
    const size_t start = at;
    size_t signedEnd = start;
    std::string field;
    bool quoted = false;
    while (at < s.size()) {
        const char c = s[at++];
        if (quoted && c == '"' && at < s.size() && s[at] == '"') {
            field += '"';
            ++at;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ';') {
            line->fields.push_back(field);
            field.clear();
            signedEnd = at;
        } else if (!quoted && c == '\r' && at < s.size() && s[at] == '\n') {
            ++at;
            line->fields.push_back(field);
            line->signedPart = s.substr(start, signedEnd - start);
            return true;
        } else {
            field += c;
        }
    }
    return false;
}

// Why the line numbered seq fails its number or its chain, or nullptr.
const char* ChainFault(const JournalLine& line, uint64_t seq, const std::string& previousChain) {
    if (line.fields.size() != static_cast<size_t>(kJournalFields)) return "неверное число полей";
    if (line.fields[0] != std::to_string(seq)) return "номер не по порядку";
    if (line.fields[kJournalChainField] != JournalChain(previousChain, line.signedPart))
        return "цепочка не сходится";
    return nullptr;
}

// The Russian plural of "запись" for a count.
const char* Records(uint64_t n) {
    if (n % 10 == 1 && n % 100 != 11) return "запись";
    if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14)) return "записи";
    return "записей";
}

}  // namespace

const char* JournalEventName(JournalEvent event) {
    switch (event) {
        case JournalEvent::Series: return "series";
        case JournalEvent::Import: return "import";
        case JournalEvent::Amend: return "amend";
        case JournalEvent::Approve: return "approve";
        case JournalEvent::Issue: return "issue";
        case JournalEvent::ArchiveAside: return "archive_aside";
        case JournalEvent::JournalStart: return "journal_start";
    }
    return "";
}

uint64_t JournalNumber(const std::string& field) {
    uint64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

std::string JournalTimeText(const SystemTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned(t.wYear), unsigned(t.wMonth),
                  unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute), unsigned(t.wSecond));
    return text;
}

std::string JournalRecordSha256(const TestRecord& record) { return platform::Sha256Hex(&record, sizeof record); }

JournalEntry JournalEntryOfRecord(JournalEvent event, const TestRecord& record) {
    JournalEntry e;
    e.event = event;
    e.hasTestTime = true;
    e.testTime = record.testTime;
    const char* number = record.protocolText[0];
    e.protocolNumber.assign(number, strnlen(number, kProtocolTextSize));
    e.version = record.marks.amendment;
    e.recordSha256 = JournalRecordSha256(record);
    return e;
}

std::string JournalFirstChain() { return std::string(platform::kSha256HexSize, '0'); }

std::string JournalChain(const std::string& previousChain, const std::string& signedPart) {
    platform::Sha256 hash;
    uint8_t digest[platform::kSha256Size];
    if (!hash.Add(previousChain.data(), previousChain.size()) || !hash.Add(signedPart.data(), signedPart.size()) ||
        !hash.Finish(digest))
        return std::string();
    return platform::HexLower(digest, sizeof digest);
}

std::string JournalFormatLine(const JournalEntry& e, uint64_t seq, const SystemTime& now,
                              const std::string& previousChain) {
    std::string line;
    auto add = [&line](const std::string& utf8) { line += CsvCell(utf8, kSeparator) + kSeparator; };
    add(std::to_string(seq));
    add(JournalTimeText(now));
    add(JournalEventName(e.event));
    add(e.hasTestTime ? JournalTimeText(e.testTime) : std::string());
    add(Utf8(e.protocolNumber));
    add(e.version >= 0 ? std::to_string(e.version) : std::string());
    add(Utf8(e.account));
    add(Utf8(e.person));
    add(Utf8(e.details));
    add(e.recordSha256);
    return line + JournalChain(previousChain, line) + "\r\n";
}

JournalFile JournalParse(const std::string& bytes) {
    JournalFile file;
    size_t at = bytes.compare(0, 3, kCsvByteOrderMark) == 0 ? 3 : 0;
    file.wholeBytes = at;
    while (at < bytes.size()) {
        JournalLine line;
        if (!ReadLine(bytes, at, &line)) {
            file.tornTail = true;
            break;
        }
        file.lines.push_back(std::move(line));
        file.wholeBytes = at;
    }
    return file;
}

JournalCheck JournalVerify(const JournalFile& file, const std::unordered_set<std::string>& recordHashes) {
    JournalCheck check;
    check.lines = file.lines.size();
    check.tornTail = file.tornTail;
    // Numbers and chain first: up to the first break the lines are as written,
    // so their events can be trusted to say which records log.dat still holds.
    std::string chain = JournalFirstChain();
    size_t end = 0, since = 0;
    for (; end < file.lines.size(); ++end) {
        const JournalLine& line = file.lines[end];
        if ((check.reason = ChainFault(line, end + 1, chain)) != nullptr) break;
        chain = line.fields[kJournalChainField];
        if (IsAside(line)) since = end + 1;
    }
    if (check.reason) check.badLine = end + 1;
    for (size_t i = since; i < end; ++i) {
        const std::string& record = file.lines[i].fields[kJournalRecordField];
        if (record.empty() || recordHashes.count(record)) continue;
        check.badLine = i + 1;
        check.reason = "записи нет в log.dat";
        break;
    }
    return check;
}

std::string JournalVerdictText(const JournalCheck& check) {
    char text[160];
    if (check.reason)
        std::snprintf(text, sizeof text, "Журнал нарушен в строке %llu: %s", (unsigned long long)check.badLine,
                      check.reason);
    else
        std::snprintf(text, sizeof text, "Журнал цел: %llu %s", (unsigned long long)check.lines, Records(check.lines));
    std::string out = text;
    if (check.tornTail) out += ". Последняя строка оборвана и не учтена";
    return out;
}
