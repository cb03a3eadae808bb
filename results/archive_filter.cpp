// Text and date filter over the archive's records.
#include "results/archive_filter.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "verdict/verdict.h"

namespace {

// Upper-case letters of Windows-1251 outside the two contiguous blocks, each
// with its lower-case partner.
constexpr uint8_t kCyrillicPairs[][2] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E},
    {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
    {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

constexpr std::array<uint8_t, 256> MakeFoldTable() {
    std::array<uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<uint8_t>(c + 0x20);
    for (int c = 0xC0; c <= 0xDF; ++c) t[c] = static_cast<uint8_t>(c + 0x20);  // А..Я
    for (const auto& p : kCyrillicPairs) t[p[0]] = p[1];
    return t;
}

constexpr std::array<uint8_t, 256> kFold = MakeFoldTable();

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

uint8_t FoldCp1251(uint8_t c) { return kFold[c]; }

uint32_t ArchiveDayKey(uint16_t year, uint16_t month, uint16_t day) {
    // Wide enough fields that a damaged month or day of a record still orders
    // after every sound date of the same year rather than wrapping.
    return (static_cast<uint32_t>(year) << 16) | (static_cast<uint32_t>(month & 0xFF) << 8) | (day & 0xFF);
}

ArchiveFilter::ArchiveFilter(const std::string& text, uint32_t fromDay, uint32_t toDay)
    : fromDay_(fromDay), toDay_(toDay) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    needle_.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) needle_.push_back(static_cast<char>(kFold[static_cast<uint8_t>(text[i])]));
}

bool ArchiveFilter::SlotContains(const char* slot) const {
    const auto* s = reinterpret_cast<const uint8_t*>(slot);
    const void* zero = std::memchr(s, 0, kProtocolTextSize);
    const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - s) : kProtocolTextSize;
    const size_t n = needle_.size();
    if (n > length) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(needle_.data());
    const uint8_t first = p[0];
    for (size_t i = 0, last = length - n; i <= last; ++i) {
        if (kFold[s[i]] != first) continue;
        size_t k = 1;
        while (k < n && kFold[s[i + k]] == p[k]) ++k;
        if (k == n) return true;
    }
    return false;
}

bool ArchiveFilter::InDates(const TestRecord& record) const {
    if (fromDay_ == 0 && toDay_ == 0) return true;
    const uint32_t day = ArchiveDayKey(record.testTime);
    return (fromDay_ == 0 || day >= fromDay_) && (toDay_ == 0 || day <= toDay_);
}

bool ArchiveFilter::TextsContain(const TestRecord& record) const {
    for (int k : kArchiveSearchedTexts)
        if (SlotContains(record.protocolText[k])) return true;
    return false;
}

bool ArchiveFilter::Matches(const TestRecord& record) const {
    if (!InDates(record)) return false;
    if (needle_.empty() || TextsContain(record)) return true;
    ArchiveConclusions one;
    one.Add(record);
    return one.Text(0).find(needle_) != std::string_view::npos;
}

bool ArchiveFilter::Matches(const TestRecord& record, std::string_view foldedConclusion) const {
    if (!InDates(record)) return false;
    return needle_.empty() || TextsContain(record) || foldedConclusion.find(needle_) != std::string_view::npos;
}

void ArchiveFilter::Filter(const TestRecord* records, size_t count, std::vector<uint32_t>* out,
                           const ArchiveConclusions* conclusions) const {
    out->clear();
    if (MatchesAll()) {
        out->resize(count);
        for (size_t i = 0; i < count; ++i) (*out)[i] = static_cast<uint32_t>(i);
        return;
    }
    const bool indexed = conclusions && conclusions->size() >= count;
    for (size_t i = 0; i < count; ++i)
        if (indexed ? Matches(records[i], conclusions->Text(i)) : Matches(records[i]))
            out->push_back(static_cast<uint32_t>(i));
}

void ArchiveFilter::FilterSeries(const TestRecord* records, const ArchiveVersions& versions, size_t count,
                                 std::vector<uint32_t>* out, const ArchiveConclusions* conclusions) const {
    out->clear();
    const bool all = MatchesAll(), indexed = conclusions && conclusions->size() >= count;
    for (size_t i = 0; i < count; ++i) {
        if (versions.FirstOf(static_cast<uint32_t>(i)) != i) continue;
        const uint32_t newest = versions.Newest(static_cast<uint32_t>(i));
        if (all || (indexed ? Matches(records[newest], conclusions->Text(newest)) : Matches(records[newest])))
            out->push_back(static_cast<uint32_t>(i));
    }
}

void ArchiveConclusions::Add(const TestRecord& record) {
    // Only judged records have a conclusion; the rest cost no composing.
    if (record.verdict.present) {
        const std::string text = ConclusionText(record);
        for (char c : text) folded_.push_back(static_cast<char>(kFold[static_cast<uint8_t>(c)]));
    }
    ends_.push_back(static_cast<uint32_t>(folded_.size()));
}

std::string_view ArchiveConclusions::Text(size_t i) const {
    const uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(folded_).substr(begin, ends_[i] - begin);
}

int ArchiveRowOf(const std::vector<uint32_t>& rows, uint32_t record) {
    auto at = std::lower_bound(rows.begin(), rows.end(), record);
    return at != rows.end() && *at == record ? static_cast<int>(at - rows.begin()) : -1;
}
