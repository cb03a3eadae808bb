// Which file takes an amendment, when the viewer's texts are editable, and
// the main window's form following the newest version of its series.
#include "results/amendment_rules.h"

#include <cstring>

#include "results/archive.h"
#include "results/archive_versions.h"

namespace {

bool SameText(const char* a, const char* b) {
    return std::strncmp(a, b, kProtocolTextSize) == 0;
}

}  // namespace

const char* AmendmentArchive(const char* sourcePath) {
    return sourcePath == nullptr || sourcePath[0] == 0 ? kArchiveFileName : nullptr;
}

bool ArchiveTextsEditable(const char* sourcePath, bool newestVersion) {
    return newestVersion && AmendmentArchive(sourcePath) != nullptr;
}

bool ViewerAmendmentNeeded(const char* sourcePath, bool newestVersion, const TestRecord& pane,
                           const TestRecord& shown, uint32_t now, TestRecord* amended) {
    if (!ArchiveTextsEditable(sourcePath, newestVersion)) return false;
    return AmendmentNeeded(pane, shown, now, amended);
}

uint16_t FollowNewestTexts(const TestRecord& form, const TestRecord& base, const TestRecord& newest, TestRecord* out) {
    uint16_t changed = 0;
    if (out != &form) *out = form;
    for (int k = 0; k < kProtocolTextCount; ++k) {
        if (!SameText(form.protocolText[k], base.protocolText[k])) continue;  // the user's own text
        if (SameText(form.protocolText[k], newest.protocolText[k])) continue;
        std::memcpy(out->protocolText[k], newest.protocolText[k], kProtocolTextSize);
        changed = static_cast<uint16_t>(changed | (1u << k));
    }
    return changed;
}
