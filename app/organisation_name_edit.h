#pragma once
// The organisation name on its way into the rich-edit field of the program
// settings dialog. Kept free of Windows.
#include <cstddef>

// Copies the stored name into out (outSize bytes, always terminated) with
// every line break as CR LF. The settings file gives a break back as a blank
// and LF; shown as it comes, every open-and-OK would add one more blank
// before each break to the saved name. A lone LF becomes CR LF too. A pair
// that does not fit is left out whole.
void OrganisationNameForEdit(const char* stored, char* out, size_t outSize);
// Takes the tabs out of a settings text in place: the name is a printed
// header, where a tab shows as a box or nothing. A tab between two words
// becomes one blank; one at a line's start or end, or beside a blank, goes.
void DropTabs(char* text);
