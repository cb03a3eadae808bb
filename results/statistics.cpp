#include "results/statistics.h"

// Placeholder until the statistics land.
void ComputeSeriesStatistics(TestRecord&) {}
void ComputeHeadStatistics(RecordHead&) {}
