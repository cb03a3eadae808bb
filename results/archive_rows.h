#pragma once
#include "results/test_record.h"

// The five column texts of an archive viewer row.
constexpr int kArchiveColumnCount = 5;

struct ArchiveRowTexts {
    char cells[kArchiveColumnCount][kProtocolTextSize];
};

void ArchiveRowCells(const TestRecord& record, ArchiveRowTexts* out);
// The breakdown voltages as the details pane lists them, each followed by a blank.
void ArchiveVoltageList(const TestRecord& record, char* out, size_t size);
// A voltage word as the archive shows it: "%.1f кВ", or ">%.0f кВ" when the
// sample did not break down.
void ArchiveVoltageText(char* out, size_t size, uint16_t word);
// The mean, or the bound voltage when the mean carries the no-breakdown bit.
void ArchiveMeanText(char* out, size_t size, const TestRecord& record);
