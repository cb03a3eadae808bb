// What the results viewers ask of the program around them, installed by the shell.
#pragma once
#include <functional>
#include <string>

#include "common/test_record.h"
#include "results/version_approval.h"

// Runs once the user has confirmed the print or file dialog; it may replace
// the record with the version the archive now holds. False: nothing is made.
using VersionCommit = std::function<bool(TestRecord* record)>;

// Every operation runs on the user-interface thread unless it says otherwise.
// Not installed, each does nothing (and reports no transfer).
struct ViewerShell {
    // Prints record as a protocol on a printer the user picks; commit runs only once the dialog is confirmed.
    void (*printProtocol)(const TestRecord& record, const VersionCommit& commit);
    // Saves record as an RTF protocol under a name the user picks; commit runs only once the dialog is confirmed.
    void (*saveProtocol)(const TestRecord& record, const VersionCommit& commit);
    // A version archived by the viewer: the main window's form takes its texts when it holds that series.
    void (*formFollowsAmendment)(const TestRecord& amended);
    // Whether the instrument is still sending its stored results to the device results viewer; any thread.
    bool (*storedResultsTransferring)();
    // The device results viewer is gone: the transfer that fills it stops before its next result.
    void (*stopStoredResultsTransfer)();
    // Approving a version of a series of log.dat (the register's approve line):
    // Asks who approves the version and registers it; true only once the register holds the approval.
    bool (*approveVersion)(const TestRecord& version);
    // The register's approvals as they stand now, read once; the lookup never reads a file.
    ApprovalLookup (*readApprovals)();

    // Asks who amends stored into amended and why, kept for registerAmendment; false: append nothing. UI thread.
    bool (*askAmendmentReason)(const TestRecord& stored, const TestRecord& amended);
    // Registers the version just appended to log.dat with the answer last given, never undoing it. UI thread.
    void (*registerAmendment)(const TestRecord& appended);
    // The details pane's line on who amended a version and why; empty for version 0. UI thread.
    std::string (*amendmentLine)(const TestRecord& version);
};

// Takes the shell's operations; one left null keeps doing nothing.
void InstallViewerShell(const ViewerShell& shell);
const ViewerShell& InstalledViewerShell();
