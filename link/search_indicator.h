#pragma once
// The status bar's "Поиск прибора" with growing dots while no instrument answers.

// "Поиск прибора" with growing dots in the status bar while the link is down.
// Starts the indicator thread once; a thread that cannot be created ends the
// program.
void EnsureSearchIndicator();
// One tick of the indicator (the thread runs it every 300 ms).
void SearchIndicatorStep();
void ResetSearchIndicator();
