#pragma once
// Mean, RMS error and coefficient of variation of a series.
#include "common/test_record.h"

// Mean, root-mean-square error and coefficient of variation, in place.
void ComputeSeriesStatistics(TestRecord& record);
// The same for a bare 64-byte record head (the service data log's records).
// A head carries no settings, so the caller says whether the instrument was
// set to report the error of the mean; the end of a series passes the
// record's own setting so archived and printed figures match the instrument.
void ComputeHeadStatistics(RecordHead& head, bool errorOfMean = false);
