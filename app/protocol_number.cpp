// The next protocol number: which digits count, and counting them up.
#include "app/protocol_number.h"

#include <cstring>

#include "results/test_record.h"

namespace {

constexpr size_t kNone = std::string::npos;
constexpr size_t kYearDigits = 4;

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
