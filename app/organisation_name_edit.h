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
