// The archive viewer's reader thread: loads log.dat, or the file the viewer
// was opened on, and hands the records to the viewer as they are decoded.
#include <new>

#include "platform/ui.h"
#include "results/archive_loader.h"
#include "results/win32/archive_session.h"

#undef MessageBox  // the seam's, not the Windows macro

namespace {

// The list formats its rows only when it draws them, so taking a batch costs
// the viewer next to nothing; batches go by time, often enough that rows
// appear while a large archive is read.
constexpr DWORD kBatchEveryMs = 40;

struct ReaderState {
    ArchiveSession* session;
    size_t count;
    bool noMemory;
    DWORD lastBatch;
};

TestRecord* Begin(void* context, size_t count) {
    auto* state = static_cast<ReaderState*>(context);
    if (!state->session->viewerOpen) return nullptr;
    state->session->records = new (std::nothrow) TestRecord[count + kAmendmentRoom];
    state->session->capacity = state->session->records ? count + kAmendmentRoom : 0;
    state->noMemory = state->session->records == nullptr;
    state->count = count;
    return state->session->records;
}

bool Deliver(void* context, size_t index, bool crcMatches) {
    auto* state = static_cast<ReaderState*>(context);
    ArchiveSession* s = state->session;
    if (!s->viewerOpen) return false;
    if (!crcMatches) s->damagedRecords.push_back(static_cast<uint32_t>(index));
    s->ready = index + 1;
    DWORD now = GetTickCount();
    if (now - state->lastBatch >= kBatchEveryMs || index + 1 == state->count) {
        SendMessageW(s->viewer, kRowsLoadedMessage, index + 1, 0);
        state->lastBatch = now;
    }
    return s->viewerOpen;
}

void Report(ArchiveSession* s, const char* text) {
    if (s->viewerOpen) SendMessageW(s->viewer, WM_CLOSE, 0, 0);
    ui::MessageBox(ui::Window::Main, text, "Внимание!", ui::kOk | ui::kIconError);
}

}  // namespace

DWORD WINAPI ArchiveReader(LPVOID argument) {
    auto* session = static_cast<ArchiveSession*>(argument);
    ReaderState state{session, 0, false, GetTickCount()};
    const ArchiveLoadSink sink{&state, Begin, Deliver};
    ArchiveLoadResult result = session->path[0] ? ArchiveLoadReadOnly(session->path, sink) : ArchiveLoad(sink);
    const char* message = ArchiveLoadMessage(result.outcome);
    if (state.noMemory) message = ArchiveLoadMessage(ArchiveLoadOutcome::Unreadable);
    if (message) {
        Report(session, message);
    } else if (result.outcome == ArchiveLoadOutcome::Loaded && session->viewerOpen) {
        // The viewer words the warning: it names the rows where the list shows them.
        session->loaded = result;
        SendMessageW(session->viewer, kLoadingDoneMessage, 0, 0);
    }
    ReleaseArchiveSession(session);
    return 0;
}
