// The rows of the window "Журнал протоколов": the register's lines in Russian words, the find and the CSV export.
#include "journal/journal_view.h"

#include "results/archive_csv.h"
#include "results/archive_filter.h"

namespace {

// The file's fields in the order of the window's columns (all but the two hashes).
constexpr size_t kShownFields[kJournalViewColumns] = {0, 1, kJournalEventField, 3, 4, 5, 6, 7, 8};
constexpr int kEventColumn = 2;
// What the find searches: protocol number, person and details.
constexpr int kSearchedColumns[] = {4, 7, 8};

std::string Folded(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(FoldCp1251(static_cast<uint8_t>(c)));
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// "YYYY-MM-DD hh:mm:ss" as a Russian reader writes it; anything else unchanged.
std::string DisplayTime(const std::string& text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ') return text;
    return text.substr(8, 2) + "." + text.substr(5, 2) + "." + text.substr(0, 4) + text.substr(10);
}

JournalViewRow RowOf(const JournalLine& line) {
    JournalViewRow row;
    for (int c = 0; c < kJournalViewColumns; ++c) {
        if (kShownFields[c] >= line.fields.size()) break;
        row.cells[c] = Utf8ToCp1251(line.fields[kShownFields[c]]);
    }
    row.cells[1] = DisplayTime(row.cells[1]);
    row.cells[3] = DisplayTime(row.cells[3]);
    row.cells[kEventColumn] = JournalEventWords(row.cells[kEventColumn]);
    for (int c : kSearchedColumns) row.searched += Folded(row.cells[c]) + '\n';
    return row;
}

}  // namespace

const char* const kJournalViewHeaders[kJournalViewColumns] = {
    "№", "Время", "Событие", "Дата испытания", "Протокол №", "Изм.", "Учётная запись", "Кто", "Подробности",
};

std::string JournalEventWords(const std::string& name) {
    static const char* const kWords[] = {"серия",    "импорт",        "изменение",     "утверждение",
                                         "выдача",   "архив отложен", "начало журнала"};
    for (int e = 0; e < static_cast<int>(sizeof kWords / sizeof kWords[0]); ++e)
        if (name == JournalEventName(static_cast<JournalEvent>(e))) return kWords[e];
    return name;
}

std::vector<JournalViewRow> JournalViewRows(const JournalFile& file) {
    std::vector<JournalViewRow> rows;
    rows.reserve(file.lines.size());
    for (auto line = file.lines.rbegin(); line != file.lines.rend(); ++line) rows.push_back(RowOf(*line));
    return rows;
}

void JournalViewFind(const std::vector<JournalViewRow>& rows, const std::string& text, std::vector<uint32_t>* shown) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const std::string needle = Folded(text.substr(begin, end - begin));
    shown->clear();
    for (uint32_t i = 0; i < rows.size(); ++i)
        if (needle.empty() || rows[i].searched.find(needle) != std::string::npos) shown->push_back(i);
}

std::string JournalViewCsv(const std::vector<JournalViewRow>& rows, const std::vector<uint32_t>& shown,
                           const char* separator) {
    std::string csv = kCsvByteOrderMark;
    auto line = [&csv, separator](const auto& cells) {
        for (int c = 0; c < kJournalViewColumns; ++c) {
            if (c > 0) csv += separator;
            const std::string text = cells[c];
            csv += CsvCell(Cp1251ToUtf8(text.data(), text.size()), separator);
        }
        csv += "\r\n";
    };
    line(kJournalViewHeaders);
    for (uint32_t i : shown)
        if (i < rows.size()) line(rows[i].cells);
    return csv;
}
