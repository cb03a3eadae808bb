// Saving a protocol as RTF: the save dialog, then the template filled in.
#include "protocol/win32/protocol_output.h"

#include <windows.h>

#include <string>

#include "common/win32/file_dialog.h"
#include "protocol/protocol_file.h"
#include "protocol/protocol_issue.h"
#include "protocol/protocol_issuer.h"
#include "protocol/rtf_writer.h"
#include "protocol/template_supply.h"
#include "protocol/win32/dialog_owner.h"
#include "platform/win32/wide.h"

void SaveProtocolRtf(const TestRecord& record, const ProtocolCommit& commit) {
    // The protocol's number and date, so saved protocols are found by them.
    wchar_t fileName[MAX_PATH] = L"";
    lstrcpynW(fileName, platform::Wide(ProposedProtocolFileName(record)).c_str(), MAX_PATH);
    // An existing protocol is replaced only when the user says so.
    const FileDialogRequest request{ProtocolDialogOwner(), L"Файл RTF (*.rtf)\0*.rtf\0", fileName, L"rtf", nullptr,
                                    OFN_CREATEPROMPT | OFN_OVERWRITEPROMPT};
    if (!AskFileToSave(request)) return;
    static TestRecord made;  // 3416 bytes; user-interface thread only
    made = record;
    if (commit && !commit(&made)) return;
    // A template deleted while the program runs comes back from the
    // installation; "reinstall" is only said when that one is gone too.
    std::string templatePath = ProtocolTemplatePath();
    ProvideProtocolTemplate(templatePath.c_str());
    static ProtocolIssuer issuer;  // 1792 bytes; user-interface thread only
    CurrentProtocolIssuer(&issuer);
    ProtocolNotes notes;
    // The register is asked of the version the commit left: the one saved.
    if (!PrepareIssue(made, issuer.onlyApproved, &notes)) return;
    const std::string path = platform::Narrow(fileName);
    if (WriteProtocolRtf(templatePath.c_str(), path.c_str(), made, issuer, notes)) RegisterIssue(made, path, notes);
}
