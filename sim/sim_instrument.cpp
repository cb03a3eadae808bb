#include "sim/sim_instrument.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "sim/sim_storage.h"

namespace {

constexpr uint16_t kNoBreakdown = 0x8000;
constexpr int kMenuItems = 7;
constexpr int64_t kMinFinishedMs = 1000;
const int kRiseRates[] = {5, 10, 15, 20, 25, 30, 35, 40};
const int kMaxVoltages[] = {550, 600, 650, 700, 750, 800, 850, 900, 950, 1000};

int64_t Scaled(const SimInstrument& inst, double realMs) {
    double speed = inst.config.speed > 0 ? inst.config.speed : 1.0;
    return std::max<int64_t>(1, int64_t(std::llround(realMs / speed)));
}

void Enter(SimInstrument* inst, SimPhase phase, int64_t at, double realMs) {
    inst->phase = phase;
    inst->phaseStart = at;
    inst->phaseEnd = at + Scaled(*inst, realMs);
}

uint32_t NextRandom(SimInstrument* inst) {
    // xorshift32: deterministic per seed, and a zero seed must not stick.
    uint32_t x = inst->rng ? inst->rng : 0x9E3779B9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    inst->rng = x;
    return x;
}

uint16_t NextVoltage(SimInstrument* inst) {
    if (!inst->voltages.empty()) {
        uint16_t v = inst->voltages[inst->voltageCursor % inst->voltages.size()];
        inst->voltageCursor = (inst->voltageCursor + 1) % inst->voltages.size();
        return v;
    }
    return uint16_t(400 + NextRandom(inst) % 201);  // 40.0 .. 60.0 kV
}

int EffectiveRate(const SimInstrument& inst) { return inst.riseRate > 0 ? inst.riseRate : 1; }

// A word marked "no breakdown" holds out to the maximum, as does any voltage
// above it.
bool WillBreakDown(const SimInstrument& inst) {
    return !(inst.target & kNoBreakdown) && inst.target <= inst.maxVoltage;
}

int RiseTop(const SimInstrument& inst) {
    return WillBreakDown(inst) ? inst.target : inst.maxVoltage;
}

void BeginRise(SimInstrument* inst, int64_t at) {
    inst->target = NextVoltage(inst);
    inst->proboy = false;
    Enter(inst, SimPhase::Rise, at, RiseTop(*inst) * 1000.0 / EffectiveRate(*inst));
}

void BeginPauseOrRise(SimInstrument* inst, int64_t at) {
    if (inst->pauseMinutes <= 0) {
        BeginRise(inst, at);
        return;
    }
    double pauseMs = inst->pauseMinutes * 60000.0;
    double stir = std::min<double>(inst->config.stirMs, pauseMs);
    if (stir > 0)
        Enter(inst, SimPhase::Stir, at, stir);
    else
        Enter(inst, SimPhase::Pause, at, pauseMs);
}

void AfterValue(SimInstrument* inst, int64_t at) {
    if (inst->valueCount >= inst->seriesLength)
        Enter(inst, SimPhase::Lower, at, inst->config.lowerMs);
    else
        BeginPauseOrRise(inst, at);
}

std::string Kv(const char* prefix, unsigned tenths) {
    char text[40];
    std::snprintf(text, sizeof text, "%s%u.%u kV", prefix, tenths / 10, tenths % 10);
    return text;
}

void Record(SimInstrument* inst, uint16_t word) {
    if (inst->valueCount < 6) inst->slots[inst->valueCount] = word;
    ++inst->valueCount;
}

// The phase that follows the one ending at inst->phaseEnd.
void Step(SimInstrument* inst) {
    int64_t at = inst->phaseEnd;
    switch (inst->phase) {
        case SimPhase::Idle:
            return;
        case SimPhase::Lift:
            if (inst->preTestDelay && inst->config.preTestDelayMs > 0)
                Enter(inst, SimPhase::Delay, at, inst->config.preTestDelayMs);
            else
                BeginRise(inst, at);
            return;
        case SimPhase::Delay:
            BeginRise(inst, at);
            return;
        case SimPhase::Rise:
            if (WillBreakDown(*inst)) {
                StorageLog(inst, at, Kv("BREAKDOWN U=", inst->target));
                Record(inst, inst->target);
                inst->proboy = true;
                Enter(inst, SimPhase::Breakdown, at, inst->config.breakdownMs);
            } else {
                Enter(inst, SimPhase::Hold, at, inst->config.breakdownMs);
            }
            return;
        case SimPhase::Hold:
            StorageLog(inst, at, Kv("NO BREAKDOWN U>", unsigned(inst->maxVoltage)));
            Record(inst, uint16_t(inst->maxVoltage | kNoBreakdown));
            AfterValue(inst, at);
            return;
        case SimPhase::Breakdown:
            AfterValue(inst, at);
            return;
        case SimPhase::Stir: {
            double rest = inst->pauseMinutes * 60000.0 - inst->config.stirMs;
            if (rest > 0)
                Enter(inst, SimPhase::Pause, at, rest);
            else
                BeginRise(inst, at);
            return;
        }
        case SimPhase::Pause:
            BeginRise(inst, at);
            return;
        case SimPhase::Lower:
            inst->proboy = false;
            StorageLog(inst, at, inst->stopped ? "SERIES STOPPED" : "SERIES FINISHED");
            if (inst->generation == 2) {
                StorageStoreSeries(inst, at);
                // The program learns of the end only from this state: keep it
                // for several polls however fast the model runs.
                Enter(inst, SimPhase::Finished, at, inst->config.finishedMs);
                inst->phaseEnd = std::max(inst->phaseEnd, at + kMinFinishedMs);
            } else {
                inst->phase = SimPhase::Idle;
                inst->phaseStart = at;
            }
            return;
        case SimPhase::Finished:
            inst->phase = SimPhase::Idle;
            inst->phaseStart = at;
            return;
    }
}

void Reboot(SimInstrument* inst, int64_t at) {
    inst->resetCounter = uint8_t(inst->resetCounter + 1);
    inst->resetCause = 2;  // watchdog
    inst->phase = SimPhase::Idle;
    inst->phaseStart = at;
    inst->proboy = false;
    inst->menuOpen = false;
    inst->stopped = false;
    StorageLog(inst, at, "RESET (WATCHDOG)");
}

template <size_t N>
int NextInCycle(const int (&values)[N], int current) {
    for (size_t i = 0; i < N; ++i)
        if (values[i] == current) return values[(i + 1) % N];
    return values[0];
}

}  // namespace

void InstrumentInit(SimInstrument* inst, const SimConfig& config, int generation, int64_t now) {
    *inst = SimInstrument();
    inst->config = config;
    inst->generation = generation;
    inst->measurementCount = std::clamp(config.measurementCount, 1, 6);
    inst->tableLift = config.tableLift & 0x0F;
    inst->pauseMinutes = std::clamp(config.pauseMinutes, 0, 9);
    inst->altMethod = config.altMethod;
    inst->errorOfMean = config.errorOfMean;
    inst->preTestDelay = config.preTestDelay;
    inst->sound = config.sound;
    inst->riseRate = std::clamp(config.riseRate, 0, 255);
    inst->maxVoltage = std::clamp(config.maxVoltage, 0, 2550);
    inst->seriesLength = inst->measurementCount;
    inst->phaseStart = now;
    inst->resetCause = uint8_t(config.resetCause);
    inst->resetCounter = uint8_t(config.resetCounter);
    inst->nextResetAt = config.resetEveryMs > 0 ? now + config.resetEveryMs : -1;
    inst->voltages = config.voltages;
    inst->rng = config.seed;
    // Bytes outside 16-22 stand for calibration and the like: carried by the
    // program, so give them recognisable values to check it sends them back.
    for (int i = 0; i < 64; ++i) inst->gen2Block[i] = uint8_t(0xA0 + i);
    InstrumentSyncBlock(inst);
    StorageInit(inst, now);
}

void InstrumentAdvance(SimInstrument* inst, int64_t now) {
    for (;;) {
        bool phaseDue = inst->phase != SimPhase::Idle && inst->phaseEnd <= now;
        bool resetDue = inst->nextResetAt >= 0 && inst->nextResetAt <= now;
        if (resetDue && (!phaseDue || inst->nextResetAt <= inst->phaseEnd)) {
            Reboot(inst, inst->nextResetAt);
            inst->nextResetAt += inst->config.resetEveryMs;
        } else if (phaseDue) {
            Step(inst);
        } else {
            return;
        }
    }
}

bool InstrumentMeasuring(const SimInstrument& inst) {
    return inst.phase != SimPhase::Idle && inst.phase != SimPhase::Finished;
}

int InstrumentSeriesLength(const SimInstrument& inst) {
    return InstrumentMeasuring(inst) || inst.valueCount > 0 ? inst.seriesLength : inst.measurementCount;
}

void InstrumentStart(SimInstrument* inst, int64_t now) {
    if (InstrumentMeasuring(*inst) || inst->menuOpen || inst->config.doorOpen) return;
    inst->stopped = false;
    inst->proboy = false;
    inst->valueCount = 0;
    std::fill(std::begin(inst->slots), std::end(inst->slots), uint16_t(0));
    inst->seriesLength = inst->measurementCount;
    ++inst->seriesCount;
    StorageLog(inst, now, "START");
    Enter(inst, SimPhase::Lift, now, inst->config.liftMs);
}

void InstrumentStop(SimInstrument* inst, int64_t now) {
    if (inst->menuOpen) {
        inst->menuOpen = false;
        return;
    }
    if (!InstrumentMeasuring(*inst) || inst->phase == SimPhase::Lower) return;
    inst->stopped = true;
    StorageLog(inst, now, "STOP");
    Enter(inst, SimPhase::Lower, now, inst->config.lowerMs);
}

void InstrumentMenu(SimInstrument* inst) {
    if (InstrumentMeasuring(*inst)) return;
    inst->menuOpen = true;
    inst->menuItem = 0;
}

void InstrumentDown(SimInstrument* inst) {
    if (inst->menuOpen) inst->menuItem = (inst->menuItem + 1) % kMenuItems;
}

void InstrumentUp(SimInstrument* inst) {
    if (inst->menuOpen) inst->menuItem = (inst->menuItem + kMenuItems - 1) % kMenuItems;
}

void InstrumentSelect(SimInstrument* inst) {
    if (!inst->menuOpen) return;
    switch (inst->menuItem) {
        case 0: inst->measurementCount = inst->measurementCount % 6 + 1; break;
        case 1: inst->pauseMinutes = (inst->pauseMinutes + 1) % 10; break;
        case 2: inst->preTestDelay = !inst->preTestDelay; break;
        case 3: inst->riseRate = NextInCycle(kRiseRates, inst->riseRate); break;
        case 4: inst->maxVoltage = NextInCycle(kMaxVoltages, inst->maxVoltage); break;
        case 5: inst->altMethod = !inst->altMethod; break;
        case 6: inst->sound = !inst->sound; break;
    }
    InstrumentSyncBlock(inst);
}

void InstrumentWriteBlock(SimInstrument* inst, const uint8_t* block) {
    if (InstrumentMeasuring(*inst)) return;
    std::copy(block, block + 64, inst->gen2Block);
    inst->measurementCount = std::clamp(block[16] & 0x0F, 1, 6);
    inst->pauseMinutes = std::min(block[17] & 0x0F, 9);
    inst->preTestDelay = block[18] != 0;
    inst->riseRate = block[19];
    inst->maxVoltage = block[20] * 10;
    inst->errorOfMean = block[21] != 0;
    inst->sound = block[22] != 0;
    InstrumentSyncBlock(inst);
}

void InstrumentSyncBlock(SimInstrument* inst) {
    uint8_t* b = inst->gen2Block;
    b[16] = uint8_t(inst->measurementCount);
    b[17] = uint8_t(inst->pauseMinutes);
    b[18] = inst->preTestDelay ? 1 : 0;
    b[19] = uint8_t(inst->riseRate);
    b[20] = uint8_t(inst->maxVoltage / 10);
    b[21] = inst->errorOfMean ? 1 : 0;
    b[22] = inst->sound ? 1 : 0;
}

uint8_t InstrumentStatusByte(const SimInstrument& inst) {
    SimPhase p = inst.phase;
    bool motor = p == SimPhase::Lift || p == SimPhase::Stir || p == SimPhase::Lower;
    bool hv = p == SimPhase::Rise || p == SimPhase::Hold;
    // Measuring mode ends when the last value is in: the vessel is lowered
    // afterwards, with the motor still running.
    bool measuring = InstrumentMeasuring(inst) && p != SimPhase::Lower;
    uint8_t s = 0;
    if (motor) s |= 0x01;                      // MotorOn
    if (p == SimPhase::Lift) s |= 0x02;        // NapravlUp
    if (hv) s |= 0x04;                         // SelectLatr
    if (hv) s |= 0x08;                         // HightVoltOn
    if (inst.proboy) s |= 0x10;                // Proboy
    if (!inst.config.doorOpen) s |= 0x20;      // DoorOk
    if (measuring) s |= 0x40;                  // IzmerMode
    if (inst.menuOpen) s |= 0x80;              // MenuMode
    return s;
}

int InstrumentStateCode(const SimInstrument& inst) {
    switch (inst.phase) {
        case SimPhase::Idle: return 0;
        case SimPhase::Lift: return 1;
        case SimPhase::Delay: return 2;
        case SimPhase::Rise: return 3;
        case SimPhase::Hold: return 4;
        case SimPhase::Breakdown: return 7;
        case SimPhase::Stir: return 5;
        case SimPhase::Pause: return 2;
        case SimPhase::Lower: return 5;
        case SimPhase::Finished: return inst.stopped ? 91 : 9;
    }
    return 0;
}

uint16_t InstrumentVoltage(const SimInstrument& inst, int64_t now) {
    if (inst.phase == SimPhase::Hold) return uint16_t(inst.maxVoltage);
    if (inst.phase != SimPhase::Rise) return 0;
    double speed = inst.config.speed > 0 ? inst.config.speed : 1.0;
    double elapsedS = double(now - inst.phaseStart) * speed / 1000.0;
    double v = elapsedS * EffectiveRate(inst);
    return uint16_t(std::min<double>(v, RiseTop(inst)));
}
