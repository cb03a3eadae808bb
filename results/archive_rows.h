#pragma once
// The texts of an archive viewer row, and the voltage list of its details pane.
#include <cstddef>
#include <string>

#include "results/test_record.h"

// The column texts of an archive viewer row: the five of the first viewer,
// the test's time of day, so the series of one day can be told apart, which
// version of the series the row shows ("изм. 2", empty for the original) and
// the stored conclusion in short ("соотв.", empty for a series not judged).
constexpr int kArchiveColumnCount = 8;

struct ArchiveRowTexts {
    char cells[kArchiveColumnCount][kProtocolTextSize];
};

void ArchiveRowCells(const TestRecord& record, ArchiveRowTexts* out);
// The breakdown voltages as the details pane lists them, each followed by a blank.
void ArchiveVoltageList(const TestRecord& record, char* out, size_t size);
// The details pane's last line: "Заключение: " and the whole stored
// conclusion; empty for a record not judged.
std::string ArchiveConclusionLine(const TestRecord& record);
