// Versions of a series: identity, the text comparison, the amended record, grouping.
#include "results/archive_versions.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "results/archive_lookup.h"

namespace {

constexpr int64_t kDay = 86400;

size_t TextLength(const char* text) {
    size_t n = 0;
    while (n < kProtocolTextSize && text[n]) ++n;
    return n;
}

uint64_t IdentityHash(const TestRecord& r) {
    // FNV-1a over the test time, the count and the stored values.
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](const void* p, size_t n) {
        for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const uint8_t*>(p)[i]) * 1099511628211ull;
    };
    mix(&r.testTime, sizeof r.testTime);
    mix(&r.valueCount, 1);
    mix(r.breakdownVoltage, sizeof(uint16_t) * StoredValueCount(r));
    return h;
}

// Days from 1 January 2000 to the given day, by the civil calendar.
int64_t DaysSince2000(int year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 - 10957;
}

}  // namespace

uint64_t SeriesIdentityHash(const TestRecord& r) { return IdentityHash(r); }

bool SameSeries(const TestRecord& a, const TestRecord& b) {
    return std::memcmp(&a.testTime, &b.testTime, sizeof a.testTime) == 0 && a.valueCount == b.valueCount &&
           std::memcmp(a.breakdownVoltage, b.breakdownVoltage, sizeof(uint16_t) * StoredValueCount(a)) == 0;
}

bool TextsDiffer(const TestRecord& a, const TestRecord& b) {
    for (int k = 0; k < kProtocolTextCount; ++k) {
        const size_t n = TextLength(a.protocolText[k]);
        if (n != TextLength(b.protocolText[k]) || std::memcmp(a.protocolText[k], b.protocolText[k], n) != 0)
            return true;
    }
    return false;
}

bool NewestArchivedVersion(const TestRecord& record, TestRecord* found) {
    return NewestArchivedRecord([&record](const TestRecord& r) { return SameSeries(r, record); }, found);
}

void MakeAmendment(const TestRecord& newest, const TestRecord& texts, uint32_t now, TestRecord* out) {
    *out = newest;
    std::memcpy(out->protocolText, texts.protocolText, sizeof out->protocolText);
    out->marks.amendment = static_cast<uint16_t>(newest.marks.amendment + 1);
    SetAmendedAt(*out, now);
}

bool AmendmentNeeded(const TestRecord& record, const TestRecord& found, uint32_t now, TestRecord* amended) {
    if (!SameSeries(record, found) || !TextsDiffer(record, found)) return false;
    MakeAmendment(found, record, now, amended);
    return true;
}

uint32_t SecondsSince2000(const SystemTime& t) {
    const int64_t days = DaysSince2000(t.wYear, t.wMonth, t.wDay);
    const int64_t s = days * kDay + t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
    return s < 0 ? 0 : static_cast<uint32_t>(s);
}

std::string AmendedAtText(uint32_t seconds) {
    // 2000-01-01 is 946684800 s after 1970-01-01; gmtime only splits the count.
    const std::time_t when = static_cast<std::time_t>(seconds) + 946684800;
    const std::tm* t = std::gmtime(&when);
    if (!t) return std::string();
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d %d:%02d", t->tm_mday, t->tm_mon + 1, t->tm_year + 1900, t->tm_hour,
                  t->tm_min);
    return text;
}

std::string VersionLabel(const TestRecord& r) {
    if (r.marks.amendment == 0) return "исходная";
    return "изм. " + std::to_string(r.marks.amendment) + " от " + AmendedAtText(AmendedAt(r));
}

std::string AmendmentNote(const TestRecord& r) {
    if (r.marks.amendment == 0) return std::string();
    return "Изменение №" + std::to_string(r.marks.amendment) + " от " + AmendedAtText(AmendedAt(r));
}

bool ArchiveVersions::Add(const TestRecord* records, uint32_t i) {
    const TestRecord& r = records[i];
    const uint64_t key = IdentityHash(r);
    uint32_t series = kNoRecord;
    if (r.marks.amendment != 0) {
        auto it = series_.find(key);
        if (it != series_.end() && SameSeries(records[it->second], r)) series = it->second;
    }
    previous_.push_back(series == kNoRecord ? kNoRecord : newest_[series]);
    newest_.push_back(i);
    if (series == kNoRecord) {
        series_[key] = i;  // the latest series of this identity takes its amendments
        first_.push_back(i);
        return true;
    }
    first_.push_back(series);
    newest_[series] = i;
    return false;
}

std::vector<uint32_t> ArchiveVersions::Versions(uint32_t first) const {
    std::vector<uint32_t> out;
    for (uint32_t v = newest_[first]; v != kNoRecord; v = previous_[v]) out.insert(out.begin(), v);
    return out;
}
