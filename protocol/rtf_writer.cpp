// Fills the protocol template with a record and writes the protocol RTF.
#include "protocol/rtf_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/ui.h"
#include "protocol/protocol_file.h"
#include "protocol/voltage_text.h"
#include "results/archive_versions.h"
#include "verdict/verdict.h"

namespace {

const char kTemplateMissing[] = "Файл template.rtf не найден.\n Переустановите приложение.";
const char kTemplateChosen[] =
    "Файл template.rtf - шаблон протокола, по которому заполняются все протоколы.\n"
    "Сохраните протокол под другим именем.";

void ShowError(const char* text) {
    ui::MessageBox(ui::Window::Main, text, "Ошибка!", ui::kOk | ui::kIconError);
}

// Reinstalling never touches the data folder's copy; deleting it does help,
// as the installed template is copied back before the next save.
void ShowTemplateDamaged(const char* path) {
    std::string text = "Файл template.rtf поврежден:\n";
    text += path;
    text += "\nУдалите этот файл: при следующем сохранении протокола на его место "
            "будет скопирован шаблон из папки установки.";
    ShowError(text.c_str());
}

// Whether something stands at the path already: a denied access then means
// the file, not the folder.
bool FileExists(const char* path) {
    uint32_t error = 0;
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting, &error);
    if (file == platform::kNoFile) return error != platform::kErrorFileNotFound && error != 3;  // 3: no such folder
    platform::CloseFile(file);
    return true;
}

// The template up to its first zero byte; false when it is missing or holds
// nothing, after telling the user.
bool ReadTemplate(const char* path, std::string& text) {
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) {
        ShowError(kTemplateMissing);
        return false;
    }
    uint64_t size = 0;
    if (!platform::FileSize(file, &size) || size == 0) {
        platform::CloseFile(file);
        ShowTemplateDamaged(path);
        return false;
    }
    std::vector<char> bytes(size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<size_t>(size));
    uint32_t got = 0;
    bool read = platform::ReadFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &got);
    platform::CloseFile(file);
    if (!read || got == 0) {
        ShowTemplateDamaged(path);
        return false;
    }
    text.assign(bytes.data(), got);
    size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    if (!RtfGroupsBalanced(text)) {
        ShowTemplateDamaged(path);
        return false;
    }
    return true;
}

// RTF control words are ASCII letters, whatever the locale says of a byte.
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Where the paragraph holding the title's key ends (after its \par), or
// npos when there is none or it sits in a table, where a paragraph of our
// own would break the row.
size_t TitleParagraphEnd(const std::string& text) {
    const size_t key = text.find("PROTOKOLNUM");
    if (key == std::string::npos) return std::string::npos;
    size_t par = text.find("\\par", key);
    // \pard is another control word: the paragraph goes on.
    while (par != std::string::npos && par + 4 < text.size() && IsAsciiLetter(text[par + 4]))
        par = text.find("\\par", par + 4);
    if (par == std::string::npos) return std::string::npos;
    size_t start = text.rfind("\\pard", key);
    if (start == std::string::npos) start = 0;
    const std::string paragraph = text.substr(start, par - start);
    if (paragraph.find("\\intbl") != std::string::npos || paragraph.find("\\cell") != std::string::npos)
        return std::string::npos;
    // The blank ending the control word goes with it.
    return par + 4 < text.size() && text[par + 4] == ' ' ? par + 5 : par + 4;
}

// A template from before the draft mark: the mark goes under the title in
// a group of its own, so nothing after it changes its look.
void PutDraftUnderTitle(std::string& text) {
    const size_t at = TitleParagraphEnd(text);
    if (at == std::string::npos) return;
    std::string mark = "{\\pard\\qc\\b ";
    RtfEscape(mark, kDraftMark);
    mark += "\\par}";
    text.insert(at, mark);
}

}  // namespace

bool RtfGroupsBalanced(const std::string& text) {
    long depth = 0;
    bool closed = false;  // the outermost group has ended
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (closed) {
            // Blanks and control bytes (an old editor's end-of-file mark)
            // may follow; text there would never be shown.
            if (static_cast<unsigned char>(c) > ' ') return false;
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0) return false;
            closed = depth == 0;
        } else if (c == '\\' && i + 1 < n) {
            // \{ \} \\ are text; \binN is followed by N raw bytes that may
            // hold braces of their own.
            const char next = text[i + 1];
            if (next == '{' || next == '}' || next == '\\') {
                ++i;
            } else if (text.compare(i + 1, 3, "bin") == 0) {
                size_t j = i + 4;
                uint64_t count = 0;
                while (j < n && text[j] >= '0' && text[j] <= '9' && count < n)
                    count = count * 10 + uint64_t(text[j++] - '0');
                if (j < n && text[j] == ' ') ++j;
                if (count > n - j) return false;
                i = j + size_t(count) - 1;
            }
        }
    }
    return depth == 0;
}

void RtfEscape(std::string& destination, const std::string& value) {
    static const char kHex[] = "0123456789abcdef";
    for (char c : value) {
        if (c == '\0') break;
        unsigned char byte = static_cast<unsigned char>(c);
        destination += '\\';
        destination += '\'';
        destination += kHex[byte >> 4];
        destination += kHex[byte & 0x0F];
    }
}

void ReplacePlaceholder(std::string& text, const char* key, const std::string& value) {
    const size_t keyLength = std::strlen(key);
    if (keyLength == 0) return;
    size_t at = text.find(key);
    if (at == std::string::npos) return;
    std::string escaped;
    RtfEscape(escaped, value);
    // One pass, building a new text: replacing in place and searching again
    // from the start took time growing with the square of the size (a large
    // template with many keys never finished). The result is the same as
    // that of the repeated search: an escaped value holds no upper-case
    // letter, so a key can neither lie in it nor reach across its edges;
    // only an empty value, removing a key, can join its neighbours into a
    // new one, which starts in the text already done and is removed too.
    std::string out;
    out.reserve(text.size() + (escaped.size() > keyLength ? 4 * (escaped.size() - keyLength) : 0));
    size_t from = 0;
    while (at != std::string::npos) {
        out.append(text, from, at - from);
        out += escaped;
        from = at + keyLength;
        while (escaped.empty()) {
            // A key joined across the removal: its first k bytes end the
            // text done, the rest starts the text still to do. The largest
            // k is the leftmost such key.
            size_t joined = 0;
            for (size_t k = std::min(keyLength - 1, out.size()); k > 0 && joined == 0; --k) {
                if (out.compare(out.size() - k, k, key, k) == 0 &&
                    text.compare(from, keyLength - k, key + k, keyLength - k) == 0)
                    joined = k;
            }
            if (joined == 0) break;
            out.resize(out.size() - joined);
            from += keyLength - joined;
        }
        at = text.find(key, from);
    }
    out.append(text, from, std::string::npos);
    text.swap(out);
}

void FillProtocolTemplate(std::string& text, const TestRecord& record, const ProtocolIssuer& settings,
                          const ProtocolNotes& notes) {
    if (notes.draft && text.find("PROEKT") == std::string::npos) PutDraftUnderTitle(text);
    static const char* const kTextKeys[kProtocolTextCount] = {
        "PROTOKOLNUM",  "MATERIALNAME", "STANDARTNAME",        "MATERIALSTORAGE", "MATERIALDATE",
        "MATERIALAPPEARANCE", "MATERIALT", "TISP", "HUMIDITY", "MATERIALPREPARATION",
        "ISPDATE",      "TESTER",       "TESTENAME",
    };
    for (int k = 0; k < kProtocolTextCount; ++k) {
        ReplacePlaceholder(text, kTextKeys[k], SlotText(record.protocolText[k], kProtocolTextSize));
    }
    ReplacePlaceholder(text, "ORGNAME", SlotText(settings.organisationName, sizeof settings.organisationName));
    ReplacePlaceholder(text, "DIREKTOR", SlotText(settings.direktor, sizeof settings.direktor));
    ReplacePlaceholder(text, "DIREKTONAME", SlotText(settings.direktorName, sizeof settings.direktorName));
    ReplacePlaceholder(text, "ORLANAME", InstrumentText(settings.priborSerialNumber));
    ReplacePlaceholder(text, "ULIST", VoltageListText(record));
    ReplacePlaceholder(text, "USREDNEE", MeanVoltageText(record));
    ReplacePlaceholder(text, "USQERROR", RmsErrorText(record));
    // What was concluded when the series ended, never judged again here; a
    // series from before judging leaves the key empty.
    ReplacePlaceholder(text, "ZAKLUCHENIE", ConclusionText(record));
    // A mended protocol says which version of the series it is; the
    // original leaves the key empty.
    ReplacePlaceholder(text, "IZMENENIE", AmendmentLine(record, notes));
    // The approver's date line: the approval's date, or blanks to write in by hand.
    ReplacePlaceholder(text, "UTVDATE", notes.approvedOn.empty() ? kBlankApprovalDate : notes.approvedOn);
    ReplacePlaceholder(text, "PROEKT", notes.draft ? kDraftMark : "");
}

std::string ProtocolTemplatePath() {
    char folder[260] = {};
    if (!platform::AppDataFolder(folder, sizeof folder)) return std::string();
    return std::string(folder) + "\\ORLA-K200V\\template.rtf";
}

bool WriteProtocolRtf(const char* templatePath, const char* outputPath, const TestRecord& record,
                      const ProtocolIssuer& settings, const ProtocolNotes& notes) {
    // Saved over the template, one series would repeat in every later
    // protocol without anyone noticing.
    if (platform::SameFile(outputPath, templatePath)) {
        ShowError(kTemplateChosen);
        return false;
    }
    std::string text;
    if (!ReadTemplate(templatePath, text)) return false;
    FillProtocolTemplate(text, record, settings, notes);

    const bool existed = FileExists(outputPath);
    uint32_t error = 0;
    platform::FileHandle file = platform::OpenExclusive(outputPath, platform::OpenMode::WriteAlways, &error);
    bool written = false;
    if (file != platform::kNoFile) {
        // The document is followed by one zero byte, as it always was.
        size_t length = text.size() + 1;
        uint32_t count = 0;
        if (length <= 0xFFFFFFFFu && platform::SeekTo(file, 0) && platform::TruncateHere(file)) {
            written = platform::WriteFile(file, text.c_str(), static_cast<uint32_t>(length), &count, &error) &&
                      count == length;
        }
        platform::CloseFile(file);
        // A write that came short without a code: the open succeeded, so
        // what stops a write then is a full disk.
        if (!written && error == 0) error = platform::kErrorDiskFull;
    }
    // A short write leaves a cut document behind: that is a failure too. The
    // box says why, so the user knows whether another folder will do.
    if (!written) ShowError(SaveFailedText(error, existed).c_str());
    return written;
}
