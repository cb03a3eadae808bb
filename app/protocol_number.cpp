// The next protocol number: which digits count, and counting them up.
#include "app/protocol_number.h"

#include <cstdio>
#include <cstring>

#include "common/test_record.h"

namespace {

constexpr size_t kNone = std::string::npos;
constexpr size_t kYearDigits = 4;
// A day of numbers typed ahead is a few dozen; beyond this the search stops.
constexpr int kMostNumbersTried = 1000;

struct Run {
    size_t begin, end;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c != 0 && std::strchr("/-._\\ ", c) != nullptr; }

// The last run of digits that ends at or before limit; begin is kNone when there is none.
Run LastDigits(const std::string& s, size_t limit) {
    size_t end = limit;
    while (end > 0 && !IsDigit(s[end - 1])) --end;
    if (end == 0) return {kNone, kNone};
    size_t begin = end;
    while (begin > 0 && IsDigit(s[begin - 1])) --begin;
    return {begin, end};
}

// "/2026" at the end, blanks after it aside.
bool IsClosingYear(const std::string& s, Run run) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ') --end;
    return run.end == end && run.end - run.begin == kYearDigits && run.begin > 0 && IsSeparator(s[run.begin - 1]);
}

}  // namespace

std::string NextProtocolNumber(const std::string& number) {
    Run counter = LastDigits(number, number.size());
    if (counter.begin == kNone) return number;
    if (IsClosingYear(number, counter)) {
        const Run earlier = LastDigits(number, counter.begin);
        if (earlier.begin != kNone) counter = earlier;
    }
    std::string next = number;
    for (size_t i = counter.end; i > counter.begin; --i) {
        if (next[i - 1] != '9') {
            ++next[i - 1];
            return next;
        }
        next[i - 1] = '0';
    }
    next.insert(counter.begin, 1, '1');  // all nines: one digit more
    return next.size() < kProtocolTextSize ? next : number;
}

std::string NextFreeProtocolNumber(const std::string& number, const std::function<bool(const std::string&)>& taken) {
    const std::string next = NextProtocolNumber(number);
    std::string tried = next;
    for (int i = 0; i < kMostNumbersTried && taken(tried); ++i) {
        const std::string after = NextProtocolNumber(tried);
        if (after == tried) return next;
        tried = after;
    }
    return taken(tried) ? next : tried;
}

std::string NumberInArchiveQuestion(const std::string& number, const SystemTime& t) {
    char when[32];
    std::snprintf(when, sizeof when, "%02u.%02u.%04u %02u:%02u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute);
    return "Протокол № " + number + " уже есть в архиве (серия " + when + "). Продолжить?";
}
