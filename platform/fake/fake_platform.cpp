// The recording fake of the platform seam: files, clock, worker queue, driver and windows in memory.
#include "platform/fake/fake_platform.h"

#include <algorithm>
#include <deque>
#include <cstring>

#include "platform/clock.h"
#include "platform/d2xx.h"
#include "platform/files.h"
#include "platform/threads.h"
#include "platform/ui.h"

namespace {

struct OpenFile {
    std::string path;
    uint64_t position = 0;
};

struct State {
    uint32_t now = 0;
    SystemTime base{2026, 5, 5, 1, 10, 0, 0, 0};
    std::vector<std::function<void(uint32_t)>> timeHooks;

    std::map<std::string, std::vector<uint8_t>> files;
    std::map<std::string, bool> locked;
    std::map<platform::FileHandle, OpenFile> open;
    platform::FileHandle nextHandle = 100;
    int failWrites = 0;
    uint32_t failWriteError = 0;
    int64_t freeSpace = -1;
    std::map<std::string, bool> denied;
    std::string appData = "C:\\Users\\lab\\AppData\\Roaming";
    std::string programFolder = "C:\\Program Files\\ORLA-K200V";
    std::string workingFolder;
    std::vector<std::string> createdFolders;

    std::vector<fake::StartedThread> threads;
    bool failThreads = false;
    uint32_t nextThreadId = 1000;
    std::deque<int> workerQueue;
    std::vector<std::pair<uint32_t, uint8_t>> posted;

    std::map<std::string, fake::FunctionLookup> libraries;
    std::vector<std::string> lookedUp;

    std::vector<fake::UiCall> calls;
    std::map<std::pair<int, int>, std::string> texts;
    std::map<std::pair<int, int>, bool> enabled;
    std::map<std::pair<int, int>, bool> menuEnabled;
    std::map<int, std::vector<int>> rects;
    std::deque<int> answers;
    std::map<int, bool> exists;
    std::vector<fake::BeepCall> beeps;
    std::map<std::pair<int, int>, std::vector<std::vector<std::string>>> lists;
    std::map<std::pair<int, int>, int> comboSelection;
};

State& S() {
    static State state;
    return state;
}

std::pair<int, int> Key(ui::Window w, int id) { return {static_cast<int>(w), id}; }

void Record(const std::string& op, ui::Window w, int id, const std::string& text = "",
            int value = 0, int value2 = 0, const std::string& caption = "") {
    S().calls.push_back(fake::UiCall{op, w, id, text, caption, value, value2});
}

bool IsAbsolute(const std::string& p) {
    return (p.size() > 1 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

std::string Resolve(const char* path) {
    std::string p(path);
    if (IsAbsolute(p) || S().workingFolder.empty()) return p;
    return S().workingFolder + "\\" + p;
}

bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysIn(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && LeapYear(y) ? 29 : days[m - 1];
}

}  // namespace

namespace fake {

void Reset() {
    S() = State{};
}

uint32_t Now() { return S().now; }

void Advance(uint32_t ms) {
    S().now += ms;
    auto hooks = S().timeHooks;
    for (auto& hook : hooks) hook(S().now);
}

void SetLocalTimeBase(const SystemTime& base) { S().base = base; }
void OnTimeAdvanced(std::function<void(uint32_t)> hook) { S().timeHooks.push_back(std::move(hook)); }

std::map<std::string, std::vector<uint8_t>>& Files() { return S().files; }
bool FileExists(const std::string& path) { return S().files.count(Resolve(path.c_str())) != 0; }
std::vector<uint8_t>& FileBytes(const std::string& path) { return S().files[Resolve(path.c_str())]; }
void SetFileLocked(const std::string& path, bool locked) { S().locked[Resolve(path.c_str())] = locked; }
void FailNextWrites(int count, uint32_t systemError) {
    S().failWrites = count;
    S().failWriteError = systemError;
}
void SetFreeSpace(int64_t bytes) { S().freeSpace = bytes; }
void SetAccessDenied(const std::string& path, bool denied) { S().denied[Resolve(path.c_str())] = denied; }
void SetAppDataFolder(const std::string& folder) { S().appData = folder; }
void SetProgramFolder(const std::string& folder) { S().programFolder = folder; }
std::string WorkingFolder() { return S().workingFolder; }
std::vector<std::string>& CreatedFolders() { return S().createdFolders; }

std::vector<StartedThread>& StartedThreads() { return S().threads; }
void FailThreadStarts(bool fail) { S().failThreads = fail; }
void PostToWorker(uint8_t command) { S().workerQueue.push_back(command); }
void PostQuitToWorker() { S().workerQueue.push_back(-1); }
std::vector<std::pair<uint32_t, uint8_t>>& PostedCommands() { return S().posted; }

void SetDriverLibrary(const std::string& name, FunctionLookup lookup) { S().libraries[name] = std::move(lookup); }
std::vector<std::string>& LookedUpFunctions() { return S().lookedUp; }

std::vector<UiCall>& UiCalls() { return S().calls; }
std::vector<UiCall> UiCallsOf(const std::string& op) {
    std::vector<UiCall> out;
    for (const auto& c : S().calls)
        if (c.op == op) out.push_back(c);
    return out;
}
void ClearUiCalls() { S().calls.clear(); }
std::string ControlText(ui::Window w, int id) {
    auto it = S().texts.find(Key(w, id));
    return it == S().texts.end() ? std::string() : it->second;
}
void TypeText(ui::Window w, int id, const std::string& text) { S().texts[Key(w, id)] = text; }
std::vector<std::string> ComboItems(ui::Window w, int id) {
    std::vector<std::string> items;
    for (const auto& row : S().lists[Key(w, id)]) items.push_back(row.empty() ? std::string() : row[0]);
    return items;
}
bool IsEnabled(ui::Window w, int id) {
    auto it = S().enabled.find(Key(w, id));
    return it == S().enabled.end() || it->second;
}
bool IsMenuEnabled(ui::Window w, int id) {
    auto it = S().menuEnabled.find(Key(w, id));
    return it == S().menuEnabled.end() || it->second;
}
void SetWindowRect(ui::Window w, int l, int t, int r, int b) { S().rects[static_cast<int>(w)] = {l, t, r, b}; }
void QueueMessageBoxAnswer(int answer) { S().answers.push_back(answer); }
void SetWindowExists(ui::Window w, bool exists) { S().exists[static_cast<int>(w)] = exists; }
std::vector<BeepCall>& Beeps() { return S().beeps; }

}  // namespace fake

// ---------------------------------------------------------------- clock
namespace platform {

void Wait(uint32_t ms) { fake::Advance(ms); }
uint32_t TickCount() { return S().now; }

void LocalTime(SystemTime* out) {
    SystemTime t = S().base;
    uint64_t ms = t.wMilliseconds + static_cast<uint64_t>(S().now);
    uint64_t total = ms / 1000 + t.wSecond + 60ull * (t.wMinute + 60ull * t.wHour);
    t.wMilliseconds = static_cast<uint16_t>(ms % 1000);
    t.wSecond = static_cast<uint16_t>(total % 60);
    t.wMinute = static_cast<uint16_t>(total / 60 % 60);
    t.wHour = static_cast<uint16_t>(total / 3600 % 24);
    for (uint64_t days = total / 86400; days > 0; --days) {
        t.wDayOfWeek = static_cast<uint16_t>((t.wDayOfWeek + 1) % 7);
        if (++t.wDay > DaysIn(t.wYear, t.wMonth)) {
            t.wDay = 1;
            if (++t.wMonth > 12) {
                t.wMonth = 1;
                ++t.wYear;
            }
        }
    }
    *out = t;
}

uint32_t CycleCounterLow() { return 0x12345678u; }

void Beep(uint32_t frequency, uint32_t ms) {
    S().beeps.push_back(fake::BeepCall{S().now, frequency, ms});
    fake::Advance(ms);
}

// ---------------------------------------------------------------- files
FileHandle OpenExclusive(const char* path, OpenMode mode, uint32_t* systemError) {
    std::string p = Resolve(path);
    auto fail = [&](uint32_t code) {
        if (systemError) *systemError = code;
        return kNoFile;
    };
    for (const auto& entry : S().open)
        if (entry.second.path == p) return fail(kErrorSharingViolation);
    if (S().locked[p]) return fail(kErrorSharingViolation);
    if (S().denied[p]) return fail(kErrorAccessDenied);
    bool exists = S().files.count(p) != 0;
    bool mustExist = mode == OpenMode::ReadWriteExisting || mode == OpenMode::ReadExisting;
    if (!exists && mustExist) return fail(kErrorFileNotFound);
    if (!exists) {
        // A file in a folder nobody created cannot be made.
        std::string folder = p.substr(0, p.find_last_of('\\') == std::string::npos ? 0 : p.find_last_of('\\'));
        if (!folder.empty() && folder != S().appData &&
            std::find(S().createdFolders.begin(), S().createdFolders.end(), folder) == S().createdFolders.end())
            return fail(3);
        S().files[p];
    }
    FileHandle h = S().nextHandle++;
    S().open[h] = OpenFile{p, 0};
    if (systemError) *systemError = 0;
    return h;
}

bool FileSize(FileHandle file, uint64_t* size) {
    auto it = S().open.find(file);
    if (it == S().open.end()) return false;
    *size = S().files[it->second.path].size();
    return true;
}

bool SeekTo(FileHandle file, uint64_t position) {
    auto it = S().open.find(file);
    if (it == S().open.end()) return false;
    it->second.position = position;
    return true;
}

bool SeekToEnd(FileHandle file) {
    auto it = S().open.find(file);
    if (it == S().open.end()) return false;
    it->second.position = S().files[it->second.path].size();
    return true;
}

bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* got) {
    auto it = S().open.find(file);
    *got = 0;
    if (it == S().open.end()) return false;
    const auto& bytes = S().files[it->second.path];
    uint64_t pos = it->second.position;
    uint64_t n = pos >= bytes.size() ? 0 : std::min<uint64_t>(count, bytes.size() - pos);
    if (n) std::memcpy(buffer, bytes.data() + pos, n);
    it->second.position += n;
    *got = static_cast<uint32_t>(n);
    return true;
}

bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* written, uint32_t* systemError) {
    auto it = S().open.find(file);
    *written = 0;
    auto fail = [systemError](uint32_t code) {
        if (systemError) *systemError = code;
        return false;
    };
    if (it == S().open.end()) return fail(6);  // ERROR_INVALID_HANDLE
    if (S().failWrites > 0) {
        --S().failWrites;
        return fail(S().failWriteError);
    }
    auto& bytes = S().files[it->second.path];
    uint64_t pos = it->second.position;
    uint64_t fits = count;
    const uint64_t growth = pos + count > bytes.size() ? pos + count - bytes.size() : 0;
    if (S().freeSpace >= 0 && growth > static_cast<uint64_t>(S().freeSpace)) {
        const uint64_t over = growth - static_cast<uint64_t>(S().freeSpace);
        fits = over >= count ? 0 : count - over;
    }
    if (fits && bytes.size() < pos + fits) {
        if (S().freeSpace >= 0) S().freeSpace -= static_cast<int64_t>(pos + fits - bytes.size());
        bytes.resize(pos + fits);
    }
    if (fits) std::memcpy(bytes.data() + pos, buffer, fits);
    it->second.position += fits;
    *written = static_cast<uint32_t>(fits);
    return fits == count ? true : fail(kErrorDiskFull);
}

bool TruncateHere(FileHandle file) {
    auto it = S().open.find(file);
    if (it == S().open.end()) return false;
    auto& bytes = S().files[it->second.path];
    if (S().freeSpace >= 0 && it->second.position < bytes.size())
        S().freeSpace += static_cast<int64_t>(bytes.size() - it->second.position);
    bytes.resize(it->second.position);
    return true;
}

void CloseFile(FileHandle file) { S().open.erase(file); }

bool MoveFileOver(const char* from, const char* to) {
    std::string a = Resolve(from), b = Resolve(to);
    for (const auto& entry : S().open)
        if (entry.second.path == a || entry.second.path == b) return false;
    if (!S().files.count(a) || S().locked[b]) return false;
    S().files[b] = S().files[a];
    S().files.erase(a);
    return true;
}

bool MoveFileNew(const char* from, const char* to, uint32_t* systemError) {
    std::string a = Resolve(from), b = Resolve(to);
    uint32_t error = 0;
    for (const auto& entry : S().open)
        if (entry.second.path == a || entry.second.path == b) error = kErrorSharingViolation;
    if (!error && (S().locked[a] || S().locked[b])) error = kErrorSharingViolation;
    if (!error && !S().files.count(a)) error = kErrorFileNotFound;
    if (!error && S().files.count(b)) error = kErrorAlreadyExists;
    if (error) {
        if (systemError) *systemError = error;
        return false;
    }
    S().files[b] = S().files[a];
    S().files.erase(a);
    return true;
}

bool SameFile(const char* a, const char* b) {
    auto normal = [](const char* path) {
        std::string p = Resolve(path);
        for (char& c : p) {
            if (c == '/') c = '\\';
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return p;
    };
    return normal(a) == normal(b);
}

bool AppDataFolder(char* buffer, size_t size) {
    if (S().appData.empty() || S().appData.size() + 1 > size) return false;
    std::memcpy(buffer, S().appData.c_str(), S().appData.size() + 1);
    return true;
}

bool ProgramFolder(char* buffer, size_t size) {
    if (S().programFolder.empty() || S().programFolder.size() + 1 > size) return false;
    std::memcpy(buffer, S().programFolder.c_str(), S().programFolder.size() + 1);
    return true;
}

void CreateFolder(const char* path) {
    auto& folders = S().createdFolders;
    if (std::find(folders.begin(), folders.end(), path) == folders.end()) folders.push_back(path);
}

void SetWorkingFolder(const char* path) { S().workingFolder = path; }

// ---------------------------------------------------------------- threads
bool StartThread(ThreadEntry entry, void* argument, bool lowestPriority, uint32_t* id) {
    if (S().failThreads) return false;
    uint32_t tid = S().nextThreadId++;
    S().threads.push_back(fake::StartedThread{entry, argument, lowestPriority, tid});
    if (id) *id = tid;
    return true;
}

void PostCommand(uint32_t threadId, uint8_t command) {
    S().posted.emplace_back(threadId, command);
    S().workerQueue.push_back(command);
}

TakeResult TakeCommand(uint8_t* command) {
    if (S().workerQueue.empty()) return TakeResult::Nothing;
    int c = S().workerQueue.front();
    S().workerQueue.pop_front();
    if (c < 0) return TakeResult::Quit;
    *command = static_cast<uint8_t>(c);
    return TakeResult::Command;
}

// ---------------------------------------------------------------- driver
void* LoadDriverLibrary(const char* name) {
    auto it = S().libraries.find(name);
    if (it == S().libraries.end() || !it->second) return nullptr;
    return &it->second;
}

void* DriverFunction(void* library, const char* name) {
    S().lookedUp.push_back(name);
    return (*static_cast<fake::FunctionLookup*>(library))(name);
}

}  // namespace platform

// ---------------------------------------------------------------- windows
namespace ui {

// The main window exists from the start; the others when a test says so.
bool Exists(Window w) {
    auto it = S().exists.find(static_cast<int>(w));
    return it == S().exists.end() ? w == Window::Main : it->second;
}

void SetText(Window w, int id, const char* text) {
    S().texts[Key(w, id)] = text;
    Record("SetText", w, id, text);
}

int GetText(Window w, int id, char* buffer, int size) {
    if (size <= 0) return 0;
    std::string t = fake::ControlText(w, id);
    int n = std::min<int>(static_cast<int>(t.size()), size - 1);
    std::memcpy(buffer, t.data(), n);
    buffer[n] = 0;
    return n;
}

void Enable(Window w, int id, bool on) {
    S().enabled[Key(w, id)] = on;
    Record("Enable", w, id, "", on);
}

void EnableMenuItem(Window w, int id, bool on) {
    S().menuEnabled[Key(w, id)] = on;
    Record("EnableMenuItem", w, id, "", on);
}

void InsertMenuItemBefore(Window w, int beforeId, int newId, const char* text) {
    Record("InsertMenuItemBefore", w, beforeId, text, 0, newId);
}

void SetCheck(Window w, int id, bool checked) { Record("SetCheck", w, id, "", checked); }
void SetCaption(Window w, const char* text) { Record("SetCaption", w, 0, text); }
void AttachToolTip(Window w, int id) { Record("AttachToolTip", w, id); }
void SetToolTip(Window w, int id, const char* text) { Record("SetToolTip", w, id, text); }
bool GetWindowRect(Window w, int* l, int* t, int* r, int* b) {
    auto it = S().rects.find(static_cast<int>(w));
    if (it == S().rects.end()) return false;
    *l = it->second[0];
    *t = it->second[1];
    *r = it->second[2];
    *b = it->second[3];
    return true;
}

void SendClose(Window w) { Record("SendClose", w, 0); }
void CloseControl(Window w, int id) { Record("CloseControl", w, id); }
void ShowControl(Window w, int id, bool shown) { Record("ShowControl", w, id, "", shown); }

int MessageBox(Window owner, const char* text, const char* caption, unsigned style) {
    Record("MessageBox", owner, 0, text, static_cast<int>(style), 0, caption);
    if (S().answers.empty()) return (style & 0xF) == kYesNo ? kAnswerNo : kAnswerOk;
    int a = S().answers.front();
    S().answers.pop_front();
    return a;
}

void PostMessageBox(Window owner, const char* text, const char* caption, unsigned style) {
    Record("PostMessageBox", owner, 0, text, static_cast<int>(style), 0, caption);
}

void ListClear(Window w, int id) {
    S().lists[Key(w, id)].clear();
    Record("ListClear", w, id);
}

int ListAddRow(Window w, int id, const char* const* cells, int count) {
    std::vector<std::string> row(cells, cells + count);
    std::string joined;
    for (int i = 0; i < count; ++i) joined += (i ? "|" : "") + row[i];
    auto& rows = S().lists[Key(w, id)];
    rows.push_back(row);
    Record("ListAddRow", w, id, joined, static_cast<int>(rows.size()) - 1);
    return static_cast<int>(rows.size()) - 1;
}

int ListRowCount(Window w, int id) { return static_cast<int>(S().lists[Key(w, id)].size()); }
void ListSelectRow(Window w, int id, int row) { Record("ListSelectRow", w, id, "", row); }
void ListScrollToEnd(Window w, int id) { Record("ListScrollToEnd", w, id); }
void SetProgress(Window w, int id, int position, int maximum) { Record("SetProgress", w, id, "", position, maximum); }

void ComboSetItems(Window w, int id, const char* const* items, int count, int selected) {
    auto& rows = S().lists[Key(w, id)];
    rows.clear();
    std::string joined;
    for (int i = 0; i < count; ++i) {
        rows.push_back({items[i]});
        joined += (i ? "|" : "") + std::string(items[i]);
    }
    S().comboSelection[Key(w, id)] = selected >= 0 && selected < count ? selected : -1;
    Record("ComboSetItems", w, id, joined, selected);
}

void ComboSelect(Window w, int id, int item) {
    int count = static_cast<int>(S().lists[Key(w, id)].size());
    S().comboSelection[Key(w, id)] = item >= 0 && item < count ? item : -1;
    Record("ComboSelect", w, id, "", item);
}

int ComboSelection(Window w, int id) {
    auto it = S().comboSelection.find(Key(w, id));
    return it == S().comboSelection.end() ? -1 : it->second;
}

}  // namespace ui
