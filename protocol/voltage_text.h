#pragma once
#include <cstddef>
#include <string>

#include "common/test_record.h"

// Texts of a series as the protocols show them. A voltage that did not break
// down is shown as the main window shows it (">100 кВ"), never as a number
// with the flag bit folded in.

// A fixed-size text slot up to its terminator, never past the slot.
std::string SlotText(const char* slot, size_t size);
// As the main window shows it: "%.1f кВ", or ">%.0f кВ" without breakdown.
std::string VoltageWordText(uint16_t word);
// The breakdown voltages, comma and blank between them; empty for none.
std::string VoltageListText(const TestRecord& record);
// The mean; when it carries the no-breakdown bit, the bound voltage instead.
std::string MeanVoltageText(const TestRecord& record);
// The root-mean-square error, "%.1f кВ".
std::string RmsErrorText(const TestRecord& record);
// "ОРЛА-К200В заводской номер <serial>".
std::string InstrumentText(const char* serialNumber);
