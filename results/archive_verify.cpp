// Read-only check of the archive's groups with the program's own vote and crc.
#include "results/archive_verify.h"

#include <cstring>
#include <vector>

#include "results/archive.h"
#include "results/archive_csv.h"

void ArchiveVerifyGroup(const uint8_t* group, ArchiveVerifyReport* report, TestRecord* record) {
    constexpr size_t n = sizeof(TestRecord);
    // The vote works in place; the caller's bytes stay as the file holds them.
    static thread_local uint8_t voted[kArchiveGroupSize];
    std::memcpy(voted, group, kArchiveGroupSize);
    ArchiveVote(voted);
    uint64_t differing = 0;
    for (int copy = 0; copy < 3; ++copy)
        if (std::memcmp(group + copy * n, voted, n) != 0) ++differing;
    ++report->groups;
    if (differing > 0) {
        ++report->repairedGroups;
        report->repairedCopies += differing;
    }
    // Decoding votes again from the file's bytes; the copy above only counts
    // which copies the vote overruled.
    TestRecord decoded;
    ArchiveDecodeGroup(group, &decoded);
    if (ArchiveRecordCrc(decoded) != decoded.crc) {
        ++report->crcMismatches;
        report->crcFailures.push_back({report->groups, Cp1251ToUtf8(decoded.protocolText[0], kProtocolTextSize)});
    }
    if (record) *record = decoded;
}

std::string ArchiveCrcFailureList(const ArchiveVerifyReport& report) {
    std::string list;
    for (const ArchiveCrcFailure& f : report.crcFailures) {
        if (!list.empty()) list += ", ";
        list += "row " + std::to_string(f.row) + " (" + f.protocol + ")";
    }
    return list;
}

ArchiveVerdict ArchiveVerdictOf(const ArchiveVerifyReport& report) {
    if (report.crcMismatches > 0 || report.tornBytes > 0) return ArchiveVerdict::Damaged;
    return report.repairedCopies > 0 ? ArchiveVerdict::Repaired : ArchiveVerdict::Sound;
}

ArchiveVerifyReport ArchiveVerifyStream(std::istream& in, const std::function<void(const TestRecord&)>& each) {
    // A chunk of groups per read keeps a large archive from costing a read call per group.
    constexpr size_t kChunkGroups = 64;
    std::vector<uint8_t> chunk(kChunkGroups * kArchiveGroupSize);
    ArchiveVerifyReport report;
    TestRecord record;
    for (;;) {
        in.read(reinterpret_cast<char*>(chunk.data()), static_cast<std::streamsize>(chunk.size()));
        size_t got = static_cast<size_t>(in.gcount());
        size_t whole = got / kArchiveGroupSize;
        for (size_t g = 0; g < whole; ++g) {
            ArchiveVerifyGroup(chunk.data() + g * kArchiveGroupSize, &report, each ? &record : nullptr);
            if (each) each(record);
        }
        if (got < chunk.size()) {
            report.tornBytes = got % kArchiveGroupSize;
            break;
        }
    }
    return report;
}
