#pragma once
// The five test-parameter fields of a window (the main window, the archive viewer's details).
#include "platform/ui.h"
#include "results/test_parameters.h"

// Fields 133..137 of window take these texts as they are; synchronous, on
// the thread that calls it.
void ShowParameterTextsIn(ui::Window window, const TestParameterTexts& texts);
