#pragma once
// The main window's 13 protocol form fields, in the order of the record's
// protocol texts; app/resource_ids.h takes them from here. Plain defines so
// that windres can read them too.

#define IDC_FIRST_FIELD 140
#define IDC_LAST_FIELD 152
