#pragma once
#include "results/test_record.h"

// Mean, root-mean-square error and coefficient of variation, in place.
void ComputeSeriesStatistics(TestRecord& record);
// The same for a bare 64-byte record head (the service data log's records).
void ComputeHeadStatistics(RecordHead& head);
