// The viewers' contract with the shell: harmless defaults, installed operations reached.
#include "results/viewer_shell.h"

#include <gtest/gtest.h>

namespace {
int g_printed = 0;
void RecordPrint(const TestRecord&, const VersionCommit&) { ++g_printed; }
}  // namespace

TEST(ViewerShell, DoesNothingUntilInstalledAndAMissingOperationStaysHarmless) {
    TestRecord record{};
    InstallViewerShell(ViewerShell{});
    const ViewerShell& shell = InstalledViewerShell();
    shell.printProtocol(record, nullptr);
    shell.saveProtocol(record, nullptr);
    shell.formFollowsAmendment(record);
    shell.stopStoredResultsTransfer();
    EXPECT_FALSE(shell.storedResultsTransferring());
    EXPECT_FALSE(shell.approveVersion(record));
    EXPECT_FALSE(shell.readApprovals()(record.testTime, 0, nullptr));
    // Without the shell's dialog an amendment goes in as it always did, with no register line.
    EXPECT_TRUE(shell.askAmendmentReason(record, record));
    shell.registerAmendment(record);
    EXPECT_EQ(shell.amendmentLine(record), "");

    ViewerShell printing{};
    printing.printProtocol = RecordPrint;
    InstallViewerShell(printing);
    InstalledViewerShell().printProtocol(record, nullptr);
    InstalledViewerShell().saveProtocol(record, nullptr);
    EXPECT_EQ(g_printed, 1);
    InstallViewerShell(ViewerShell{});
}
