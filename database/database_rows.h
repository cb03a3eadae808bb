// One archived record as one row of the laboratory database's table orla_series.
#pragma once
#include <string>
#include <vector>

#include "platform/database.h"
#include "common/test_record.h"

constexpr const char* kSeriesTable = "orla_series";

// A column of orla_series: its name and what its values are.
struct SeriesColumn {
    const char* name;
    platform::db::Value::Kind kind;
    bool nullable;
};

// Every column in the order SeriesRow gives the values; the first three are
// the unique key (instrument, test time, amendment).
const std::vector<SeriesColumn>& SeriesColumns();
constexpr int kSeriesKeyColumns = 3;

// The row of one record: texts converted from Windows-1251 to UTF-8,
// voltages in kilovolts with their no-breakdown flags (both NULL for a slot
// not measured), the stored decision (NULL throughout for a series never
// judged). serialUtf8 names the instrument, sentAt is now.
std::vector<platform::db::Value> SeriesRow(const TestRecord& record, const std::string& serialUtf8,
                                           const SystemTime& sentAt);

// Whether a record can go into the table: its crc holds and its test time is
// a real date. A damaged record stays in log.dat for the viewer's warning.
bool SendableRecord(const TestRecord& record);
