#pragma once
#include <atomic>
#include <cstdint>

// The program's own settings, kept in ORLA-K200V.ini in the data folder.
struct ProgramSettings {
    char iniPath[256];
    bool firstRun;
    std::atomic<bool> serviceMode;   // read by the link worker
    std::atomic<bool> progonkaMode;  // read by the link worker
    int32_t windowX, windowY, windowW, windowH;
    char organisationName[1024];
    char priborSerialNumber[256];
    char direktor[256];
    char direktorName[256];
    char formText[13][256];
    char methodName[128];  // the test method chosen; empty for none ("своя")
    char normName[256];    // the norm chosen in the main window; empty for none
    char databaseConnection[1024];  // the laboratory database's ODBC connection string; empty for none
};

extern ProgramSettings g_programSettings;

// Finds or creates the data folder and the INI file, makes the folder the
// working directory and reads every key.
void LoadProgramSettings(ProgramSettings& settings);
// Puts the 13 form texts into the main window's fields 140..152.
void RestoreFormText(const ProgramSettings& settings);
// Takes the form texts and the window rectangle back and writes the keys;
// false when any key could not be written.
bool SaveProgramSettings(ProgramSettings& settings);
// The same, only when the form, the window or a setting changed since the
// last write; for the main window's timer, so a crash loses at most its period.
bool SaveProgramSettingsIfChanged(ProgramSettings& settings);
// Writes every key from the record as it is: to ORLA-K200V.ini.tmp, then
// swapped in, so a write cut by a power failure never damages the file.
bool WriteProgramSettings(const ProgramSettings& settings);
// Writes the chosen method and norm at once: they decide how the next
// series is judged and must survive a crash. False when either failed.
bool SaveMethodAndNorm(const ProgramSettings& settings);
// What the main window says at exit when SaveProgramSettings failed.
constexpr const char* kSettingsNotSaved =
    "Настройки программы и тексты протокола не удалось сохранить (файл ORLA-K200V.ini недоступен).";
