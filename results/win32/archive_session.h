#pragma once
// One opening of the archive viewer, shared by the dialog and its reader
// thread. Whichever lets go last frees it, so a reader still running when the
// dialog closes never touches freed records.
#include <windows.h>

#include <atomic>
#include <cstddef>

#include "results/test_record.h"

constexpr UINT kRowsLoadedMessage = WM_APP + 70;    // wParam: records ready so far
constexpr UINT kLoadingDoneMessage = WM_APP + 71;
constexpr UINT kMismatchWarningMessage = WM_APP + 72;

struct ArchiveSession {
    std::atomic<int> holders{2};
    std::atomic<bool> viewerOpen{true};
    HWND viewer = nullptr;
    HWND list = nullptr;
    HWND details = nullptr;
    TestRecord* records = nullptr;    // ArchiveRecords, sized by the reader
    std::atomic<size_t> ready{0};     // decoded and handed over by the reader
    size_t listed = 0;                // rows in the list (user-interface thread only)
    char warning[512] = {};
};

void ReleaseArchiveSession(ArchiveSession* session);

// Reader thread entry; argument is the session.
DWORD WINAPI ArchiveReader(LPVOID argument);

// Details pane 704.
INT_PTR CALLBACK ArchiveDetailsProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
void ShowArchiveDetails(HWND pane, const TestRecord& record);
