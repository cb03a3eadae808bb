// The shell's side of the results viewers' and the protocol's contracts.
#include "app/win32/viewer_contracts.h"

#include <cstring>

#include "app/win32/main_window.h"
#include "common/program_settings.h"
#include "journal/journal_query.h"
#include "journal/win32/approval_dialog.h"
#include "journal/amendment_note.h"
#include "journal/win32/amendment_dialog.h"
#include "link/device_state.h"
#include "protocol/protocol_issuer.h"
#include "protocol/win32/protocol_output.h"
#include "platform/win32/window_registry.h"
#include "results/viewer_shell.h"

namespace {

// The settings' slots whole, unterminated ones included, as printed before.
void IssuerFromSettings(ProtocolIssuer* issuer) {
    const ProgramSettings& s = g_programSettings;
    static_assert(sizeof issuer->organisationName == sizeof s.organisationName &&
                      sizeof issuer->priborSerialNumber == sizeof s.priborSerialNumber &&
                      sizeof issuer->direktor == sizeof s.direktor && sizeof issuer->direktorName == sizeof s.direktorName,
                  "the issuer keeps the settings' slot sizes");
    std::memcpy(issuer->organisationName, s.organisationName, sizeof s.organisationName);
    std::memcpy(issuer->priborSerialNumber, s.priborSerialNumber, sizeof s.priborSerialNumber);
    std::memcpy(issuer->direktor, s.direktor, sizeof s.direktor);
    std::memcpy(issuer->direktorName, s.direktorName, sizeof s.direktorName);
    issuer->onlyApproved = s.issueOnlyApproved;
}

bool StoredResultsTransferring() { return g_deviceState.storedResultsRequest; }
void StopStoredResultsTransfer() { g_deviceState.storedResultsRequest = false; }

// The head of the laboratory from the settings is proposed as the approver.
bool ApproveVersion(const TestRecord& version) {
    return AskApproval(version, g_programSettings.direktorName, g_programSettings.direktor);
}

// The answer the viewer's amendment was given, from its dialog to its register line.
AmendmentAnswer& ViewerAmendmentAnswer() {
    static AmendmentAnswer note;  // user-interface thread only
    return note;
}

// Over the viewer, which is modal over the main window while it is open.
bool AskViewerAmendment(const TestRecord& stored, const TestRecord& amended) {
    return AskAmendmentAnswer(DialogOwner(ui::Window::Main), stored, amended, &ViewerAmendmentAnswer());
}

void RegisterViewerAmendment(const TestRecord& appended) {
    RegisterAmendment(DialogOwner(ui::Window::Main), appended, ViewerAmendmentAnswer());
}

}  // namespace

void InstallViewerContracts() {
    ViewerShell shell{};
    shell.printProtocol = PrintProtocol;
    shell.saveProtocol = SaveProtocolRtf;
    shell.formFollowsAmendment = FormFollowsAmendment;
    shell.storedResultsTransferring = StoredResultsTransferring;
    shell.stopStoredResultsTransfer = StopStoredResultsTransfer;
    shell.approveVersion = ApproveVersion;
    shell.readApprovals = JournalApprovalsOfDataFolder;
    shell.askAmendmentReason = AskViewerAmendment;
    shell.registerAmendment = RegisterViewerAmendment;
    shell.amendmentLine = VersionWhoWhyLine;
    InstallViewerShell(shell);
    InstallProtocolIssuer(IssuerFromSettings);
}
