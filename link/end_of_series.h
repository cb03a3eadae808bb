#pragma once
// The end of a series as the link sees it, and following whether one is under way.
#include <cstdint>

// A series has ended with at least one value: judged, its form texts taken,
// archived, the service history, the verdict shown, printing unlocked, and
// in run-in mode the next series armed. On the link worker.
void EndOfSeries();
// A series the link saw measuring, cut off by a lost link, is now reported
// no longer measuring with values: it ended while nobody listened.
bool SeriesEndedUnseen(bool measuring, uint8_t valueCount);
// After each accepted result or status answer: whether a series is under
// way from now on.
void FollowSeries(bool measuring);
