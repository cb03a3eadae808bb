// Finding and telling the damage of a torn log.dat, and mending groups whose copies disagree.
#include "results/archive_damage.h"

#include <cstring>
#include <new>

#include "results/archive.h"

namespace {

constexpr size_t kChunkGroups = 64;

// Copies that disagree, with a vote whose record holds its crc: only then is
// the vote surely the series as it was written.
bool Mendable(const uint8_t* group) {
    constexpr size_t n = sizeof(TestRecord);
    if (std::memcmp(group, group + n, n) == 0 && std::memcmp(group, group + 2 * n, n) == 0) return false;
    TestRecord record;
    ArchiveDecodeGroup(group, &record);
    return ArchiveRecordCrc(record) == record.crc;
}

}  // namespace

ArchiveDamage ArchiveFindDamage(platform::FileHandle file, uint64_t length) {
    ArchiveDamage damage;
    damage.tornBytes = length % kArchiveGroupSize;
    damage.tailRestorable = ArchiveTailRestorable(file, length);
    const uint64_t whole = length / kArchiveGroupSize;
    std::vector<uint8_t> chunk;
    try {
        chunk.resize(kChunkGroups * kArchiveGroupSize);
    } catch (const std::bad_alloc&) {
        return damage;  // the question then tells of the tail alone
    }
    if (!platform::SeekTo(file, 0)) return damage;
    for (uint64_t done = 0; done < whole;) {
        const uint64_t want = whole - done < kChunkGroups ? whole - done : kChunkGroups;
        uint32_t got = 0;
        if (!platform::ReadFile(file, chunk.data(), static_cast<uint32_t>(want * kArchiveGroupSize), &got)) break;
        const uint64_t groups = got / kArchiveGroupSize;
        for (uint64_t g = 0; g < groups; ++g)
            if (Mendable(chunk.data() + g * kArchiveGroupSize)) damage.mendable.push_back(done + g);
        done += groups;
        if (groups < want) break;
    }
    return damage;
}

std::string ArchiveDamageQuestion(const ArchiveDamage& d) {
    const std::string torn = std::to_string(d.tornBytes), group = std::to_string(kArchiveGroupSize);
    const std::string mended = std::to_string(d.mendable.size());
    std::string text = "Файл log.dat поврежден.\nПоследняя серия записана не полностью (в файле " + torn + " байт из " +
                       group + " ее записи).";
    if (!d.mendable.empty()) text += "\nЗаписей с несовпадающими копиями: " + mended + ".";
    text += "\n\n«Да»: ";
    text += d.tailRestorable ? "последняя серия будет восстановлена по ее уцелевшим копиям"
                             : "неполная запись в конце файла (" + torn +
                                   " байт) будет отрезана — целой проверенной копии серии в ней нет";
    if (!d.mendable.empty()) text += "; записи с несовпадающими копиями (" + mended + ") будут исправлены по большинству копий";
    text += ".\n«Нет»: файл останется как есть, неполная последняя серия не будет показана.\n\nИсправить ошибки?";
    return text;
}

size_t ArchiveMendGroups(platform::FileHandle file, uint64_t length, const std::vector<uint64_t>& groups) {
    constexpr size_t n = sizeof(TestRecord);
    std::vector<uint8_t> group(kArchiveGroupSize);
    size_t mended = 0;
    for (uint64_t k : groups) {
        if (k >= length / kArchiveGroupSize) continue;
        uint32_t got = 0, written = 0;
        if (!platform::SeekTo(file, k * kArchiveGroupSize) ||
            !platform::ReadFile(file, group.data(), static_cast<uint32_t>(kArchiveGroupSize), &got) ||
            got != kArchiveGroupSize || !Mendable(group.data()))
            continue;
        // The vote on the scrambled bytes is the scrambled record: copy A
        // after it, written three times.
        ArchiveVote(group.data());
        std::memcpy(group.data() + n, group.data(), n);
        std::memcpy(group.data() + 2 * n, group.data(), n);
        if (platform::SeekTo(file, k * kArchiveGroupSize) &&
            platform::WriteFile(file, group.data(), static_cast<uint32_t>(kArchiveGroupSize), &written) &&
            written == kArchiveGroupSize)
            ++mended;
    }
    return mended;
}
