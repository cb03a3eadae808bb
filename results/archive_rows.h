#pragma once
#include <cstddef>

#include "results/test_record.h"

// The five column texts of an archive viewer row.
constexpr int kArchiveColumnCount = 5;

struct ArchiveRowTexts {
    char cells[kArchiveColumnCount][kProtocolTextSize];
};

void ArchiveRowCells(const TestRecord& record, ArchiveRowTexts* out);
// The breakdown voltages as the details pane lists them, each followed by a blank.
void ArchiveVoltageList(const TestRecord& record, char* out, size_t size);
