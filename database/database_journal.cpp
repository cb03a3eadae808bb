// The rows of orla_journal from the lines of journal.csv, and where their sending resumes.
#include "database/database_journal.h"


namespace {

using platform::db::Value;
using Kind = Value::Kind;

// The register's field numbers (docs/archive-format.md).
enum Field { kSeq, kTime, kEvent, kTestTime, kProtocolNumber, kVersion, kAccount, kPerson, kDetails };

std::vector<SeriesColumn> MakeColumns() {
    return {
        {"instrument_serial", Kind::Text, false}, {"seq", Kind::Integer, false},
        {"time", Kind::Timestamp, false},         {"event", Kind::Text, false},
        {"test_time", Kind::Timestamp, true},     {"protocol_number", Kind::Text, false},
        {"version", Kind::Integer, true},         {"account", Kind::Text, false},
        {"person", Kind::Text, false},            {"details", Kind::Text, false},
        {"record_sha256", Kind::Text, false},     {"chain_sha256", Kind::Text, false},
    };
}

Value Text(const std::string& text) {
    Value x;
    x.text = text;
    return x;
}

Value Integer(const std::string& digits) {
    Value x;
    x.kind = Kind::Integer;
    x.null = digits.empty();
    x.integer = static_cast<int64_t>(JournalNumber(digits));
    return x;
}

// The number of count digits at text[at], or -1.
int Digits(const std::string& text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY-MM-DD hh:mm:ss"; empty gives NULL; false for anything else.
bool Time(const std::string& text, Value* out) {
    out->kind = Kind::Timestamp;
    out->null = text.empty();
    if (out->null) return true;
    static const char kShape[] = "0000-00-00 00:00:00";
    if (text.size() != sizeof kShape - 1) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (kShape[i] != '0' && text[i] != kShape[i]) return false;
    const size_t at[] = {0, 5, 8, 11, 14, 17}, size[] = {4, 2, 2, 2, 2, 2};
    int part[6];
    for (int k = 0; k < 6; ++k)
        if ((part[k] = Digits(text, at[k], size[k])) < 0) return false;
    out->time = SystemTime{};
    out->time.wYear = static_cast<uint16_t>(part[0]);
    out->time.wMonth = static_cast<uint16_t>(part[1]);
    out->time.wDay = static_cast<uint16_t>(part[2]);
    out->time.wHour = static_cast<uint16_t>(part[3]);
    out->time.wMinute = static_cast<uint16_t>(part[4]);
    out->time.wSecond = static_cast<uint16_t>(part[5]);
    return true;
}

}  // namespace

const SqlTable& JournalTable() {
    static const std::vector<SeriesColumn> columns = MakeColumns();
    static const SqlTable table{kJournalTable, &columns, 2};
    return table;
}

uint64_t JournalLineSeq(const JournalLine& line) {
    if (line.fields.empty()) return 0;
    return JournalNumber(line.fields[kSeq]);
}

bool JournalRow(const JournalLine& line, const std::string& serialUtf8, std::vector<Value>* row) {
    const std::vector<std::string>& f = line.fields;
    if (f.size() != static_cast<size_t>(kJournalFields) || JournalLineSeq(line) == 0) return false;
    Value time, testTime;
    if (!Time(f[kTime], &time) || !Time(f[kTestTime], &testTime)) return false;
    *row = {Text(serialUtf8),          Integer(f[kSeq]),     time,           Text(f[kEvent]),
            testTime,                  Text(f[kProtocolNumber]), Integer(f[kVersion]), Text(f[kAccount]),
            Text(f[kPerson]),          Text(f[kDetails]),    Text(f[kJournalRecordField]),
            Text(f[kJournalChainField])};
    return true;
}

size_t JournalLinesAlreadySent(const JournalFile& file, const JournalSentMark& mark, uint64_t target) {
    if (mark.target != target || mark.seq == 0) return 0;
    for (size_t i = 0; i < file.lines.size(); ++i) {
        const JournalLine& line = file.lines[i];
        if (JournalLineSeq(line) != mark.seq) continue;
        return line.fields.size() == static_cast<size_t>(kJournalFields) && line.fields[kJournalChainField] == mark.chain
                   ? i + 1
                   : 0;
    }
    return 0;
}

bool SendJournalLines(platform::db::Connection c, SqlDialect d, const JournalFile& file, size_t from,
                      const std::string& serialUtf8) {
    std::vector<std::vector<Value>> rows;
    std::vector<Value> row;
    for (size_t i = from; i < file.lines.size(); ++i)
        if (JournalRow(file.lines[i], serialUtf8, &row)) rows.push_back(InsertParameters(d, JournalTable(), row));
    if (rows.empty()) return true;
    if (!platform::db::Begin(c)) return false;
    if (platform::db::ExecuteBatch(c, InsertSql(d, JournalTable()), rows) && platform::db::Commit(c)) return true;
    platform::db::Rollback(c);
    return false;
}
