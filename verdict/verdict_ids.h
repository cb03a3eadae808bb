#pragma once
// The main window's method line, norm list and verdict line, which the
// verdict room fills; app/resource_ids.h takes them from here. Plain defines
// so that windres can read them too.

#define IDC_VALUE_METHOD 138
#define IDC_NORM_CHOICE 175
#define IDC_VERDICT 176
