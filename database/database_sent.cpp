// The bookkeeping of what log.dat and journal.csv have sent to the database, kept through restarts.
#include "database/database_sent.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "platform/files.h"

namespace {

uint64_t Fnv1a(const void* bytes, size_t count, uint64_t hash = 1469598103934665603ull) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < count; ++i) hash = (hash ^ p[i]) * 1099511628211ull;
    return hash;
}

// ASCII only: keys are Latin, and the C library's classes would follow a locale.
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The words of a text, split at blanks and line ends.
std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + ' ') {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

bool Number(const std::string& word, unsigned base, uint64_t* out) {
    if (word.empty() || word.size() > (base == 16 ? 16u : 20u)) return false;
    uint64_t value = 0;
    for (char c : word) {
        unsigned digit = c >= '0' && c <= '9' ? unsigned(c - '0') : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10) : 99;
        if (digit >= base) return false;
        value = value * base + digit;
    }
    *out = value;
    return true;
}

std::string Trim(const std::string& text) {
    size_t b = text.find_first_not_of(" \t"), e = text.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
}

// The pairs of the connection string, keys in lower case, without the password.
std::string WithoutPassword(const std::string& connection) {
    std::string out;
    size_t start = 0;
    while (start <= connection.size()) {
        size_t end = connection.find(';', start);
        if (end == std::string::npos) end = connection.size();
        const std::string pair = connection.substr(start, end - start);
        const size_t eq = pair.find('=');
        const std::string key = Lower(Trim(pair.substr(0, eq)));
        if (!key.empty() && key != "pwd" && key != "password")
            out += key + (eq == std::string::npos ? "" : "=" + Trim(pair.substr(eq + 1))) + ";";
        start = end + 1;
    }
    return out;
}

}  // namespace

std::string FormatSentMark(const SentMark& m) {
    char text[128];
    std::snprintf(text, sizeof text, "target %016" PRIx64 "\r\nrecords %" PRIu64 "\r\nlast %016" PRIx64 "\r\n",
                  m.target, m.records, m.lastRecord);
    return text;
}

bool ParseSentMark(const std::string& text, SentMark* m) {
    const std::vector<std::string> w = Words(text);
    SentMark read;
    if (w.size() != 6 || w[0] != "target" || w[2] != "records" || w[4] != "last") return false;
    if (!Number(w[1], 16, &read.target) || !Number(w[3], 10, &read.records) || !Number(w[5], 16, &read.lastRecord))
        return false;
    *m = read;
    return true;
}

namespace {

// A small file's text; false when it is missing or cannot be read.
bool ReadSmallFile(const char* path, std::string* text) {
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return false;
    char buffer[256];
    uint32_t got = 0;
    const bool read = platform::ReadFile(file, buffer, sizeof buffer - 1, &got);
    platform::CloseFile(file);
    if (read) text->assign(buffer, got);
    return read;
}

// Written to path.tmp, then moved over path.
bool WriteSmallFile(const char* path, const std::string& text) {
    const std::string temporary = std::string(path) + ".tmp";
    platform::FileHandle file = platform::OpenExclusive(temporary.c_str(), platform::OpenMode::WriteAlways);
    if (file == platform::kNoFile) return false;
    uint32_t written = 0;
    const bool ok = platform::SeekTo(file, 0) &&
                    platform::WriteFile(file, text.data(), static_cast<uint32_t>(text.size()), &written) &&
                    written == text.size() && platform::TruncateHere(file);
    platform::CloseFile(file);
    return ok && platform::MoveFileOver(temporary.c_str(), path);
}

bool IsHexWord(const std::string& word, size_t size) {
    if (word.size() != size) return false;
    for (char c : word)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

}  // namespace

bool LoadSentMark(const char* path, SentMark* m) {
    std::string text;
    return ReadSmallFile(path, &text) && ParseSentMark(text, m);
}

bool SaveSentMark(const char* path, const SentMark& m) { return WriteSmallFile(path, FormatSentMark(m)); }

std::string FormatJournalSentMark(const JournalSentMark& m) {
    char text[160];
    std::snprintf(text, sizeof text, "target %016" PRIx64 "\r\nseq %" PRIu64 "\r\nchain %s\r\n", m.target, m.seq,
                  m.chain.c_str());
    return text;
}

bool ParseJournalSentMark(const std::string& text, JournalSentMark* m) {
    const std::vector<std::string> w = Words(text);
    JournalSentMark read;
    if (w.size() != 6 || w[0] != "target" || w[2] != "seq" || w[4] != "chain") return false;
    if (!Number(w[1], 16, &read.target) || !Number(w[3], 10, &read.seq) || !IsHexWord(w[5], 64)) return false;
    read.chain = w[5];
    *m = read;
    return true;
}

bool LoadJournalSentMark(const char* path, JournalSentMark* m) {
    std::string text;
    return ReadSmallFile(path, &text) && ParseJournalSentMark(text, m);
}

bool SaveJournalSentMark(const char* path, const JournalSentMark& m) {
    return WriteSmallFile(path, FormatJournalSentMark(m));
}

uint64_t DatabaseTarget(const std::string& connection, const std::string& serial) {
    const std::string text = WithoutPassword(connection) + '\n' + serial;
    return Fnv1a(text.data(), text.size());
}

uint64_t RecordFingerprint(const TestRecord& r) { return Fnv1a(&r, sizeof r); }

uint64_t RecordsAlreadySent(const SentMark& m, uint64_t target, uint64_t archiveRecords, const TestRecord* atMark) {
    if (m.target != target || m.records > archiveRecords) return 0;
    if (m.records == 0) return 0;
    if (!atMark || RecordFingerprint(*atMark) != m.lastRecord) return 0;
    return m.records;
}
