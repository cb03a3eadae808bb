// orla-archive: checks a copy of log.dat, exports it as CSV or sends it to a database, without the GUI.
//   orla-archive verify log.dat
//   orla-archive export log.dat --csv out.csv [--separator ;] [--decimal-point ,] [--all-versions]
//   orla-archive send log.dat --odbc "<connection string>" [--serial <instrument serial>]
// The export gives each series once, as its newest version, unless
// --all-versions asks for every record in file order.
// Exit status of verify: 0 sound, 1 copies mended by the vote (every record
// intact), 2 damaged (a crc fails or the last group is torn), 3 not readable.
// A register journal.csv beside log.dat is checked too: a broken chain or a
// registered record missing from log.dat is damage (2), its line named.
// Export: 0 written (warnings about damage go to stderr), 3 on any failure.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <iterator>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "journal/journal.h"
#include "results/archive.h"
#include "results/archive_csv.h"
#include "results/archive_versions.h"
#include "results/archive_verify.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/wide.h"
#undef MessageBox  // windows.h would rename the stand-in below

#include "platform/database.h"
#include "database/database_rows.h"
#include "database/database_sql.h"
#endif

// ---- the archive's writer is linked in with the vote but never called here;
// these stand in for the platform calls it would make, and refuse.
namespace platform {
FileHandle OpenExclusive(const char*, OpenMode, uint32_t* systemError) {
    if (systemError) *systemError = 5;
    return kNoFile;
}
bool FileSize(FileHandle, uint64_t*) { return false; }
bool SeekTo(FileHandle, uint64_t) { return false; }
bool SeekToEnd(FileHandle) { return false; }
bool ReadFile(FileHandle, void*, uint32_t, uint32_t* got) { return (*got = 0), false; }
bool WriteFile(FileHandle, const void*, uint32_t, uint32_t* written, uint32_t*) { return (*written = 0), false; }
bool TruncateHere(FileHandle) { return false; }
void CloseFile(FileHandle) {}
void Wait(uint32_t) {}
}  // namespace platform

namespace ui {
int MessageBox(Window, const char*, const char*, unsigned) { return kAnswerNo; }
}  // namespace ui

namespace {

constexpr int kExitSound = 0;
constexpr int kExitRepaired = 1;
constexpr int kExitDamaged = 2;
constexpr int kExitFailed = 3;

// The list separator and decimal symbol of a Russian Windows locale, which
// Excel there opens without asking.
constexpr const char* kDefaultSeparator = ";";
constexpr const char* kDefaultDecimalPoint = ",";

int Usage() {
    std::fprintf(stderr,
                 "usage: orla-archive verify log.dat\n"
                 "       orla-archive export log.dat --csv out.csv [--separator ;] [--decimal-point ,] [--all-versions]\n"
                 "       orla-archive send log.dat --odbc \"<connection string>\" [--serial <instrument serial>]\n");
    return kExitFailed;
}

unsigned long long U(uint64_t v) { return static_cast<unsigned long long>(v); }

void PrintReport(const ArchiveVerifyReport& r) {
    std::printf("groups: %llu\n", U(r.groups));
    std::printf("copies repaired by the vote: %llu (in %llu groups)\n", U(r.repairedCopies), U(r.repairedGroups));
    std::printf("crc mismatches: %llu\n", U(r.crcMismatches));
    // The rows, so the viewer can show and the lab can re-enter what failed.
    for (const ArchiveCrcFailure& f : r.crcFailures)
        std::printf("  row %llu, protocol %s\n", U(f.row), f.protocol.c_str());
    std::printf("torn tail: %llu bytes\n", U(r.tornBytes));
}

// Paths are UTF-8 here and opened as such: on Windows through the wide API,
// as an English Windows cannot spell a Cyrillic path in its code page.
std::filesystem::path FilePath(const char* utf8) { return std::filesystem::u8path(utf8); }

// The register beside the archive at path, opened; not open when there is none.
// (Opening it rather than asking the file system keeps std::filesystem's
// calls, some newer than the oldest Windows, out of the program.)
void OpenRegisterBeside(const char* path, std::ifstream* in) {
    in->open(FilePath(path).parent_path() / kJournalFileName, std::ios::binary);
}

// Checks the register against the records of the archive and prints its
// verdict: kExitSound when whole, kExitDamaged when broken, kExitFailed when unreadable.
int CheckRegister(std::ifstream& in, const std::unordered_set<std::string>& records) {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        std::fprintf(stderr, "orla-archive: cannot read %s\n", kJournalFileName);
        return kExitFailed;
    }
    const JournalCheck check = JournalVerify(JournalParse(bytes), records);
    const std::string verdict = JournalVerdictText(check);
    std::printf("journal: %s\n", Cp1251ToUtf8(verdict.data(), verdict.size()).c_str());
    return check.badLine == 0 ? kExitSound : kExitDamaged;
}

int Verify(const char* path) {
    std::ifstream in(FilePath(path), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orla-archive: cannot open %s\n", path);
        return kExitFailed;
    }
    std::ifstream journal;
    OpenRegisterBeside(path, &journal);
    std::unordered_set<std::string> records;
    std::function<void(const TestRecord&)> each;
    if (journal.is_open()) each = [&records](const TestRecord& r) { records.insert(JournalRecordSha256(r)); };
    ArchiveVerifyReport report = ArchiveVerifyStream(in, each);
    if (in.bad()) {
        std::fprintf(stderr, "orla-archive: cannot read %s\n", path);
        return kExitFailed;
    }
    PrintReport(report);
    const int registerExit = journal.is_open() ? CheckRegister(journal, records) : kExitSound;
    if (registerExit == kExitFailed) return kExitFailed;
    switch (registerExit == kExitSound ? ArchiveVerdictOf(report) : ArchiveVerdict::Damaged) {
        case ArchiveVerdict::Sound: std::printf("sound\n"); return kExitSound;
        case ArchiveVerdict::Repaired: std::printf("repaired by the vote, every record intact\n"); return kExitRepaired;
        case ArchiveVerdict::Damaged: break;
    }
    std::printf("damaged\n");
    return kExitDamaged;
}

// Which records are the newest version of their series, by one pass over
// the file: an amendment takes over from the latest series it belongs to.
std::vector<bool> NewestVersions(std::istream& in) {
    std::vector<bool> newest;
    std::unordered_map<uint64_t, uint32_t> latest;  // series identity -> its newest record
    ArchiveVerifyStream(in, [&](const TestRecord& r) {
        const uint64_t key = SeriesIdentityHash(r);
        auto it = latest.find(key);
        if (r.marks.amendment != 0 && it != latest.end()) newest[it->second] = false;
        latest[key] = static_cast<uint32_t>(newest.size());
        newest.push_back(true);
    });
    return newest;
}

int Export(const char* path, int argc, char** argv) {
    const char* out = nullptr;
    CsvFormat format{kDefaultSeparator, kDefaultDecimalPoint};
    bool allVersions = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all-versions") == 0) {
            allVersions = true;
            continue;
        }
        if (i + 1 >= argc) return Usage();
        if (std::strcmp(argv[i], "--csv") == 0) out = argv[++i];
        else if (std::strcmp(argv[i], "--separator") == 0) format.separator = argv[++i];
        else if (std::strcmp(argv[i], "--decimal-point") == 0) format.decimalPoint = argv[++i];
        else return Usage();
    }
    if (!out || format.separator[0] == 0 || std::strcmp(out, path) == 0) return Usage();

    std::ifstream in(FilePath(path), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orla-archive: cannot open %s\n", path);
        return kExitFailed;
    }
    std::ofstream csv(FilePath(out), std::ios::binary | std::ios::trunc);
    if (!csv) {
        std::fprintf(stderr, "orla-archive: cannot create %s\n", out);
        return kExitFailed;
    }
    std::vector<bool> newest;
    if (!allVersions) {
        newest = NewestVersions(in);
        in.clear();
        in.seekg(0);
    }
    csv << kCsvByteOrderMark << ArchiveCsvHeader(format);
    size_t index = 0, written = 0;
    ArchiveVerifyReport report = ArchiveVerifyStream(in, [&](const TestRecord& record) {
        if (allVersions || (index < newest.size() && newest[index])) {
            csv << ArchiveCsvRow(record, format);
            ++written;
        }
        ++index;
    });
    csv.close();
    if (in.bad() || csv.fail()) {
        std::fprintf(stderr, "orla-archive: export to %s failed\n", out);
        return kExitFailed;
    }
    std::printf("%llu rows written to %s\n", U(written), out);
    if (report.crcMismatches > 0)
        std::fprintf(stderr, "warning: %llu series fail their crc; their data may be wrong: %s\n",
                     U(report.crcMismatches), ArchiveCrcFailureList(report).c_str());
    if (report.tornBytes > 0)
        std::fprintf(stderr, "warning: a torn last group of %llu bytes was left out\n", U(report.tornBytes));
    return kExitSound;
}

// The serial number the program kept beside the archive, in UTF-8: the
// PriborSerialNumber key of [Programm] in ORLA-K200V.ini (Windows-1251).
std::string SerialBeside(const char* archivePath) {
    std::ifstream ini(FilePath(archivePath).parent_path() / "ORLA-K200V.ini", std::ios::binary);
    std::string line;
    bool inProgramm = false;
    while (std::getline(ini, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') inProgramm = line == "[Programm]";
        const std::string key = "PriborSerialNumber=";
        if (inProgramm && line.compare(0, key.size(), key) == 0) {
            const std::string value = line.substr(key.size());
            return Cp1251ToUtf8(value.data(), value.size());
        }
    }
    return std::string();
}

#ifdef _WIN32
std::string Utf8Of1251(const std::string& text) { return Cp1251ToUtf8(text.data(), text.size()); }

// Sends every record of the stream in transactions of a few hundred.
int SendStream(std::istream& in, platform::db::Connection c, SqlDialect dialect, const std::string& serial) {
    constexpr size_t kBatch = 500;
    SYSTEMTIME local;
    GetLocalTime(&local);
    SystemTime now;
    std::memcpy(&now, &local, sizeof now);
    std::vector<TestRecord> batch;
    batch.reserve(kBatch);
    bool ok = true;
    uint64_t sent = 0;
    auto flush = [&] {
        if (ok && !batch.empty()) ok = SendRecords(c, dialect, batch.data(), batch.size(), serial, now);
        if (ok) sent += batch.size();
        batch.clear();
    };
    ArchiveVerifyReport report = ArchiveVerifyStream(in, [&](const TestRecord& r) {
        if (!SendableRecord(r)) return;
        batch.push_back(r);
        if (batch.size() == kBatch) flush();
    });
    flush();
    if (!ok) {
        std::fprintf(stderr, "orla-archive: sending failed: %s\n", Utf8Of1251(platform::db::LastError(c)).c_str());
        return kExitFailed;
    }
    std::printf("%llu records sent (a series already there is left as it is)\n", U(sent));
    if (report.crcMismatches > 0)
        std::fprintf(stderr, "warning: %llu series fail their crc and were left out: %s\n", U(report.crcMismatches),
                     ArchiveCrcFailureList(report).c_str());
    return kExitSound;
}
#endif

int Send(const char* path, int argc, char** argv) {
    const char* odbc = nullptr;
    std::string serial;
    bool serialGiven = false;
    for (int i = 0; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--odbc") == 0) odbc = argv[i + 1];
        else if (std::strcmp(argv[i], "--serial") == 0) serial = argv[i + 1], serialGiven = true;
        else return Usage();
    }
    if (!odbc || argc % 2 != 0) return Usage();
    if (!serialGiven) serial = SerialBeside(path);
    if (serial.empty()) {
        std::fprintf(stderr, "orla-archive: no instrument serial number: give --serial, or keep ORLA-K200V.ini beside %s\n", path);
        return kExitFailed;
    }
#ifdef _WIN32
    std::ifstream in(FilePath(path), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orla-archive: cannot open %s\n", path);
        return kExitFailed;
    }
    std::string error;
    platform::db::Connection c = platform::db::Connect(odbc, 30, &error);
    if (c == platform::db::kNoConnection) {
        std::fprintf(stderr, "orla-archive: cannot connect: %s\n", Utf8Of1251(error).c_str());
        return kExitFailed;
    }
    const SqlDialect dialect = DialectOfDbms(platform::db::GetInfo(c, platform::db::Info::DbmsName));
    bool created = false;
    int rc = kExitFailed;
    if (EnsureSeriesTable(c, dialect, &created))
        rc = SendStream(in, c, dialect, serial);
    else
        std::fprintf(stderr, "orla-archive: cannot create the table: %s\n", Utf8Of1251(platform::db::LastError(c)).c_str());
    platform::db::Disconnect(c);
    return rc;
#else
    std::fprintf(stderr, "orla-archive: send needs ODBC, which the Windows build has\n");
    return kExitFailed;
#endif
}

// The arguments in UTF-8: on Windows from the wide command line, since the
// narrow argv is in the system's code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    std::vector<std::string> out(argv, argv + argc);
#ifdef _WIN32
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count == argc) {
            for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = platform::Utf8FromWide(wide[i]);
        }
        LocalFree(wide);
    }
#endif
    return out;
}

}  // namespace

int main(int argc, char** narrowArgv) {
    std::vector<std::string> arguments = Utf8Arguments(argc, narrowArgv);
    std::vector<char*> pointers;
    for (std::string& a : arguments) pointers.push_back(&a[0]);
    char** argv = pointers.data();
    if (argc >= 3 && std::strcmp(argv[1], "verify") == 0 && argc == 3) return Verify(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "export") == 0) return Export(argv[2], argc - 3, argv + 3);
    if (argc >= 3 && std::strcmp(argv[1], "send") == 0) return Send(argv[2], argc - 3, argv + 3);
    return Usage();
}
