#pragma once
// Finds archive rows by a text and a range of test dates, quickly enough to run
// on every keystroke over a laboratory's decade of series.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/archive_versions.h"
#include "common/test_record.h"

// Windows-1251 byte to its lower-case form (Latin, Russian with Ё, and the
// other Cyrillic letters of the code page); any other byte maps to itself.
uint8_t FoldCp1251(uint8_t c);

// A calendar day as one comparable number; the time of day is ignored.
uint32_t ArchiveDayKey(uint16_t year, uint16_t month, uint16_t day);
inline uint32_t ArchiveDayKey(const SystemTime& t) { return ArchiveDayKey(t.wYear, t.wMonth, t.wDay); }

// The protocol texts the find searches: protocol number, material, standard,
// sample source and both tester texts. It searches the stored conclusion too.
constexpr int kArchiveSearchedTexts[] = {0, 1, 2, 3, 11, 12};

// The records' conclusions, folded, in one buffer. Composing a conclusion
// costs more than searching it, and a keystroke would compose one per record;
// so each is composed once, when the viewer takes its record.
class ArchiveConclusions {
public:
    // Appends the next record's conclusion (nothing for a record not judged).
    void Add(const TestRecord& record);
    size_t size() const { return ends_.size(); }
    // The folded conclusion of the i-th record added.
    std::string_view Text(size_t i) const;

private:
    std::string folded_;
    std::vector<uint32_t> ends_;
};

class ArchiveFilter {
public:
    // text: Windows-1251; blanks around it are dropped, and an empty text
    // matches every record. The dates bound testTime by day, both edges
    // included; 0 leaves that side open (see ArchiveDayKey).
    explicit ArchiveFilter(const std::string& text = std::string(), uint32_t fromDay = 0,
                           uint32_t toDay = 0);

    // True when the record lies in the date range and, unless the text is
    // empty, one searched text or the conclusion contains it regardless of
    // letter case. Reads no text past its 256-byte slot, terminated or not.
    bool Matches(const TestRecord& record) const;
    // The same with the record's conclusion as ArchiveConclusions holds it.
    bool Matches(const TestRecord& record, std::string_view foldedConclusion) const;

    // Replaces *out by the indices of the matching records, ascending. Keeps
    // the vector's storage, so a caller refiltering per keystroke allocates
    // once. conclusions, when given, holds the first count records' ones.
    void Filter(const TestRecord* records, size_t count, std::vector<uint32_t>* out,
                const ArchiveConclusions* conclusions = nullptr) const;

    // The same over series: *out gets the first record of each series whose
    // newest version matches, ascending; a series is never counted twice.
    void FilterSeries(const TestRecord* records, const ArchiveVersions& versions, size_t count,
                      std::vector<uint32_t>* out, const ArchiveConclusions* conclusions = nullptr) const;

    bool MatchesAll() const { return needle_.empty() && fromDay_ == 0 && toDay_ == 0; }

private:
    bool SlotContains(const char* slot) const;
    bool InDates(const TestRecord& record) const;
    bool TextsContain(const TestRecord& record) const;

    std::string needle_;  // folded
    uint32_t fromDay_;
    uint32_t toDay_;
};

// The row of a record in an ascending list of record indices, or -1.
int ArchiveRowOf(const std::vector<uint32_t>& rows, uint32_t record);
