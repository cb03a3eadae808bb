#pragma once
// The instrument itself, without its USB side: settings, the phases of a test
// series, the menu and the reset counter. Time is the model's milliseconds.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim.h"

enum class SimPhase : uint8_t {
    Idle,       // waiting for START
    Lift,       // motor lifts the vessel into the cell
    Delay,      // settling before the first rise
    Rise,       // high voltage rising at riseRate
    Hold,       // held at maxVoltage without a breakdown
    Breakdown,  // the liquid broke down; high voltage off
    Stir,       // motor stirs at the start of a pause
    Pause,      // still, waiting for the next rise
    Lower,      // motor lowers the vessel after the series
    Finished,   // series over; results shown
};

struct SimInstrument {
    int generation = 2;
    SimConfig config;  // timings, faults of the instrument side
    // Settings as the instrument holds them.
    int measurementCount = 6;
    int tableLift = 0;
    int pauseMinutes = 1;
    bool altMethod = false;
    bool errorOfMean = false;
    bool preTestDelay = true;
    bool sound = true;
    int riseRate = 20;
    int maxVoltage = 1000;
    uint8_t gen2Block[64] = {};
    // Series.
    SimPhase phase = SimPhase::Idle;
    int64_t phaseStart = 0;
    int64_t phaseEnd = 0;  // meaningless in Idle
    bool stopped = false;
    bool proboy = false;
    int seriesLength = 0;
    int valueCount = 0;
    uint16_t slots[6] = {};
    uint16_t target = 0;  // breakdown voltage of the current rise
    int seriesCount = 0;
    // Menu (generation 1 keypad).
    bool menuOpen = false;
    int menuItem = 0;
    // Resets.
    uint8_t resetCause = 1;
    uint8_t resetCounter = 7;
    int64_t nextResetAt = -1;
    // Memory (generation 2 serves it; both keep it).
    int64_t bootAt = 0;
    std::vector<std::array<uint8_t, 32>> stored;
    std::string log;
    bool logMissing = false;
    // Voltage source.
    std::vector<uint16_t> voltages;
    size_t voltageCursor = 0;
    uint32_t rng = 1;
};

void InstrumentInit(SimInstrument* inst, const SimConfig& config, int generation, int64_t now);
// Runs every phase change due up to now.
void InstrumentAdvance(SimInstrument* inst, int64_t now);

// Keypad. Each returns nothing; the answer shows the effect.
void InstrumentStart(SimInstrument* inst, int64_t now);
void InstrumentStop(SimInstrument* inst, int64_t now);
void InstrumentMenu(SimInstrument* inst);
void InstrumentDown(SimInstrument* inst);
void InstrumentUp(SimInstrument* inst);
void InstrumentSelect(SimInstrument* inst);
// Generation 2: a received 64-byte settings block; ignored while measuring.
void InstrumentWriteBlock(SimInstrument* inst, const uint8_t* block);
// Fills gen2Block bytes 16-22 from the settings.
void InstrumentSyncBlock(SimInstrument* inst);

bool InstrumentMeasuring(const SimInstrument& inst);
// The series length as reported: the running or last series', or the
// configured count while there is no series to show.
int InstrumentSeriesLength(const SimInstrument& inst);
uint8_t InstrumentStatusByte(const SimInstrument& inst);
int InstrumentStateCode(const SimInstrument& inst);
// High voltage now, 0.1 kV.
uint16_t InstrumentVoltage(const SimInstrument& inst, int64_t now);
