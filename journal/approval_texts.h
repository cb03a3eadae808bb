#pragma once
// What the dialog "Утверждение протокола" shows of a version and the approve line it registers.
#include <string>

#include "common/test_record.h"
#include "journal/journal.h"

// Texts in Windows-1251.
// The series: "<номер протокола> от ДД.ММ.ГГГГ" (the test date).
std::string ApprovalSeriesText(const TestRecord& version);
// The stored conclusion whole, or "не вынесено" for a series not judged.
std::string ApprovalConclusionText(const TestRecord& version);
// The text without the blanks around it; empty for a name not given.
std::string ApprovalFieldText(const char* typed);
// The approve line of the version: person the approver's name, details the position.
JournalEntry JournalApprovalEntry(const TestRecord& version, const std::string& approver, const std::string& position);
