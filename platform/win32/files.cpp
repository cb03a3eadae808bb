// Files, folders and the profile API on Windows, behind the platform seam.
#include "platform/files.h"
#include "platform/win32/data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/profile_text.h"
#include "platform/win32/wide.h"

namespace platform {
namespace {
HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// The data folder that bare names such as "log.dat" mean. Not the process's
// current folder: a file dialog moves that to wherever the user browsed
// while it is open (OFN_NOCHANGEDIR only restores it at the end, and not at
// all for the open dialog), and a series ending meanwhile would be archived
// in a folder of the user's documents.
std::wstring& DataFolder() {
    static std::wstring folder;
    return folder;
}

bool IsAbsolute(const std::wstring& path) {
    return (path.size() >= 2 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

std::wstring W(const char* path) {
    std::wstring wide = Wide(path);
    if (DataFolder().empty() || wide.empty() || IsAbsolute(wide)) return wide;
    return DataFolder() + L"\\" + wide;
}

// A path in 1251 for the core. A folder whose name 1251 cannot spell (a
// user name in Greek or Chinese) is given by its short name, which is ASCII;
// false when there is none.
bool PathTo1251(const wchar_t* path, char* buffer, size_t size) {
    std::wstring usable = path;
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, path, -1, nullptr, 0, nullptr, &lossy);
    if (lossy) {
        wchar_t shortPath[MAX_PATH];
        DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return false;
        usable = shortPath;
        n = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, usable.c_str(), -1, nullptr, 0, nullptr, &lossy);
        if (lossy) return false;
    }
    if (n <= 0 || static_cast<size_t>(n) > size) return false;  // a cut path would name another folder
    WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, usable.c_str(), -1, buffer, n, nullptr, nullptr);
    return true;
}

// The volume and index of an existing file, opened for nothing so another
// holder does not stand in the way.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileW(W(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(file, info) != 0;
    CloseHandle(file);
    return ok;
}
}  // namespace

static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND && kErrorSharingViolation == ERROR_SHARING_VIOLATION &&
                  kErrorFileExists == ERROR_FILE_EXISTS && kErrorAlreadyExists == ERROR_ALREADY_EXISTS,
              "the core compares GetLastError codes with these");
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND && kErrorAccessDenied == ERROR_ACCESS_DENIED &&
                  kErrorHandleDiskFull == ERROR_HANDLE_DISK_FULL && kErrorDiskFull == ERROR_DISK_FULL &&
                  kErrorWriteFault == ERROR_WRITE_FAULT && kErrorCrc == ERROR_CRC &&
                  kErrorGenFailure == ERROR_GEN_FAILURE && kErrorIoDevice == ERROR_IO_DEVICE &&
                  kErrorWriteProtect == ERROR_WRITE_PROTECT && kErrorNotReady == ERROR_NOT_READY &&
                  kErrorLockViolation == ERROR_LOCK_VIOLATION,
              "the core names the causes of these GetLastError codes");
static_assert(kErrorBadNetPath == ERROR_BAD_NETPATH && kErrorUnexpectedNetError == ERROR_UNEXP_NET_ERR &&
                  kErrorNetNameDeleted == ERROR_NETNAME_DELETED && kErrorBadNetName == ERROR_BAD_NET_NAME &&
                  kErrorNetworkUnreachable == ERROR_NETWORK_UNREACHABLE &&
                  kErrorNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY && kErrorOutOfMemory == ERROR_OUTOFMEMORY &&
                  kErrorFileNameTooLong == ERROR_FILENAME_EXCED_RANGE,
              "the core names the causes of these GetLastError codes");

bool SameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION infoA, infoB;
    if (FileIdentity(a, &infoA) && FileIdentity(b, &infoB))
        return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
               infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
    wchar_t fullA[MAX_PATH], fullB[MAX_PATH];
    DWORD lengthA = GetFullPathNameW(W(a).c_str(), MAX_PATH, fullA, nullptr);
    DWORD lengthB = GetFullPathNameW(W(b).c_str(), MAX_PATH, fullB, nullptr);
    if (lengthA == 0 || lengthA >= MAX_PATH || lengthB == 0 || lengthB >= MAX_PATH) return false;
    return lstrcmpiW(fullA, fullB) == 0;
}

bool MoveFileOver(const char* from, const char* to) {
    return MoveFileExW(W(from).c_str(), W(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool MoveFileNew(const char* from, const char* to, uint32_t* systemError) {
    if (MoveFileExW(W(from).c_str(), W(to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    if (systemError) *systemError = GetLastError();
    return false;
}

FileHandle OpenExclusive(const char* path, OpenMode mode, uint32_t* systemError) {
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_ALWAYS;
    switch (mode) {
        case OpenMode::ReadWriteAlways: break;
        case OpenMode::ReadWriteExisting: disposition = OPEN_EXISTING; break;
        case OpenMode::ReadExisting:
            access = GENERIC_READ;
            disposition = OPEN_EXISTING;
            break;
        case OpenMode::WriteAlways: access = GENERIC_WRITE; break;
    }
    HANDLE file = CreateFileW(W(path).c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (systemError) *systemError = GetLastError();
        return kNoFile;
    }
    // OPEN_ALWAYS reports ERROR_ALREADY_EXISTS on success; callers only look
    // at the code after a failure.
    if (systemError) *systemError = 0;
    return reinterpret_cast<FileHandle>(file);
}

bool FileSize(FileHandle file, uint64_t* size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(Handle(file), &value)) return false;
    *size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

bool SeekTo(FileHandle file, uint64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(Handle(file), to, nullptr, FILE_BEGIN) != 0;
}

bool SeekToEnd(FileHandle file) {
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    return SetFilePointerEx(Handle(file), zero, nullptr, FILE_END) != 0;
}

bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* got) {
    DWORD done = 0;
    BOOL ok = ::ReadFile(Handle(file), buffer, count, &done, nullptr);
    if (got) *got = done;
    return ok != 0;
}

bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* written, uint32_t* systemError) {
    DWORD done = 0;
    BOOL ok = ::WriteFile(Handle(file), buffer, count, &done, nullptr);
    if (written) *written = done;
    if (!ok && systemError) *systemError = GetLastError();
    return ok != 0;
}

bool TruncateHere(FileHandle file) { return SetEndOfFile(Handle(file)) != 0; }

void CloseFile(FileHandle file) {
    if (file != kNoFile) CloseHandle(Handle(file));
}

bool AppDataFolder(char* buffer, size_t size) {
    wchar_t path[MAX_PATH];
    if (size == 0 || SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path) != S_OK) return false;
    return PathTo1251(path, buffer, size);
}

bool ProgramFolder(char* buffer, size_t size) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;  // cut: not the real path
    wchar_t* slash = wcsrchr(path, L'\\');
    if (!slash) return false;
    *slash = 0;
    return PathTo1251(path, buffer, size);
}

void CreateFolder(const char* path) { CreateDirectoryW(W(path).c_str(), nullptr); }

std::wstring DataFolderPath() {
    if (!DataFolder().empty()) return DataFolder();
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    return current;
}

void SetWorkingFolder(const char* path) {
    std::wstring folder = W(path);
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH) folder = full;
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    DataFolder() = folder;
    SetCurrentDirectoryW(folder.c_str());
}

// The profile API would read and write the file in the system's code page;
// the INI is 1251 on every Windows, so the program does both itself.
namespace {
bool ReadAll(HANDLE file, std::vector<uint8_t>* bytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > (1 << 24)) return false;
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (bytes->empty()) return true;
    return ::ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &got, nullptr) && got == bytes->size();
}
}  // namespace

uint32_t ProfileGetString(const char* section, const char* key, const char* fallback, char* buffer,
                          uint32_t size, const char* path) {
    if (size == 0) return 0;
    std::string value = ProfileFallback(fallback);
    HANDLE file = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        std::vector<uint8_t> bytes;
        std::string found;
        if (ReadAll(file, &bytes) && ProfileLookup(bytes, section, key, &found)) value = found;
        CloseHandle(file);
    }
    uint32_t n = static_cast<uint32_t>(value.size() < size ? value.size() : size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = 0;
    return n;
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
    HANDLE file = CreateFileW(W(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<uint8_t> bytes;
    bool ok = ReadAll(file, &bytes);
    if (ok) {
        ProfileUpdate(&bytes, section, key, value);
        DWORD written = 0;
        ok = SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
             ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size() && SetEndOfFile(file);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace platform
