// Lines of the register for archived, imported and moved-aside archives, and the thread that writes them.
#include "journal/journal_events.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <utility>

#include "platform/clock.h"
#include "platform/threads.h"

namespace {

// How often the idle writer looks for lines: the 32-bit runtime has no
// condition variable, and a look costs nothing.
constexpr uint32_t kLookMs = 50;
// The protocol text "ФИО" under "Испытания произвел": who performed the test.
constexpr int kTesterNameText = kProtocolTextCount - 1;

struct Pending {
    JournalEntry entry;
    std::string hashFile;
};

platform::Mutex g_lock;
std::deque<Pending> g_queue;  // under g_lock
std::atomic<bool> g_posted{false};
JournalWriterHooks g_hooks;
bool g_started = false;

bool TakeNext(Pending* next) {
    std::lock_guard<platform::Mutex> guard(g_lock);
    if (g_queue.empty()) return false;
    *next = std::move(g_queue.front());
    g_queue.pop_front();
    return true;
}

void WriterThread(void*) {
    for (;;) {
        if (g_posted.exchange(false)) JournalWriteQueued();
        platform::Wait(kLookMs);
    }
}

}  // namespace

bool JournalEntryOfAppended(const TestRecord& record, JournalEntry* entry) {
    if (record.marks.amendment > 0) return false;
    const bool imported = (record.marks.origin & origin_bits::kFromInstrumentMemory) != 0;
    *entry = JournalEntryOfRecord(imported ? JournalEvent::Import : JournalEvent::Series, record);
    const char* tester = record.protocolText[kTesterNameText];
    size_t length = 0;
    while (length < kProtocolTextSize && tester[length] != '\0') ++length;
    entry->person.assign(tester, length);
    return true;
}

JournalEntry JournalEntryOfAside(const std::string& movedName, const std::string& fileSha256) {
    JournalEntry entry;
    entry.event = JournalEvent::ArchiveAside;
    entry.details = movedName;
    entry.recordSha256 = fileSha256;
    return entry;
}

JournalEntry JournalEntryOfAmend(const TestRecord& amended, const std::string& person, const std::string& reason) {
    JournalEntry entry = JournalEntryOfRecord(JournalEvent::Amend, amended);
    entry.person = person;
    entry.details = reason;
    return entry;
}

void JournalPost(const JournalEntry& entry, const std::string& hashFile) {
    {
        std::lock_guard<platform::Mutex> guard(g_lock);
        g_queue.push_back(Pending{entry, hashFile});
    }
    g_posted = true;
}

void JournalWriteQueued() {
    // The writer thread and the shell's last call at exit may both drain the
    // queue: one at a time, or two lines could take the same seq.
    static platform::Mutex writing;
    std::lock_guard<platform::Mutex> guard(writing);
    const JournalWriterHooks hooks = g_hooks;
    Pending next;
    while (TakeNext(&next)) {
        if (!next.hashFile.empty()) next.entry.recordSha256 = JournalFileSha256(next.hashFile.c_str());
        const JournalAppendOutcome outcome = JournalAppend(next.entry);
        if (outcome == JournalAppendOutcome::Started && hooks.started) hooks.started();
        if (outcome != JournalAppendOutcome::Failed && hooks.written) hooks.written();
    }
}

void StartJournalWriter(const JournalWriterHooks& hooks) {
    if (g_started) return;
    g_hooks = hooks;
    g_started = platform::StartThread(WriterThread, nullptr, true, nullptr);
}
