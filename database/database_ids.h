#pragma once
// The main window's line of the laboratory database, which the sender fills;
// app/resource_ids.h takes it from here. Plain defines so that windres can read them too.

// The quiet line of series not yet in the laboratory database, with its error tip.
#define IDC_DATABASE_STATE 177
