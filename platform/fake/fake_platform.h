#pragma once
// The recording fake behind the platform seam, for native tests. Time is
// virtual: platform::Wait advances it and nothing ever really sleeps. Files
// live in memory. Window operations are recorded in order, control texts are
// remembered so GetText returns what was set, and message boxes return
// answers queued by the test.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/system_time.h"
#include "platform/ui.h"

namespace fake {

// Back to a fresh state: time 0, no files, empty logs, default answers.
void Reset();

// ---- clock
uint32_t Now();
void Advance(uint32_t milliseconds);
// Local time at virtual time 0 (default 2026-05-01 10:00:00, a Friday);
// LocalTime adds the virtual milliseconds to it.
void SetLocalTimeBase(const SystemTime& base);
// Called after every Wait with the new virtual time (the simulator hangs here).
void OnTimeAdvanced(std::function<void(uint32_t now)> hook);

// ---- files (paths are compared as given; the working folder is prepended
// to relative paths)
std::map<std::string, std::vector<uint8_t>>& Files();
bool FileExists(const std::string& path);
std::vector<uint8_t>& FileBytes(const std::string& path);  // creates
void SetFileLocked(const std::string& path, bool locked);   // as if another opener held it
void FailNextWrites(int count, uint32_t systemError = platform::kErrorWriteFault);  // next writes fail
// The room left on the disk for what files grow by from now on (a write
// that does not fit writes what fits, then fails with kErrorDiskFull);
// a negative room is no limit, as after Reset.
void SetFreeSpace(int64_t bytes);
// Opening the file fails with kErrorAccessDenied, as for a read-only folder.
void SetAccessDenied(const std::string& path, bool denied);
void SetAppDataFolder(const std::string& folder);            // "" = cannot be determined
// Where the program was started from (default C:\Program Files\ORLA-K200V).
void SetProgramFolder(const std::string& folder);            // "" = cannot be determined
std::string WorkingFolder();
std::vector<std::string>& CreatedFolders();

// ---- threads and the worker's queue
struct StartedThread {
    void (*entry)(void*);
    void* argument;
    bool lowestPriority;
    uint32_t id;
};
std::vector<StartedThread>& StartedThreads();
void FailThreadStarts(bool fail);
void PostToWorker(uint8_t command);  // as the user-interface thread would
void PostQuitToWorker();
std::vector<std::pair<uint32_t, uint8_t>>& PostedCommands();  // every PostCommand call

// ---- driver library
using FunctionLookup = std::function<void*(const char* name)>;
void SetDriverLibrary(const std::string& name, FunctionLookup lookup);  // lookup "" = library missing
std::vector<std::string>& LookedUpFunctions();

// ---- windows
struct UiCall {
    std::string op;       // "SetText", "Enable", "EnableMenuItem", "InsertMenuItemBefore", "SetCheck",
                          // "SetCaption", "AttachToolTip", "SetToolTip", "SendClose", "CloseControl", "ShowControl", "MessageBox",
                          // "PostMessageBox",
                          // "ListClear", "ListAddRow", "ListSelectRow", "ListScrollToEnd",
                          // "SetProgress", "ComboSetItems" (items joined, value = selected),
                          // "ComboSelect"
    ui::Window window;
    int id;
    std::string text;     // text, message box text, or cells joined with '|'
    std::string caption;  // message boxes
    int value;            // enabled/checked flag, style, row, position
    int value2;           // new id, maximum
};
std::vector<UiCall>& UiCalls();
std::vector<UiCall> UiCallsOf(const std::string& op);
void ClearUiCalls();
// What the control shows now (the last SetText, or a text the test typed).
std::string ControlText(ui::Window window, int id);
void TypeText(ui::Window window, int id, const std::string& text);
// The items a drop-down list holds now (ComboSetItems).
std::vector<std::string> ComboItems(ui::Window window, int id);
bool IsEnabled(ui::Window window, int id);      // controls start enabled
bool IsMenuEnabled(ui::Window window, int id);  // menu items start enabled
void SetWindowRect(ui::Window window, int left, int top, int right, int bottom);  // Main exists after Reset
void QueueMessageBoxAnswer(int answer);  // default when the queue is empty: kAnswerOk
// Windows other than Main exist only once a test says so.
void SetWindowExists(ui::Window window, bool exists);
// Every platform::Beep as (virtual time at its start, frequency, milliseconds).
struct BeepCall {
    uint32_t at;
    uint32_t frequency;
    uint32_t milliseconds;
};
std::vector<BeepCall>& Beeps();

}  // namespace fake
