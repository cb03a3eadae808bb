// Collecting the distinct protocol texts of the archive for the form's autocomplete.
#include "results/archive_suggestions.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "results/archive.h"
#include "results/archive_filter.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trimmed(const char* slot) {
    const void* zero = std::memchr(slot, 0, kProtocolTextSize);
    size_t end = zero ? static_cast<size_t>(static_cast<const char*>(zero) - slot) : kProtocolTextSize;
    size_t begin = 0;
    while (begin < end && IsBlank(slot[begin])) ++begin;
    while (end > begin && IsBlank(slot[end - 1])) --end;
    return std::string(slot + begin, end - begin);
}

bool SameFolded(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCp1251(static_cast<uint8_t>(a[i])) != FoldCp1251(static_cast<uint8_t>(b[i]))) return false;
    return true;
}

bool Suggested(int text) {
    return std::find(std::begin(kSuggestedTexts), std::end(kSuggestedTexts), text) != std::end(kSuggestedTexts);
}

}  // namespace

void TextSuggestions::Take(const TestRecord& record) {
    std::lock_guard<std::mutex> guard(lock_);
    for (int k : kSuggestedTexts) {
        std::string text = Trimmed(record.protocolText[k]);
        if (text.empty()) continue;
        std::vector<std::string>& list = texts_[k];
        auto same = std::find_if(list.begin(), list.end(), [&](const std::string& s) { return SameFolded(s, text); });
        if (same != list.end()) list.erase(same);
        list.insert(list.begin(), std::move(text));
        if (list.size() > kSuggestionsPerText) list.pop_back();
    }
}

std::vector<std::string> TextSuggestions::Texts(int text) const {
    if (text < 0 || text >= kProtocolTextCount || !Suggested(text)) return {};
    std::lock_guard<std::mutex> guard(lock_);
    return texts_[text];
}

TextSuggestions& ArchivedTexts() {
    static TextSuggestions suggestions;
    return suggestions;
}

bool LoadArchivedTexts(TextSuggestions* suggestions) {
    // Read only: a busy file means the worker is appending, and that series
    // comes in through Take anyway.
    platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) return false;
    uint64_t length = 0;
    const uint64_t groups = platform::FileSize(file, &length) ? length / kArchiveGroupSize : 0;
    const uint64_t first = groups > kSuggestionGroups ? groups - kSuggestionGroups : 0;
    std::vector<uint8_t> group(kArchiveGroupSize);
    bool ok = platform::SeekTo(file, first * kArchiveGroupSize);
    for (uint64_t k = first; ok && k < groups; ++k) {
        uint32_t got = 0;
        ok = platform::ReadFile(file, group.data(), kArchiveGroupSize, &got) && got == kArchiveGroupSize;
        TestRecord r;
        if (ok) ArchiveDecodeGroup(group.data(), &r);
        if (ok && ArchiveRecordCrc(r) == r.crc) suggestions->Take(r);
    }
    platform::CloseFile(file);
    return true;
}
