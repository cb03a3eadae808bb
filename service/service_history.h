#pragma once
// The history of every completed series in service mode: a ring of the last
// 50 record heads for the series graph, a histogram of breakdown voltages by
// whole kilovolt, the counters, and the .sdat file named after the
// instrument's USB serial number. Written by the link worker only; the two
// graph threads read it without a lock and redraw every 100 ms, so a frame
// drawn during an update is right again in the next one.
#include <atomic>
#include <cstdint>

#include "common/test_record.h"

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

// A completed series: recomputes the head's statistics in place (the figures
// the archive and the protocols then receive), puts it into the ring and the
// histogram, lists it in the service view and appends it to the .sdat file.
// A head claiming more than six values adds only its six voltage words.
void AddServiceSeries(RecordHead& head, bool errorOfMean = false);
// Appends one head to the .sdat file; nothing without a log file name. A torn
// record left at the end by an earlier failure is cut off first, so every
// record stays on a 64-byte boundary. Failures lose this record only.
void AppendServiceLog(const RecordHead& head);
// Replays the .sdat file (created when missing) into the history without
// writing it again; a trailing partial record is skipped. Shows "0(n)".
void LoadServiceLog();
// Names the file after the serial number and loads it, once per run: later
// calls (reconnections) change nothing. False when already named.
bool OpenServiceLog(const char* usbSerialNumber);
// The series in progress goes into the ring slot of the next series.
void ShowSeriesInProgress(const RecordHead& head);
// Back to the empty history of a fresh process (tests).
void ResetServiceHistory();
