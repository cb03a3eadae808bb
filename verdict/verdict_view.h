#pragma once
// What the verdict room reads from the rooms above it: the instrument's
// state and the archive. The shell installs it at start-up; until then the
// instrument counts as not connected and the archive as empty.
#include "common/test_record.h"

struct VerdictView {
    // Whether the instrument is connected now; user-interface thread.
    bool (*deviceConnected)() = nullptr;
    // The settings the instrument last reported; user-interface thread,
    // asked only while it is connected.
    DeviceSettings (*reportedSettings)() = nullptr;
    // The archive's newest judged series of the sample source into *found,
    // false when it has none; user-interface thread.
    bool (*lastJudgedSeriesOfSource)(const char* source, TestRecord* found) = nullptr;
};

void SetVerdictView(const VerdictView& view);
