// The viewers' contract with the shell: harmless until the shell installs it.
#include "results/viewer_shell.h"

namespace {

void NoProtocol(const TestRecord&, const VersionCommit&) {}
void NoForm(const TestRecord&) {}
bool NoTransfer() { return false; }
void NoStop() {}
bool NoApproval(const TestRecord&) { return false; }
ApprovalLookup NoApprovals() {
    return [](const SystemTime&, int, VersionApproval*) { return false; };
}

bool NoReasonAsked(const TestRecord&, const TestRecord&) { return true; }
void NoRegister(const TestRecord&) {}
std::string NoLine(const TestRecord&) { return std::string(); }

ViewerShell& Shell() {
    static ViewerShell shell{NoProtocol,    NoProtocol,    NoForm, NoTransfer, NoStop, NoApproval,
                             NoApprovals,   NoReasonAsked, NoRegister, NoLine};
    return shell;
}

}  // namespace

void InstallViewerShell(const ViewerShell& shell) {
    ViewerShell& s = Shell();
    s.printProtocol = shell.printProtocol ? shell.printProtocol : NoProtocol;
    s.saveProtocol = shell.saveProtocol ? shell.saveProtocol : NoProtocol;
    s.formFollowsAmendment = shell.formFollowsAmendment ? shell.formFollowsAmendment : NoForm;
    s.storedResultsTransferring = shell.storedResultsTransferring ? shell.storedResultsTransferring : NoTransfer;
    s.stopStoredResultsTransfer = shell.stopStoredResultsTransfer ? shell.stopStoredResultsTransfer : NoStop;
    s.approveVersion = shell.approveVersion ? shell.approveVersion : NoApproval;
    s.readApprovals = shell.readApprovals ? shell.readApprovals : NoApprovals;
    s.askAmendmentReason = shell.askAmendmentReason ? shell.askAmendmentReason : NoReasonAsked;
    s.registerAmendment = shell.registerAmendment ? shell.registerAmendment : NoRegister;
    s.amendmentLine = shell.amendmentLine ? shell.amendmentLine : NoLine;
}

const ViewerShell& InstalledViewerShell() { return Shell(); }
