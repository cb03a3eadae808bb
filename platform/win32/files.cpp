// Files, folders and the profile API on Windows, behind the platform seam.
#include "platform/files.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace platform {
namespace {
HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// The volume and index of an existing file, opened for nothing so another
// holder does not stand in the way.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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

bool SameFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION infoA, infoB;
    if (FileIdentity(a, &infoA) && FileIdentity(b, &infoB))
        return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
               infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
    char fullA[MAX_PATH], fullB[MAX_PATH];
    DWORD lengthA = GetFullPathNameA(a, MAX_PATH, fullA, nullptr);
    DWORD lengthB = GetFullPathNameA(b, MAX_PATH, fullB, nullptr);
    if (lengthA == 0 || lengthA >= MAX_PATH || lengthB == 0 || lengthB >= MAX_PATH) return false;
    return lstrcmpiA(fullA, fullB) == 0;
}

bool MoveFileOver(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool MoveFileNew(const char* from, const char* to, uint32_t* systemError) {
    if (MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH)) return true;
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
    HANDLE file = CreateFileA(path, access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* written) {
    DWORD done = 0;
    BOOL ok = ::WriteFile(Handle(file), buffer, count, &done, nullptr);
    if (written) *written = done;
    return ok != 0;
}

bool TruncateHere(FileHandle file) { return SetEndOfFile(Handle(file)) != 0; }

void CloseFile(FileHandle file) {
    if (file != kNoFile) CloseHandle(Handle(file));
}

bool AppDataFolder(char* buffer, size_t size) {
    char path[MAX_PATH];
    if (size == 0 || SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, path) != S_OK) return false;
    size_t length = std::strlen(path);
    if (length >= size) return false;  // a cut path would name another folder
    std::memcpy(buffer, path, length + 1);
    return true;
}

bool ProgramFolder(char* buffer, size_t size) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;  // cut: not the real path
    char* slash = std::strrchr(path, '\\');
    if (!slash) return false;
    *slash = 0;
    if (std::strlen(path) >= size) return false;
    std::memcpy(buffer, path, std::strlen(path) + 1);
    return true;
}

void CreateFolder(const char* path) { CreateDirectoryA(path, nullptr); }

void SetWorkingFolder(const char* path) { SetCurrentDirectoryA(path); }

uint32_t ProfileGetString(const char* section, const char* key, const char* fallback, char* buffer,
                          uint32_t size, const char* path) {
    if (size == 0) return 0;
    return GetPrivateProfileStringA(section, key, fallback, buffer, size, path);
}

bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != 0;
}

}  // namespace platform
