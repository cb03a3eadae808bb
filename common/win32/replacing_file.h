// A file written beside its final name and moved over it only when whole.
#pragma once
#include <windows.h>

#include <string>

// So that a failure (a full disk, a pulled stick) never leaves a cut file
// where the user's older one was: the bytes go to "<path>.part", and
// Commit moves it over path. Without a successful Commit the part is removed.
class ReplacingFile {
public:
    explicit ReplacingFile(const std::wstring& path)
        : path_(path), part_(path + L".part"),
          file_(CreateFileW(part_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)),
          ok_(file_ != INVALID_HANDLE_VALUE) {}
    ~ReplacingFile() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
        if (!committed_) DeleteFileW(part_.c_str());
    }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False once any write failed; later writes are skipped.
    bool Write(const std::string& bytes) {
        DWORD written = 0;
        ok_ = ok_ && WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
        return ok_;
    }
    // Closes the part and moves it over path; false leaves path as it was.
    bool Commit() {
        if (file_ != INVALID_HANDLE_VALUE) ok_ = CloseHandle(file_) && ok_;
        file_ = INVALID_HANDLE_VALUE;
        committed_ = ok_ && MoveFileExW(part_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
        return committed_;
    }

private:
    std::wstring path_, part_;
    HANDLE file_;
    bool ok_;
    bool committed_ = false;
};
