#pragma once

// A series has ended with at least one value: history, form texts, archive,
// printing unlocked, and in run-in mode the next series armed.
void EndOfSeries();
