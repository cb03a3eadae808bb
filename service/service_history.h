#pragma once
// The history of every completed series in service mode: a ring of the last
// 50 record heads for the series graph, a histogram of breakdown voltages by
// whole kilovolt, the counters, and the .sdat file named after the
// instrument's USB serial number. Written by the link worker only; the two
// graph threads read it without a lock and redraw every 100 ms, so a frame
// drawn during an update is right again in the next one.
#include <atomic>
#include <cstdint>

#include "results/test_record.h"

constexpr int kServiceRingSize = 50;
constexpr int kHistogramClasses = 256;

struct ServiceHistory {
    RecordHead seriesRing[kServiceRingSize];
    std::atomic<uint32_t> voltageHistogram[kHistogramClasses];
    std::atomic<int32_t> seriesCount;
    int32_t loadedCount;
    char logFileName[32];  // "<serial>.sdat"; empty until the first connection
};

extern ServiceHistory g_serviceHistory;
