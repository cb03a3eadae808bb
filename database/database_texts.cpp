// The database's status line, its tooltip, the "Проверить" box, the retry pauses and the hidden password.
#include "database/database_texts.h"

#include <vector>

namespace {

constexpr uint32_t kFirstPauseMs = 2000;
constexpr uint32_t kLongestPauseMs = 5 * 60 * 1000;
constexpr const char* kPasswordMask = "********";

std::string Number(uint64_t n) { return std::to_string(static_cast<unsigned long long>(n)); }

bool IsPasswordKey(std::string key) {
    size_t b = key.find_first_not_of(" \t"), e = key.find_last_not_of(" \t");
    key = b == std::string::npos ? std::string() : key.substr(b, e - b + 1);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key == "pwd" || key == "password";
}

struct Pair {
    std::string key, value;
    bool hasValue;
};

// Split at ';' outside braces: a value in {...} may hold semicolons.
std::vector<Pair> SplitPairs(const std::string& text) {
    std::vector<Pair> pairs;
    std::string current;
    int depth = 0;
    auto finish = [&] {
        const size_t eq = current.find('=');
        pairs.push_back({current.substr(0, eq), eq == std::string::npos ? std::string() : current.substr(eq + 1),
                         eq != std::string::npos});
        current.clear();
    };
    for (char c : text) {
        if (c == '{') ++depth;
        if (c == '}' && depth > 0) --depth;
        if (c == ';' && depth == 0) finish();
        else current += c;
    }
    if (!current.empty()) finish();
    return pairs;
}

std::string JoinPairs(const std::vector<Pair>& pairs, const std::string& original) {
    std::string out;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (i) out += ';';
        out += pairs[i].key + (pairs[i].hasValue ? "=" + pairs[i].value : std::string());
    }
    if (!original.empty() && original.back() == ';') out += ';';
    return out;
}

std::string StoredPassword(const std::string& stored) {
    for (const Pair& p : SplitPairs(stored))
        if (IsPasswordKey(p.key)) return p.value;
    return std::string();
}

}  // namespace

std::string DatabaseStateText(uint64_t waiting, uint64_t total, bool sending) {
    if (waiting == 0) return std::string();
    if (sending) return "Передача в базу: " + Number(total - waiting) + " из " + Number(total);
    return "В базу не передано: " + Number(waiting);
}

namespace {

// A tooltip draws the driver's line breaks and tabs as boxes: each run of
// them, with the blanks around it, becomes one blank.
std::string OneLine(const std::string& text) {
    std::string line;
    bool gap = false;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            gap = !line.empty();
            continue;
        }
        if (gap) line += ' ';
        gap = false;
        line += c;
    }
    return line;
}

}  // namespace

std::string DatabaseErrorTip(const std::string& error, const std::string& when) {
    const std::string line = OneLine(error);
    if (line.empty()) return std::string();
    return "Ошибка базы данных (" + when + "): " + line;
}

std::string DatabaseCheckText(const DatabaseCheckResult& r) {
    if (!r.connected) return "Не удалось соединиться с базой данных.\n\n" + r.error;
    std::string text = "Соединение установлено.\n\nСУБД: " + r.dbms;
    if (!r.version.empty()) text += " " + r.version;
    // A file database names its file twice.
    if (!r.server.empty() && r.server != r.database) text += "\nСервер: " + r.server;
    if (!r.database.empty()) text += "\nБаза данных: " + r.database;
    if (!r.tableExists) return text + "\nТаблицы orla_series нет: программа создаст ее при первой передаче.";
    text += "\nТаблица orla_series есть";
    if (r.countKnown) text += ", серий этого прибора в ней: " + Number(r.series);
    return text + ".";
}

uint32_t DatabaseRetryPauseMs(uint32_t failures) {
    uint64_t pause = kFirstPauseMs;
    for (uint32_t i = 1; i < failures && pause < kLongestPauseMs; ++i) pause *= 2;
    return static_cast<uint32_t>(pause < kLongestPauseMs ? pause : kLongestPauseMs);
}

std::string MaskPassword(const std::string& connection) {
    std::vector<Pair> pairs = SplitPairs(connection);
    for (Pair& p : pairs)
        if (IsPasswordKey(p.key) && !p.value.empty()) p.value = kPasswordMask;
    return JoinPairs(pairs, connection);
}

std::string UnmaskPassword(const std::string& shown, const std::string& stored) {
    std::vector<Pair> pairs = SplitPairs(shown);
    for (Pair& p : pairs)
        if (IsPasswordKey(p.key) && p.value == kPasswordMask) p.value = StoredPassword(stored);
    return JoinPairs(pairs, shown);
}
