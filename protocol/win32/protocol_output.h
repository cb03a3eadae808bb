#pragma once
// Making a protocol document from the main window or the archive viewer: saved as RTF or printed.
#include <functional>

#include "common/test_record.h"

// Runs once the user has confirmed the print or file dialog, before the
// document is made, and only then: it may replace the record with the version
// the archive now holds (mended texts appended as the series' next version).
// A cancelled dialog therefore changes nothing anywhere. False: no document
// is made (the archive refused the version and has said why), for a
// protocol never says what the archive does not hold.
using ProtocolCommit = std::function<bool(TestRecord* record)>;

// Both ask the register of the version made (its reason, its approval), may
// ask whether to issue a version not approved as a draft (the commit has run
// by then), and append the issue event once the document exists.

// Fills template.rtf with the record and saves it under a name the user picks.
void SaveProtocolRtf(const TestRecord& record, const ProtocolCommit& commit = nullptr);
// Prints the record as a protocol of as many pages as it takes on a printer
// the user picks.
void PrintProtocol(const TestRecord& record, const ProtocolCommit& commit = nullptr);
