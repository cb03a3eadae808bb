// Supplying the data folder with the protocol template installed beside the program.
#include "protocol/template_supply.h"

#include <string>
#include <vector>

#include "platform/files.h"

namespace {

// True when the path holds a template worth keeping. Any failure other than
// "not found" (another program holding it, say) counts as present: touching
// a file we cannot see could destroy the user's edits.
bool HasTemplate(const char* path) {
    uint32_t error = 0;
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting, &error);
    if (file == platform::kNoFile) return error != platform::kErrorFileNotFound;
    uint64_t size = 0;
    bool known = platform::FileSize(file, &size);
    platform::CloseFile(file);
    return !known || size > 0;
}

bool ReadWhole(const char* path, std::vector<char>& bytes) {
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return false;
    uint64_t size = 0;
    bool read = platform::FileSize(file, &size) && size > 0 && size < 0x10000000u;
    if (read) {
        bytes.resize(static_cast<size_t>(size));
        uint32_t got = 0;
        read = platform::ReadFile(file, bytes.data(), static_cast<uint32_t>(size), &got) && got == size;
    }
    platform::CloseFile(file);
    return read;
}

}  // namespace

TemplateSupply ProvideProtocolTemplate(const char* templatePath) {
    if (!templatePath || !*templatePath) return TemplateSupply::NotInstalled;
    if (HasTemplate(templatePath)) return TemplateSupply::Present;

    char folder[260] = {};
    if (!platform::ProgramFolder(folder, sizeof folder)) return TemplateSupply::NotInstalled;
    std::string installed = std::string(folder) + "\\template.rtf";
    // Started from the data folder itself, the program would copy a file onto itself.
    if (platform::SameFile(installed.c_str(), templatePath)) return TemplateSupply::NotInstalled;
    std::vector<char> bytes;
    if (!ReadWhole(installed.c_str(), bytes)) return TemplateSupply::NotInstalled;

    platform::FileHandle file = platform::OpenExclusive(templatePath, platform::OpenMode::WriteAlways);
    if (file == platform::kNoFile) return TemplateSupply::CopyFailed;
    uint32_t written = 0;
    bool copied = platform::SeekTo(file, 0) && platform::TruncateHere(file) &&
                  platform::WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &written) &&
                  written == bytes.size();
    // A cut copy would be taken for a template and never replaced; emptied,
    // it is copied afresh at the next chance.
    if (!copied && platform::SeekTo(file, 0)) platform::TruncateHere(file);
    platform::CloseFile(file);
    return copied ? TemplateSupply::Copied : TemplateSupply::CopyFailed;
}
