#pragma once
// An approval of one version of a series, as the archive viewer shows it, and how the viewer looks one up.
#include <functional>
#include <string>

#include "platform/system_time.h"

// Texts in Windows-1251.
struct VersionApproval {
    std::string date;      // "ДД.ММ.ГГГГ"
    std::string approver;  // the name
    std::string position;  // may be empty
};

// Whether version `version` of the series tested at testTime is approved,
// and *out then; answers from memory, never from a file.
using ApprovalLookup = std::function<bool(const SystemTime& testTime, int version, VersionApproval* out)>;
