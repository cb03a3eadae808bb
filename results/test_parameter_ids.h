#pragma once
// Ids of the five test-parameter fields, the same in the main window and the
// archive viewer's details pane. Plain defines so that windres can read them too.
#define IDC_VALUE_COUNT 133
#define IDC_VALUE_PAUSE 134
#define IDC_VALUE_DELAY 135
#define IDC_VALUE_RATE 136
#define IDC_VALUE_MAXIMUM 137
