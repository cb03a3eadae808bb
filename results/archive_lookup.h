#pragma once
// Questions the main window asks of log.dat without opening the viewer.
#include <cstddef>

#include "results/test_record.h"

// How far back the sample-source lookup reads: the newest series first, so
// a source tested in recent weeks is found at once, and a large archive
// never makes leaving a field slow.
constexpr size_t kSourceLookupGroups = 2000;

// The newest judged series whose "Объект, из которого взята проба" is source
// (blanks around it ignored), among the last kSourceLookupGroups; false when
// there is none, the source is empty or the file is busy or missing.
bool LastJudgedSeriesOfSource(const char* source, TestRecord* found);
