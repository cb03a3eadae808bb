#pragma once
// Archived series as CSV lines, for the viewer's export and orla-archive.
#include <cstddef>
#include <string>

#include "common/test_record.h"

// Archived series as CSV for spreadsheets and laboratory information systems:
// one row per series, UTF-8 with a byte order mark, so Excel keeps Cyrillic.

struct CsvFormat {
    const char* separator;     // the list separator, e.g. ";" (Windows allows up to three characters)
    const char* decimalPoint;  // e.g. "," or "."
};

// The byte order mark that makes Excel read the file as UTF-8.
constexpr char kCsvByteOrderMark[] = "\xEF\xBB\xBF";
// The stored decision's cells: method, norm, good limit, dispersion rule,
// conclusion, deviations.
constexpr int kArchiveCsvVerdictColumns = 6;
// Number of cells in a header or a row.
constexpr int kArchiveCsvColumns = kProtocolTextCount + 2 + kVoltageSlots + 3 + 5 + kArchiveCsvVerdictColumns + 1;

// A Windows-1251 text up to its terminator, never past size bytes, as UTF-8.
std::string Cp1251ToUtf8(const char* text, size_t size);
// A UTF-8 text as Windows-1251; a character the code page lacks, or a byte
// that starts no character, becomes '?'.
std::string Utf8ToCp1251(const std::string& utf8);
// One cell as CSV holds it: quoted, with quotes doubled, when it contains the
// separator, a quote or a line break; otherwise unchanged.
std::string CsvCell(const std::string& text, const char* separator);
// The name of protocol text k (0 to 12) as the form labels it, Windows-1251;
// the form's "Должность" and "ФИО" read "Испытание произвел: ...".
const char* ProtocolTextLabel(int k);
// The header line in UTF-8, ending in CR LF; no byte order mark.
std::string ArchiveCsvHeader(const CsvFormat& format);
// The line of one series in UTF-8, ending in CR LF. Voltage slots at or above
// valueCount are empty cells; a value without breakdown reads ">100". The
// stored decision follows; its six cells are empty for a series not judged.
// Last, the record's amendment number.
std::string ArchiveCsvRow(const TestRecord& record, const CsvFormat& format);
