#pragma once
// The dialog "Утверждение протокола": who approves a version of a series, registered as its approve line.
#include "common/test_record.h"

// Shows what is approved and asks for the approver, proposing proposedName
// and proposedPosition (Windows-1251); OK registers the approve line. True
// once the register holds it; a register that cannot be written is told in
// a box and nothing is approved. User-interface thread.
bool AskApproval(const TestRecord& version, const char* proposedName, const char* proposedPosition);
