#pragma once
// The test-cell picture's window and the group box it is placed beside;
// app/resource_ids.h takes them from here. Plain defines so that windres can read them too.

#define IDC_GROUP_PARAMETERS 127
#define IDC_PICTURE 173
