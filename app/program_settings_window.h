#pragma once
// The program settings meeting the main window: the form texts and the
// window rectangle, and the protocol template of a fresh data folder.
#include "common/program_settings.h"

// Puts the 13 form texts into the main window's fields 140..152.
void RestoreFormText(const ProgramSettings& settings);
// Takes the form texts and the window rectangle back and writes the keys;
// false when any key could not be written.
bool SaveProgramSettings(ProgramSettings& settings);
// The same, only when the form, the window or a setting changed since the
// last write; for the main window's timer, so a crash loses at most its period.
bool SaveProgramSettingsIfChanged(ProgramSettings& settings);
// Has LoadProgramSettings give a fresh data folder the installed protocol
// template as soon as the folder is found; the shell calls it at start-up.
void InstallTemplateSupply();
