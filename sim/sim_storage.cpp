#include "sim/sim_storage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

void PutLe16(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

// Days since 1970-01-01 to the civil date (proleptic Gregorian).
void CivilFromDays(int64_t z, int* y, unsigned* m, unsigned* d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = unsigned(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = int(int64_t(yoe) + era * 400 + (*m <= 2));
}

std::array<uint8_t, 32> MakeEntry(const SimInstrument& inst, uint32_t stamp, const uint16_t* words, int count) {
    std::array<uint8_t, 32> e{};
    for (int k = 0; k < 4; ++k) e[size_t(k)] = uint8_t(stamp >> (8 * k));
    for (int i = 0; i < 6; ++i) PutLe16(e.data() + 4 + 2 * i, words[i]);
    e[16] = uint8_t(count);
    e[20] = uint8_t(inst.maxVoltage / 10);
    e[21] = inst.errorOfMean ? 1 : 0;
    e[22] = uint8_t(int8_t(inst.config.hourOffset));
    return e;
}

}  // namespace

uint32_t StorageClock(const SimInstrument& inst, int64_t at) {
    double speed = inst.config.speed > 0 ? inst.config.speed : 1.0;
    return uint32_t(inst.config.clockStart + int64_t(double(at - inst.bootAt) * speed / 1000.0));
}

void StorageInit(SimInstrument* inst, int64_t now) {
    inst->bootAt = now;
    const std::string& source = inst->config.deviceLog;
    if (source == "none") {
        inst->logMissing = true;
    } else if (!source.empty()) {
        std::ifstream in(source, std::ios::binary);
        inst->log.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        inst->logMissing = !in && inst->log.empty();
    }
    // Earlier results, one a day at 10:00 local time, values around 50 kV.
    uint32_t r = inst->config.seed ? inst->config.seed : 1;
    int n = inst->config.storedResults;
    uint32_t today = StorageClock(*inst, now) / 86400 * 86400;
    for (int i = 0; i < n && i < 65536; ++i) {
        uint16_t words[6] = {};
        for (uint16_t& w : words) {
            r = r * 1103515245u + 12345u;
            w = uint16_t(420 + (r >> 16) % 161);
        }
        uint32_t stamp = today - uint32_t(n - i) * 86400u + uint32_t(10 - inst->config.hourOffset) * 3600u;
        inst->stored.push_back(MakeEntry(*inst, stamp, words, 6));
    }
    StorageLog(inst, now, "POWER ON");
}

void StorageLog(SimInstrument* inst, int64_t at, const std::string& event) {
    // A log taken from a file (or absent) is served as it is.
    if (inst->logMissing || !inst->config.deviceLog.empty()) return;
    int64_t local = int64_t(StorageClock(*inst, at)) + inst->config.hourOffset * 3600;
    int y;
    unsigned m, d;
    CivilFromDays(local / 86400, &y, &m, &d);
    unsigned rem = unsigned(local % 86400);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%02u.%02u.%04d %02u:%02u:%02u ", d, m, y, rem / 3600, rem % 3600 / 60,
                  rem % 60);
    inst->log += stamp + event + "\r\n";
    // The instrument's own log is a file of a few kilobytes on its flash;
    // a model running for days (or rebooting every 100 ms) keeps its newest
    // lines only, dropped from the front at a line boundary.
    constexpr size_t kLogKeep = 256 * 1024;
    if (inst->log.size() > 2 * kLogKeep) {
        size_t cut = inst->log.find("\r\n", inst->log.size() - kLogKeep);
        inst->log.erase(0, cut == std::string::npos ? inst->log.size() - kLogKeep : cut + 2);
    }
}

void StorageStoreSeries(SimInstrument* inst, int64_t at) {
    if (inst->valueCount == 0 || inst->stored.size() >= 65536) return;
    inst->stored.push_back(MakeEntry(*inst, StorageClock(*inst, at), inst->slots, std::min(inst->valueCount, 6)));
}

uint16_t StorageHighest(const SimInstrument& inst) {
    return inst.stored.empty() ? 0 : uint16_t(inst.stored.size() - 1);
}

bool StorageEntry(const SimInstrument& inst, uint16_t index, uint8_t out[32]) {
    const std::vector<uint16_t>& empty = inst.config.storedEmptySlots;
    if (index >= inst.stored.size() || std::find(empty.begin(), empty.end(), index) != empty.end()) {
        std::memset(out, 0, 32);
        return false;
    }
    std::memcpy(out, inst.stored[index].data(), 32);
    if (inst.config.storedValueCountOverride > 0) out[16] = uint8_t(inst.config.storedValueCountOverride);
    return true;
}
