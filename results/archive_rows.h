#pragma once
// The texts of an archive viewer row, and the voltage list of its details pane.
#include <cstddef>
#include <string>
#include <vector>

#include "results/archive_versions.h"
#include "results/version_approval.h"
#include "common/test_record.h"

// The column texts of an archive viewer row: the five of the first viewer,
// the test's time of day, so the series of one day can be told apart, which
// version of the series the row shows ("изм. 2", empty for the original) and
// the stored conclusion in short ("соотв.", empty for a series not judged)
// and when that version was approved ("утв. 09.12.2026", empty if it is not).
constexpr int kArchiveColumnCount = 9;

struct ArchiveRowTexts {
    char cells[kArchiveColumnCount][kProtocolTextSize];
};

// damaged marks the row of a series holding a record whose crc fails: its
// protocol number is preceded by kDamagedRowMark.
// approval: the approval of the record's very version, nullptr for none.
void ArchiveRowCells(const TestRecord& record, ArchiveRowTexts* out, bool damaged = false,
                     const VersionApproval* approval = nullptr);
constexpr char kDamagedRowMark[] = "! ";

// The series, by first record, that hold the records at damagedRecords
// (file positions), each once, ascending.
std::vector<uint32_t> ArchiveDamagedSeries(const std::vector<uint32_t>& damagedRecords,
                                           const ArchiveVersions& versions);
// Where those series stand in the list whose rows show the series of rows
// (first records, ascending): list rows from 0, ascending; series not listed
// are left out.
std::vector<uint32_t> ArchiveDamagedRows(const std::vector<uint32_t>& damagedSeries,
                                         const std::vector<uint32_t>& rows);
// The breakdown voltages as the details pane lists them, each followed by a blank.
void ArchiveVoltageList(const TestRecord& record, char* out, size_t size);
// The details pane's last line: "Заключение: " and the whole stored
// conclusion; empty for a record not judged.
std::string ArchiveConclusionLine(const TestRecord& record);
// The details pane's approval line: "Утвердил: <должность> <ФИО>, <дата>".
std::string ArchiveApproverLine(const VersionApproval& approval);
