#pragma once
// Ids the results viewers share with the main window: the program's icons and
// the form's text fields, which the archive viewer's pane shows with the
// same ids. app/resource_ids.h takes them from here. Plain defines so that
// windres can read them too.

#define IDI_SMALL 90
#define IDI_MAIN 91

#include "common/form_ids.h"
