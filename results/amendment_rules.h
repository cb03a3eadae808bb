#pragma once
// Where and when mended protocol texts become a new version of a series, and
// how the main window's form follows versions made elsewhere.
#include <cstdint>

#include "common/test_record.h"

// The archive a new version of a series read from sourcePath is appended to:
// log.dat for a series read from it (an empty path), none (nullptr) for one
// read from any other file, which is only ever viewed.
const char* AmendmentArchive(const char* sourcePath);
// Whether the viewer lets the texts of a shown version be typed into: only
// the newest version of a series that AmendmentArchive can take.
bool ArchiveTextsEditable(const char* sourcePath, bool newestVersion);
// Once a print or save of a version shown in the viewer has been confirmed:
// true when the texts the pane holds must first be archived as the series'
// next version, which *amended then holds. Never for an older version or a
// file other than log.dat, whose documents are made as stored.
bool ViewerAmendmentNeeded(const char* sourcePath, bool newestVersion, const TestRecord& pane,
                           const TestRecord& shown, uint32_t now, TestRecord* amended);

// The main window's form against the newest version of the series it holds.
// form: the texts as a print reads them now; base: as they read when the form
// last matched the archive. A text the user has changed since (form differs
// from base) stays the user's; any other takes newest's, so a version made
// elsewhere is never reverted unseen. *out gets the texts; bit k of the
// result is set when text k of *out differs from the form's.
uint16_t FollowNewestTexts(const TestRecord& form, const TestRecord& base, const TestRecord& newest, TestRecord* out);
