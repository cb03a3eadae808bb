#pragma once
// What is wrong with a torn log.dat, the question that says so, and the mending of its groups.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

struct ArchiveDamage {
    uint64_t tornBytes = 0;        // bytes after the last whole group
    bool tailRestorable = false;   // the series of those bytes can be restored from its copies
    // Whole groups whose three copies disagree while their vote holds its
    // crc, by index: rewriting them as three copies of the vote loses nothing.
    std::vector<uint64_t> mendable;
};

// Reads the whole file of this length; changes nothing.
ArchiveDamage ArchiveFindDamage(platform::FileHandle file, uint64_t length);
// The "Файл поврежден!" question: what is wrong, what "Да" and "Нет" do,
// ending with "Исправить ошибки?".
std::string ArchiveDamageQuestion(const ArchiveDamage& damage);
// Rewrites each of groups (when below the file's whole groups, its copies
// still disagree and its vote holds its crc) as three copies of the vote.
// A write cut short leaves each byte's majority as it was. Returns how many
// were rewritten.
size_t ArchiveMendGroups(platform::FileHandle file, uint64_t length, const std::vector<uint64_t>& groups);
