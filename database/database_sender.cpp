// Sends log.dat's new records to the laboratory database from a thread of its own, retrying until it answers.
#include "database/database_sender.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

#include "database/database_ids.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/files.h"
#include "platform/threads.h"
#include "platform/ui.h"
#include "results/archive.h"
#include "results/archive_csv.h"
#include "database/database_journal.h"
#include "database/database_rows.h"
#include "database/database_sent.h"
#include "database/database_sql.h"

namespace {

// A transaction of this many records holds log.dat for a few milliseconds
// only, so an append at the end of a series never waits long for it.
constexpr size_t kBatchRecords = 200;
constexpr uint32_t kConnectTimeoutSeconds = 10;
// How often the idle sender looks whether it was woken: the 32-bit build's
// runtime has no condition variable, and a look costs nothing.
constexpr uint32_t kWakeLookMs = 50;

struct Target {
    std::string connection, serial;  // Windows-1251
    bool operator!=(const Target& o) const { return connection != o.connection || serial != o.serial; }
};

platform::Mutex g_lock;
Target g_target;  // under g_lock
std::atomic<bool> g_woken{false};
bool g_started = false;
// The data folder, set before the thread starts. Not the working folder:
// a file dialog open on the user-interface thread moves that while it
// browses, and log.dat would seem to be gone.
std::string g_folder;

std::string InDataFolder(const char* name) { return g_folder + name; }

// What the sender thread keeps between rounds; its own alone.
struct Session {
    Target target;
    platform::db::Connection connection = platform::db::kNoConnection;
    SqlDialect dialect = SqlDialect::Other;
    uint32_t failures = 0;
    std::string shown, tip;  // what the main window shows now
};

Target CurrentTarget() {
    std::lock_guard<platform::Mutex> guard(g_lock);
    return g_target;
}

// Until woken, or pauseMs have passed; 0 waits until woken.
Target WaitForWork(uint32_t pauseMs) {
    for (uint32_t waited = 0; !g_woken.exchange(false); waited += kWakeLookMs) {
        if (pauseMs != 0 && waited >= pauseMs) break;
        platform::Wait(kWakeLookMs);
    }
    return CurrentTarget();
}

bool TargetChanged(const Target& t) { return CurrentTarget() != t; }

void Show(Session& s, const std::string& text) {
    if (text == s.shown) return;
    s.shown = text;
    ui::SetText(ui::Window::Main, IDC_DATABASE_STATE, text.c_str());
}

void ShowTip(Session& s, const std::string& tip) {
    if (tip == s.tip) return;
    s.tip = tip;
    ui::SetToolTip(ui::Window::Main, IDC_DATABASE_STATE, tip.c_str());
}

std::string NowText() {
    SystemTime t;
    platform::LocalTime(&t);
    char text[64];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u:%02u:%02u", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

// Opens a file of the data folder for one read, waiting out an append that holds it.
platform::FileHandle OpenForReading(const char* name, bool* missing) {
    *missing = false;
    for (uint32_t waited = 0;; waited += platform::kBusyRetryStepMs) {
        uint32_t error = 0;
        platform::FileHandle f =
            platform::OpenExclusive(InDataFolder(name).c_str(), platform::OpenMode::ReadExisting, &error);
        if (f != platform::kNoFile) return f;
        *missing = error == platform::kErrorFileNotFound;
        if (*missing || waited >= platform::kBusyRetryTotalMs) return platform::kNoFile;
        platform::Wait(platform::kBusyRetryStepMs);
    }
}

platform::FileHandle OpenArchive(bool* missing) { return OpenForReading(kArchiveFileName, missing); }

// Whole groups only: a torn last group is no record yet.
bool ArchiveRecordCount(uint64_t* count) {
    bool missing = false;
    platform::FileHandle f = OpenArchive(&missing);
    *count = 0;
    if (f == platform::kNoFile) return missing;
    uint64_t size = 0;
    const bool ok = platform::FileSize(f, &size);
    platform::CloseFile(f);
    *count = size / kArchiveGroupSize;
    return ok;
}

bool ReadRecords(uint64_t first, size_t count, std::vector<TestRecord>* out) {
    bool missing = false;
    platform::FileHandle f = OpenArchive(&missing);
    if (f == platform::kNoFile) return false;
    std::vector<uint8_t> groups(count * kArchiveGroupSize);
    uint32_t got = 0;
    const bool ok = platform::SeekTo(f, first * kArchiveGroupSize) &&
                    platform::ReadFile(f, groups.data(), static_cast<uint32_t>(groups.size()), &got) &&
                    got == groups.size();
    platform::CloseFile(f);
    if (!ok) return false;
    out->resize(count);
    for (size_t i = 0; i < count; ++i) ArchiveDecodeGroup(&groups[i * kArchiveGroupSize], &(*out)[i]);
    return true;
}

void Disconnect(Session& s) {
    platform::db::Disconnect(s.connection);
    s.connection = platform::db::kNoConnection;
}

bool Failed(Session& s, uint64_t waiting, const std::string& error) {
    ++s.failures;
    Disconnect(s);
    Show(s, DatabaseStateText(waiting, waiting, false));
    ShowTip(s, DatabaseErrorTip(error, NowText()));
    return false;
}

bool FailedOnDatabase(Session& s, uint64_t waiting) {
    return Failed(s, waiting, platform::db::LastError(s.connection));
}

bool Connect(Session& s, std::string* error) {
    if (s.connection != platform::db::kNoConnection) return true;
    const std::string utf8 = Cp1251ToUtf8(s.target.connection.data(), s.target.connection.size());
    s.connection = platform::db::Connect(utf8, kConnectTimeoutSeconds, error);
    if (s.connection == platform::db::kNoConnection) return false;
    s.dialect = DialectOfDbms(platform::db::GetInfo(s.connection, platform::db::Info::DbmsName));
    return true;
}

// How many of total records the database holds already, by the mark.
uint64_t AlreadySent(uint64_t total, uint64_t target) {
    SentMark mark;
    if (!LoadSentMark(InDataFolder(kSentMarkFileName).c_str(), &mark)) return 0;
    std::vector<TestRecord> last;
    const bool have = mark.records > 0 && mark.records <= total && ReadRecords(mark.records - 1, 1, &last);
    return RecordsAlreadySent(mark, target, total, have ? &last[0] : nullptr);
}

// Sends records sent..total in batches, the mark moved on after each one.
bool SendFrom(Session& s, uint64_t sent, uint64_t total, uint64_t target) {
    const std::string serial = Cp1251ToUtf8(s.target.serial.data(), s.target.serial.size());
    std::vector<TestRecord> batch;
    while (sent < total) {
        // A new connection string is served first; this one's rest waits.
        if (TargetChanged(s.target)) return true;
        Show(s, DatabaseStateText(total - sent, total, true));
        const size_t n = static_cast<size_t>(total - sent < kBatchRecords ? total - sent : kBatchRecords);
        if (!ReadRecords(sent, n, &batch)) return Failed(s, total - sent, "файл log.dat недоступен");
        SystemTime now;
        platform::LocalTime(&now);
        if (!SendRecords(s.connection, s.dialect, batch.data(), n, serial, now)) return FailedOnDatabase(s, total - sent);
        sent += n;
        const SentMark mark{target, sent, RecordFingerprint(batch[n - 1])};
        SaveSentMark(InDataFolder(kSentMarkFileName).c_str(), mark);
    }
    return true;
}

// The register as it stands; false when it cannot be read (missing is empty).
bool ReadJournal(JournalFile* file) {
    bool missing = false;
    platform::FileHandle f = OpenForReading(kJournalFileName, &missing);
    *file = JournalFile{};
    if (f == platform::kNoFile) return missing;
    uint64_t size = 0;
    std::string bytes;
    uint32_t got = 0;
    bool ok = platform::FileSize(f, &size);
    if (ok) bytes.resize(static_cast<size_t>(size));
    ok = ok && (size == 0 || (platform::ReadFile(f, &bytes[0], static_cast<uint32_t>(size), &got) && got == size));
    platform::CloseFile(f);
    if (ok) *file = JournalParse(bytes);
    return ok;
}

// The register's new lines, after the series and on their connection; a
// failure here leaves the series as sent and is retried with them.
bool SendJournal(Session& s, uint64_t target) {
    JournalFile file;
    if (!ReadJournal(&file)) return false;
    const std::string markPath = InDataFolder(kJournalSentMarkFileName);
    JournalSentMark mark;
    size_t from = LoadJournalSentMark(markPath.c_str(), &mark) ? JournalLinesAlreadySent(file, mark, target) : 0;
    if (from >= file.lines.size()) return true;
    std::string error;
    bool created = false;
    if (!Connect(s, &error) || !EnsureTable(s.connection, s.dialect, JournalTable(), &created)) return false;
    if (created) from = 0;
    const std::string serial = Cp1251ToUtf8(s.target.serial.data(), s.target.serial.size());
    if (!SendJournalLines(s.connection, s.dialect, file, from, serial)) return false;
    const JournalLine& last = file.lines.back();
    SaveJournalSentMark(markPath.c_str(), JournalSentMark{target, JournalLineSeq(last), last.fields.back()});
    return true;
}

bool SendRound(Session& s) {
    uint64_t total = 0;
    if (!ArchiveRecordCount(&total)) return Failed(s, 0, "файл log.dat недоступен");
    const uint64_t target = DatabaseTarget(s.target.connection, s.target.serial);
    uint64_t sent = AlreadySent(total, target);
    if (sent < total) {
        Show(s, DatabaseStateText(total - sent, total, false));
        std::string error;
        if (!Connect(s, &error)) return Failed(s, total - sent, error);
        bool created = false;
        if (!EnsureSeriesTable(s.connection, s.dialect, &created)) return FailedOnDatabase(s, total - sent);
        // A table made anew holds nothing, whatever the mark says.
        if (created) sent = 0;
        if (!SendFrom(s, sent, total, target)) return false;
    }
    if (!SendJournal(s, target)) {
        ++s.failures;
        Disconnect(s);
        return false;
    }
    s.failures = 0;
    Show(s, std::string());
    ShowTip(s, std::string());
    return true;
}

void SenderThread(void*) {
    Session s;
    uint32_t pause = 0;
    for (;;) {
        const Target t = WaitForWork(pause);
        if (t != s.target) {
            Disconnect(s);
            s.target = t;
            s.failures = 0;
        }
        if (s.target.connection.empty()) {
            Show(s, std::string());
            ShowTip(s, std::string());
            pause = 0;
            continue;
        }
        pause = SendRound(s) ? 0 : DatabaseRetryPauseMs(s.failures);
    }
}

void Wake() { g_woken = true; }

}  // namespace

void StartDatabaseSender(const std::string& dataFolder) {
    if (g_started) return;
    g_folder = dataFolder;
    g_started = platform::StartThread(SenderThread, nullptr, true, nullptr);
    AddArchiveAppendedHook([](const TestRecord&) { WakeDatabaseSender(); });
}

void ConfigureDatabaseSender(const char* connection, const char* serial) {
    {
        std::lock_guard<platform::Mutex> guard(g_lock);
        g_target = Target{connection, serial};
    }
    Wake();
}

void WakeDatabaseSender() { Wake(); }

DatabaseCheckResult CheckDatabase(const std::string& connection, const std::string& serial) {
    using namespace platform::db;
    DatabaseCheckResult r;
    Connection c = Connect(Cp1251ToUtf8(connection.data(), connection.size()), kConnectTimeoutSeconds, &r.error);
    r.connected = c != kNoConnection;
    if (!r.connected) return r;
    r.dbms = GetInfo(c, Info::DbmsName);
    r.version = GetInfo(c, Info::DbmsVersion);
    r.server = GetInfo(c, Info::ServerName);
    r.database = GetInfo(c, Info::DatabaseName);
    r.tableExists = TableExists(c, kSeriesTable);
    std::string count;
    Value serialValue;
    serialValue.kind = Value::Kind::Text;
    serialValue.text = Cp1251ToUtf8(serial.data(), serial.size());
    if (r.tableExists && QueryScalar(c, CountSeriesSql(), {serialValue}, &count)) {
        r.countKnown = true;
        for (char digit : count)
            if (digit >= '0' && digit <= '9') r.series = r.series * 10 + static_cast<uint64_t>(digit - '0');
    }
    Disconnect(c);
    return r;
}
