#pragma once
// The program's own settings: the record, the data folder and the INI file's keys.
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
    bool issueOnlyApproved;  // a version not approved is printed or saved only as a draft, when the user agrees
};

extern ProgramSettings g_programSettings;

// Takes the tabs out of a settings text in place: the name is a printed
// header, where a tab shows as a box or nothing. A tab between two words
// becomes one blank; one at a line's start or end, or beside a blank, goes.
void DropTabs(char* text);

// Called by LoadProgramSettings with the data folder right after it was
// found and made the working folder, before any key is read; start-up, on
// the user-interface thread. Not set: nothing is called.
using DataFolderFound = void (*)(const char* folder);
void SetDataFolderFound(DataFolderFound found);

// Finds or creates the data folder and the INI file, makes the folder the
// working directory and reads every key.
void LoadProgramSettings(ProgramSettings& settings);
// Writes every key from the record as it is: to ORLA-K200V.ini.tmp, then
// swapped in, so a write cut by a power failure never damages the file.
bool WriteProgramSettings(const ProgramSettings& settings);
// The same, only when a key's value changed since the last write or load;
// true when nothing needed writing.
bool WriteProgramSettingsIfChanged(const ProgramSettings& settings);
// Writes the chosen method and norm at once: they decide how the next
// series is judged and must survive a crash. False when either failed.
bool SaveMethodAndNorm(const ProgramSettings& settings);
// What the main window says at exit when the settings could not be written.
constexpr const char* kSettingsNotSaved =
    "Настройки программы и тексты протокола не удалось сохранить (файл ORLA-K200V.ini недоступен).";
