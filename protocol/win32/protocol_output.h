#pragma once
#include <functional>

#include "common/test_record.h"

// Runs once the user has confirmed the print or file dialog, before the
// document is made, and only then: it may replace the record with the version
// the archive now holds (mended texts appended as the series' next version).
// A cancelled dialog therefore changes nothing anywhere. False: no document
// is made (the archive refused the version and has said why), for a
// protocol never says what the archive does not hold.
using ProtocolCommit = std::function<bool(TestRecord* record)>;

// Fills template.rtf with the record and saves it under a name the user picks.
void SaveProtocolRtf(const TestRecord& record, const ProtocolCommit& commit = nullptr);
// Prints the record as a one-page protocol on a printer the user picks.
void PrintProtocol(const TestRecord& record, const ProtocolCommit& commit = nullptr);
