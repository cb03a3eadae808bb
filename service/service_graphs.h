#pragma once
// The two service graphs as frames of plain data: the voltages of the last 50
// series as groups of bars (graph 660) and the histogram of every breakdown
// voltage seen (graph 661). The graph threads replay these lists with OpenGL.
#include <cstdint>

#include "common/draw_list.h"
#include "service/service_history.h"

// Bar positions per series: six voltages and, while a series runs, one bar
// for the measurement under way. A group never spills into its neighbour's.
constexpr int kBarsPerSeries = 7;
// Histogram classes drawn: 0 to 100 kV; higher classes are counted, not shown.
constexpr int kHistogramShownClasses = 101;

// Graph 660. todayDay/todayMonth: the local date; a series of the same day
// and month (of any year) starts with a yellow bar, any other with orange.
// Reads each record head of the ring once, so a head that the link worker
// rewrites meanwhile gives at worst one odd frame.
DrawList BuildSeriesGraph(const ServiceHistory& history, uint16_t todayDay, uint16_t todayMonth);

// Graph 661, scaled to the tallest shown class (at least 1).
DrawList BuildVoltageHistogram(const ServiceHistory& history);

// Bars that the series graph draws for one record head: the values present,
// one more for a measurement under way, never more than kBarsPerSeries
// (a damaged log may claim more values than a head holds).
int SeriesBarCount(const RecordHead& head);
