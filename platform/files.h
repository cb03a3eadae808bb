#pragma once
// Files, folders and profiles as the core reaches them, behind the platform seam.
#include <cstddef>
#include <cstdint>

// Files are opened without sharing for the length of one operation; that is
// what keeps the archive's writer and its reader apart.
namespace platform {

using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

enum class OpenMode {
    ReadWriteAlways,    // GENERIC_READ|GENERIC_WRITE, OPEN_ALWAYS
    ReadWriteExisting,  // GENERIC_READ|GENERIC_WRITE, OPEN_EXISTING
    ReadExisting,       // GENERIC_READ, OPEN_EXISTING
    WriteAlways,        // GENERIC_WRITE, OPEN_ALWAYS
};

// System error codes of the calls below, as Windows numbers them (the fake too).
// The file (for a move, from) does not exist; nothing was opened or moved.
constexpr uint32_t kErrorFileNotFound = 2;
// Another opener holds the file; nothing changed, and a later try may succeed.
constexpr uint32_t kErrorSharingViolation = 32;
// MoveFileNew: to exists already; from is left as it was, another name may do.
constexpr uint32_t kErrorFileExists = 80;
// MoveFileNew: the same as kErrorFileExists; Windows reports either.
constexpr uint32_t kErrorAlreadyExists = 183;
// The folder of the path does not exist.
constexpr uint32_t kErrorPathNotFound = 3;
// The file or its folder may not be written (rights, a read-only medium).
constexpr uint32_t kErrorAccessDenied = 5;
// A write found no room left on the disk; Windows reports either.
constexpr uint32_t kErrorHandleDiskFull = 39;
constexpr uint32_t kErrorDiskFull = 112;
// The device failed to write; Windows reports any of these.
constexpr uint32_t kErrorWriteFault = 29;
constexpr uint32_t kErrorCrc = 23;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorIoDevice = 1117;
// The medium is write-protected, or the drive holds none.
constexpr uint32_t kErrorWriteProtect = 19;
constexpr uint32_t kErrorNotReady = 21;
// Another opener locked the part of the file the call needed.
constexpr uint32_t kErrorLockViolation = 33;
// The network folder went away; Windows reports any of these.
constexpr uint32_t kErrorBadNetPath = 53;
constexpr uint32_t kErrorUnexpectedNetError = 59;
constexpr uint32_t kErrorNetNameDeleted = 64;
constexpr uint32_t kErrorBadNetName = 67;
constexpr uint32_t kErrorNetworkUnreachable = 1231;
// The system had no memory for the call; Windows reports either.
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorOutOfMemory = 14;
// The path is longer than the system takes.
constexpr uint32_t kErrorFileNameTooLong = 206;

// The wait between two tries at a busy file; an append holds log.dat a few milliseconds.
constexpr uint32_t kBusyRetryStepMs = 50;
// How long a caller keeps trying before it takes the file as busy and gives up.
constexpr uint32_t kBusyRetryTotalMs = 1000;

// Returns kNoFile on failure and, when systemError is given, the system error
// code (kErrorFileNotFound, kErrorSharingViolation, ...).
FileHandle OpenExclusive(const char* path, OpenMode mode, uint32_t* systemError = nullptr);
bool FileSize(FileHandle file, uint64_t* size);
bool SeekTo(FileHandle file, uint64_t position);
bool SeekToEnd(FileHandle file);
bool ReadFile(FileHandle file, void* buffer, uint32_t count, uint32_t* got);
// False on failure with, when systemError is given, the system error code
// (kErrorDiskFull, kErrorAccessDenied, ...); a part may have been written.
bool WriteFile(FileHandle file, const void* buffer, uint32_t count, uint32_t* written,
               uint32_t* systemError = nullptr);
bool TruncateHere(FileHandle file);  // SetEndOfFile at the current position
// Whether two paths name one file however they are spelt (case, slashes,
// relative or full); for a file that does not exist yet, by full path.
bool SameFile(const char* a, const char* b);
void CloseFile(FileHandle file);
// Puts from in the place of to in one step (MoveFileEx, replacing): a reader
// sees the old file or the new one, never half of either. False leaves both.
bool MoveFileOver(const char* from, const char* to);
// Renames from to to only when to does not exist yet (MoveFileEx without
// replacing); false leaves both, with the system error code (kErrorFileExists
// or kErrorAlreadyExists when to exists, kErrorSharingViolation when either
// is open).
bool MoveFileNew(const char* from, const char* to, uint32_t* systemError = nullptr);

// Folders. AppDataFolder is CSIDL_APPDATA; false when it cannot be determined.
bool AppDataFolder(char* buffer, size_t size);
// The folder the running program was started from, without a trailing
// backslash; false when it cannot be determined or does not fit.
bool ProgramFolder(char* buffer, size_t size);
void CreateFolder(const char* path);
// Makes path the folder that every relative path given to these operations
// names from then on, whatever a file dialog does to the current folder.
void SetWorkingFolder(const char* path);

// Private profile (INI) access with the Windows reading rules: blanks around
// a value dropped, one pair of enclosing quotes removed. Returns the length
// copied, cut to size - 1. Numbers are parsed by the caller.
uint32_t ProfileGetString(const char* section, const char* key, const char* fallback,
                          char* buffer, uint32_t size, const char* path);
bool ProfileWriteString(const char* section, const char* key, const char* value, const char* path);

}  // namespace platform
