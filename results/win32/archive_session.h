// One opening of the archive viewer, shared by the dialog and its reader
// thread. Whichever lets go last frees it, so a reader still running when the
// dialog closes never touches freed records.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "results/archive_filter.h"
#include "results/archive_loader.h"
#include "results/archive_rows.h"
#include "results/archive_top_row.h"
#include "results/archive_versions.h"
#include "results/version_approval.h"
#include "common/test_record.h"

constexpr UINT kRowsLoadedMessage = WM_APP + 70;    // wParam: records ready so far
constexpr UINT kLoadingDoneMessage = WM_APP + 71;
constexpr UINT kMismatchWarningMessage = WM_APP + 72;

struct ArchiveSession {
    std::atomic<int> holders{2};
    // Empty for log.dat. Another file is shown read-only in a second viewer,
    // which stands in for the first in the window registry while it is open.
    char path[MAX_PATH] = {};
    HWND previousViewer = nullptr;
    HWND previousDetails = nullptr;
    std::atomic<bool> viewerOpen{true};
    HWND viewer = nullptr;
    HWND list = nullptr;
    HWND details = nullptr;
    TestRecord* records = nullptr;    // ArchiveRecords, sized by the reader
    size_t capacity = 0;              // records' room: the file's plus kAmendmentRoom
    std::atomic<size_t> ready{0};     // decoded and handed over by the reader
    char warning[512] = {};
    // Written by the reader only, read by the viewer once loading is done.
    ArchiveLoadResult loaded{};
    std::vector<uint32_t> damagedRecords;  // file positions of records whose crc fails

    // User-interface thread only. The list holds no texts of its own (owner
    // data): row i shows records[rows[i]], formatted when the list asks.
    size_t taken = 0;                 // records the viewer has taken from the reader
    bool loadingDone = false;
    ArchiveFilter filter;
    ArchiveConclusions conclusions;   // one per record taken
    ArchiveVersions versions;         // one series per row, over the records taken
    std::vector<uint32_t> rows;       // ascending first records of the series listed
    uint32_t shown = kNoRecord;       // the version the details pane shows
    int64_t cachedRecord = -1;        // the record whose cells cachedCells holds
    ArchiveRowTexts cachedCells;
    std::vector<uint32_t> damagedSeries;  // first records of the series holding them, ascending
    ArchiveTopRowWidths topRow{};     // measured once, in the dialog's font
    int leastWidth = 0;               // of the viewer's window, the top row's needs included
    ApprovalLookup approvals;         // the register's approvals, read at opening and after each approval
};

// Amendments made while the viewer is open go into room left after the
// file's records, so the list shows them without reading the file again.
constexpr size_t kAmendmentRoom = 64;

void ReleaseArchiveSession(ArchiveSession* session);

// Reader thread entry; argument is the session.
DWORD WINAPI ArchiveReader(LPVOID argument);

// Details pane 704.
INT_PTR CALLBACK ArchiveDetailsProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
// Shows version of the series; the texts can be edited only in its newest one.
void ShowArchiveDetails(HWND pane, const ArchiveSession& session, uint32_t version);
// The shown version with the texts as the pane holds them.
void DetailsRecord(HWND pane, const ArchiveSession& session, TestRecord* out);
// Empties every field of the pane, for when no row is listed.
void ClearArchiveDetails(HWND pane);

// "Экспорт": asks for a file and writes the given records to it as CSV in the
// user's list separator and decimal symbol; tells the user when it fails.
void ExportArchiveRows(HWND viewer, const TestRecord* records, const std::vector<uint32_t>& rows);
