// The program's own settings: the data folder, the INI file, reading and writing its keys.
#include "common/program_settings.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/format.h"
#include "platform/files.h"

ProgramSettings g_programSettings;

namespace {

DataFolderFound g_dataFolderFound = nullptr;

const char kProgramm[] = "Programm";
const char kMainWnd[] = "MainWnd";
const char kFolderName[] = "ORLA-K200V";

// The profile API keeps one line per value, so the organisation name's line
// breaks travel as other bytes. Reading turns CR into a blank, not back into
// CR: the lines still break at the LF.
constexpr char kEncodedLf = '\x60';
constexpr char kEncodedCr = '\xAE';

void EncodeLineBreaks(char* text) {
    for (char* p = text; *p; ++p) {
        if (*p == '\n') *p = kEncodedLf;
        else if (*p == '\r') *p = kEncodedCr;
    }
}

void DecodeLineBreaks(char* text) {
    for (char* p = text; *p; ++p) {
        if (*p == kEncodedLf) *p = '\n';
        else if (*p == kEncodedCr) *p = ' ';
    }
}

bool EndsWord(char c) { return c == 0 || c == ' ' || c == '\r' || c == '\n'; }

// A signed decimal from the leading sign and digits; 0 when there are none.
int32_t ParseNumber(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    int64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > 0x80000000LL) value = 0x80000000LL;
    }
    value = negative ? -value : value;
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
    return static_cast<int32_t>(value);
}

int32_t ReadNumber(const char* section, const char* key, const char* path) {
    char text[64];
    platform::ProfileGetString(section, key, "0", text, sizeof text, path);
    return ParseNumber(text);
}

bool WriteNumber(const char* key, int32_t value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return platform::ProfileWriteString(kMainWnd, key, text, path);
}

// A settings file that is missing, or empty because the program was never
// closed after making it, means no one has filled in the program settings.
bool SettingsFileIsNew(const char* path) {
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return true;
    uint64_t size = 0;
    const bool empty = platform::FileSize(file, &size) && size == 0;
    platform::CloseFile(file);
    return empty;
}

void TouchFile(const char* path) {
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::WriteAlways);
    if (file != platform::kNoFile) platform::CloseFile(file);
}

}  // namespace

namespace {
extern std::string g_lastWritten;
std::string Snapshot(const ProgramSettings& s);
}  // namespace

void DropTabs(char* text) {
    char* out = text;
    for (const char* p = text; *p;) {
        if (*p != '\t') {
            *out++ = *p++;
            continue;
        }
        while (*p == '\t') ++p;
        const bool betweenWords = out > text && !EndsWord(out[-1]) && !EndsWord(*p);
        if (betweenWords) *out++ = ' ';
    }
    *out = 0;
}

void SetDataFolderFound(DataFolderFound found) { g_dataFolderFound = found; }

void LoadProgramSettings(ProgramSettings& s) {
    char folder[256] = {};
    // Without an application-data folder the settings live beside the
    // current folder, so the program still keeps its archive and settings.
    if (!platform::AppDataFolder(folder, sizeof folder - 32)) std::strcpy(folder, ".");
    std::strcat(folder, "\\");
    std::strcat(folder, kFolderName);
    platform::CreateFolder(folder);
    platform::SetWorkingFolder(folder);
    if (g_dataFolderFound) g_dataFolderFound(folder);
    char path[sizeof folder + 32];
    std::snprintf(path, sizeof path, "%s\\%s.ini", folder, kFolderName);
    std::memcpy(s.iniPath, path, sizeof s.iniPath - 1);
    s.iniPath[sizeof s.iniPath - 1] = 0;
    // Nothing outside the program writes FirstRun=1 (the installer never
    // sees the user's data folder), so a new settings file is the first start.
    const bool newFile = SettingsFileIsNew(s.iniPath);
    TouchFile(s.iniPath);

    const char* ini = s.iniPath;
    s.firstRun = newFile || ReadNumber(kProgramm, "FirstRun", ini) != 0;
    s.windowX = ReadNumber(kMainWnd, "X", ini);
    s.windowY = ReadNumber(kMainWnd, "Y", ini);
    s.windowW = ReadNumber(kMainWnd, "W", ini);
    s.windowH = ReadNumber(kMainWnd, "H", ini);
    platform::ProfileGetString(kProgramm, "OrganisationName", "", s.organisationName, sizeof s.organisationName, ini);
    DecodeLineBreaks(s.organisationName);
    platform::ProfileGetString(kProgramm, "PriborSerialNumber", "", s.priborSerialNumber, sizeof s.priborSerialNumber, ini);
    platform::ProfileGetString(kProgramm, "Direktor", "", s.direktor, sizeof s.direktor, ini);
    platform::ProfileGetString(kProgramm, "DirektorName", "", s.direktorName, sizeof s.direktorName, ini);
    // A file written before tabs were kept out prints them no more, and the next write drops them.
    for (char* text : {s.organisationName, s.priborSerialNumber, s.direktor, s.direktorName}) DropTabs(text);
    for (int i = 0; i < 13; ++i) {
        char key[32];
        MakeNumberedKey(key, "String", i);
        platform::ProfileGetString(kProgramm, key, "", s.formText[i], sizeof s.formText[i], ini);
    }
    platform::ProfileGetString(kProgramm, "Method", "", s.methodName, sizeof s.methodName, ini);
    platform::ProfileGetString(kProgramm, "Norm", "", s.normName, sizeof s.normName, ini);
    platform::ProfileGetString(kProgramm, "Database", "", s.databaseConnection, sizeof s.databaseConnection, ini);
    s.issueOnlyApproved = ReadNumber(kProgramm, "IssueOnlyApproved", ini) != 0;
    s.serviceMode = ReadNumber(kProgramm, "ServiceMode", ini) != 0;
    if (s.serviceMode) s.progonkaMode = ReadNumber(kProgramm, "ProgonkaMode", ini) != 0;
    g_lastWritten = Snapshot(s);
}

namespace {

// Copies the file's bytes to the temporary file, so that keys the program
// does not write (ServiceMode, ProgonkaMode, a user's own) are carried over.
bool CopyForWriting(const char* from, const char* to) {
    std::string bytes;
    platform::FileHandle in = platform::OpenExclusive(from, platform::OpenMode::ReadExisting);
    if (in != platform::kNoFile) {
        char buffer[4096];
        uint32_t got = 0;
        while (platform::ReadFile(in, buffer, sizeof buffer, &got) && got > 0) bytes.append(buffer, got);
        platform::CloseFile(in);
    }
    platform::FileHandle out = platform::OpenExclusive(to, platform::OpenMode::WriteAlways);
    if (out == platform::kNoFile) return false;
    uint32_t written = 0;
    bool ok = platform::SeekTo(out, 0) &&
              platform::WriteFile(out, bytes.data(), static_cast<uint32_t>(bytes.size()), &written) &&
              written == bytes.size() && platform::TruncateHere(out);
    platform::CloseFile(out);
    return ok;
}

bool WriteKeys(const ProgramSettings& s, const char* ini) {
    // Every write is checked: a folder that cannot be written must not lose
    // the form texts without a word.
    bool ok = platform::ProfileWriteString(kProgramm, "FirstRun", "0", ini);
    // Encoded in a copy: the field stays as typed, for the protocols printed
    // while the program runs on.
    char name[sizeof s.organisationName];
    std::memcpy(name, s.organisationName, sizeof name);
    name[sizeof name - 1] = 0;
    EncodeLineBreaks(name);
    ok &= platform::ProfileWriteString(kProgramm, "OrganisationName", name, ini);
    ok &= platform::ProfileWriteString(kProgramm, "PriborSerialNumber", s.priborSerialNumber, ini);
    ok &= platform::ProfileWriteString(kProgramm, "Direktor", s.direktor, ini);
    ok &= platform::ProfileWriteString(kProgramm, "DirektorName", s.direktorName, ini);
    for (int i = 0; i < 13; ++i) {
        char key[32];
        MakeNumberedKey(key, "String", i);
        ok &= platform::ProfileWriteString(kProgramm, key, s.formText[i], ini);
    }
    ok &= platform::ProfileWriteString(kProgramm, "Method", s.methodName, ini);
    ok &= platform::ProfileWriteString(kProgramm, "Norm", s.normName, ini);
    ok &= platform::ProfileWriteString(kProgramm, "Database", s.databaseConnection, ini);
    ok &= platform::ProfileWriteString(kProgramm, "IssueOnlyApproved", s.issueOnlyApproved ? "1" : "0", ini);
    ok &= WriteNumber("X", s.windowX, ini);
    ok &= WriteNumber("Y", s.windowY, ini);
    ok &= WriteNumber("W", s.windowW, ini);
    ok &= WriteNumber("H", s.windowH, ini);
    return ok;
}

// What the file holds after the last write, to skip writes that change nothing.
std::string g_lastWritten;

std::string Snapshot(const ProgramSettings& s) {
    std::string text(reinterpret_cast<const char*>(&s.windowX), 4 * sizeof s.windowX);
    for (const char* field : {s.organisationName, s.priborSerialNumber, s.direktor, s.direktorName, s.methodName,
                              s.normName, s.databaseConnection})
        text += std::string(field) + '\0';
    for (const auto& form : s.formText) text += std::string(form, strnlen(form, sizeof form)) + '\0';
    text += s.issueOnlyApproved ? '1' : '0';
    return text;
}

}  // namespace

bool WriteProgramSettings(const ProgramSettings& s) {
    // A power cut during the writes leaves the temporary file half done and
    // the settings file whole; the swap at the end is one step.
    const std::string temporary = std::string(s.iniPath) + ".tmp";
    bool ok = CopyForWriting(s.iniPath, temporary.c_str()) && WriteKeys(s, temporary.c_str()) &&
              platform::MoveFileOver(temporary.c_str(), s.iniPath);
    if (ok) g_lastWritten = Snapshot(s);
    return ok;
}

bool WriteProgramSettingsIfChanged(const ProgramSettings& s) {
    return Snapshot(s) == g_lastWritten || WriteProgramSettings(s);
}

bool SaveMethodAndNorm(const ProgramSettings& s) { return WriteProgramSettings(s); }
