#pragma once
// Issuing a protocol: what the register says of its version beforehand, the issue event once it is made.
#include <string>

#include "common/test_record.h"
#include "protocol/protocol_notes.h"

// Before a document is made from the version made (after the commit ran):
// the register's notes on it. When only approved protocols are issued and
// this version is not approved, the user is asked whether to issue it as a
// draft ("Нет" the default); false when not, and nothing is to be made.
// User-interface thread.
bool PrepareIssue(const TestRecord& made, bool onlyApproved, ProtocolNotes* notes);
// Once the document really exists (printed, file written): the issue event
// with where it went. A register that cannot be written is passed over: the
// protocol was made all the same. A record log.dat does not hold is named
// by its test time, number and version only.
void RegisterIssue(const TestRecord& made, const std::string& where, const ProtocolNotes& notes);
