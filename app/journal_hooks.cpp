// The shell's listeners that put archived, imported and moved-aside archives into the register.
#include "app/journal_hooks.h"

#include "database/database_sender.h"
#include "journal/journal_events.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_aside.h"

namespace {


// On the appending thread (the link worker, or whoever appends): queued, as
// the register may keep the caller waiting up to a second for a busy file.
// An amendment is left to the amendment dialog, which knows who and why: it
// calls JournalPost(JournalEntryOfAmend(amended, person, reason)) after its append.
void OnAppended(const TestRecord& record) {
    JournalEntry entry;
    if (JournalEntryOfAppended(record, &entry)) JournalPost(entry);
}

// On the archive viewer's thread; the moved file is hashed by the writer.
void OnMovedAside(const char* movedName) { JournalPost(JournalEntryOfAside(movedName, std::string()), movedName); }

// On the writer thread: a box owned by the main window, the writer goes on.
void OnStarted() { ui::PostMessageBox(ui::Window::Main, kJournalStartedText, kJournalCaption, ui::kIconInformation); }

void OnWritten() { WakeDatabaseSender(); }

}  // namespace

void InstallJournalHooks() {
    AddArchiveAppendedHook(OnAppended);
    AddArchiveAsideHook(OnMovedAside);
    JournalWriterHooks hooks;
    hooks.started = OnStarted;
    hooks.written = OnWritten;
    StartJournalWriter(hooks);
}
