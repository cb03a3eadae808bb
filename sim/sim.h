#pragma once
// The simulated instrument behind the D2XX functions. One process-wide
// instance. The model advances lazily from the clock it is given, so it needs
// no thread: every D2XX call first brings it up to "now".
#include <cstdint>
#include <string>
#include <vector>

struct SimConfig {
    // USB description the instrument answers to: "ORLA-T10", "ORLA-K200",
    // "ORLA-K200V" (generation 1) or "ORLA-K200V2" (generation 2).
    std::string description = "ORLA-K200V2";
    std::string serial = "K2V000017";
    // Series timing: 1.0 is the real instrument; larger runs faster.
    double speed = 1.0;
    // Breakdown voltages, tenths of a kV, used in turn across series and
    // from the start again when used up. Bit 15 set, or a voltage above
    // maxVoltage: no breakdown up to maxVoltage. Empty: drawn from the seed.
    std::vector<uint16_t> voltages;
    uint32_t seed = 1;
    // Instrument settings at power-up.
    int measurementCount = 6;
    int pauseMinutes = 1;
    bool preTestDelay = true;
    int riseRate = 20;      // 0.1 kV/s
    int maxVoltage = 1000;  // 0.1 kV
    bool errorOfMean = false;
    bool sound = true;
    int tableLift = 0;
    bool altMethod = false;
    int calibrationConstant = 1000;
    int adcOffset = 512;
    // Phase lengths of the real instrument, ms (divided by speed).
    int liftMs = 5000;             // vessel lifted into the cell
    int preTestDelayMs = 60000;    // settling before the first rise
    int breakdownMs = 1000;        // after a breakdown, or holding at maxVoltage
    int stirMs = 10000;            // stirring at the start of each pause
    int lowerMs = 5000;            // vessel lowered after the series
    int finishedMs = 10000;        // generation 2: "finished" shown, then idle
    bool doorOpen = false;         // START is refused while the door is open
    // Firmware version text (8 characters); empty = a per-generation default.
    std::string version;
    // Generation 1 reset information; resetEveryMs > 0 makes the instrument
    // reset itself periodically (counter + 1, series aborted).
    int resetCause = 1;
    int resetCounter = 7;
    int64_t resetEveryMs = -1;
    // Generation 2: file-system error code of the erase answer (0 = success).
    int eraseError = 0;
    // Generation 2: report this valueCount in the status answer when > 0.
    int statusValueCountOverride = 0;
    // Generation 2 instrument memory. The clock: seconds since 1970 at
    // SimReset, running at speed. Results stored before power-up (made up
    // from the seed); every finished series is stored as well.
    int64_t clockStart = 1796083200;  // 2026-12-01 00:00
    int hourOffset = 3;
    int storedResults = 0;
    // Indices below the highest that hold nothing (answered with byte 38
    // set), and a value count put into every stored result when > 0 (e.g. 9
    // for a result claiming more than six values).
    std::vector<uint16_t> storedEmptySlots;
    int storedValueCountOverride = 0;
    // log.log as the instrument serves it: empty = kept by the instrument
    // from its own events; a path = that file's bytes; "none" = no file.
    std::string deviceLog;
    int logError = 0;  // file-system error code of log chunk answers
    // File size announced in every log chunk answer; -1 = the real size.
    // The data served stay those of the real file.
    int64_t logAnnouncedSize = -1;
    // Unplug/replug, ms since the driver was first opened; -1 = never. A
    // replug may come back with another serial.
    int64_t unplugAtMs = -1;
    int64_t replugAtMs = -1;
    std::string replugSerial;
    // Faults: the n-th write (1-based, counting all writes) fails; the n-th
    // status query fails; the n-th answer gets a damaged CRC; the n-th answer
    // is split across two reads; garbage bytes before the n-th answer. 0 = off.
    int failWriteAt = 0;
    int failStatusAt = 0;
    // Writes of one command (generation 1: the byte; generation 2: frame
    // byte 0; -1 = none): from its failCommandAt-th write on (1-based,
    // counting that command's writes only), failCommandCount writes fail as
    // failCommandMode says.
    int failCommand = -1;
    int failCommandAt = 1;
    int failCommandCount = 1;
    enum class WriteFault { Error, Short, Unplug };
    // Error: FT_IO_ERROR, nothing sent. Short: FT_OK, but only the first
    // half sent and reported written. Unplug: the cable is pulled just
    // before the write (which fails) and is back failCommandReplugMs model
    // ms later.
    WriteFault failCommandMode = WriteFault::Error;
    int64_t failCommandReplugMs = 3000;
    int badCrcAt = 0;
    int splitAnswerAt = 0;
    int garbageAt = 0;
    // The same faults repeating: every n-th answer (n, 2n, 3n, ...). 0 = off.
    int badCrcEvery = 0;
    int splitAnswerEvery = 0;
    int garbageEvery = 0;
    // Faults of the stored-result answers alone (counting 0x11 answers
    // only, 1-based): the n-th gets a damaged CRC; the n-th is never sent.
    int storedBadCrcAt = 0;
    int storedMissingAt = 0;
    // Model ms between a command and the first byte of its answer on the
    // wire (not divided by speed); 0 = at once.
    int answerLatencyMs = 0;
    // Traffic journal file (empty = none): one line per write and per read.
    std::string journalPath;
};

struct SimJournalEntry {
    uint32_t ms;              // since the driver was opened
    bool write;               // true: program -> instrument
    std::vector<uint8_t> bytes;
};

// Starts afresh with this configuration (the instrument idle, plugged in).
void SimReset(const SimConfig& config);
// Parses the INI text of ORLA_SIM_CONFIG into config; unknown keys ignored.
// Returns false when the file cannot be read.
bool SimLoadConfigFile(const char* path, SimConfig* config);
// The configuration the DLL uses: ORLA_SIM_CONFIG when set, defaults else
// (a generation-2 instrument at demonstration speed).
SimConfig SimConfigFromEnvironment();
// The clock the model runs on, in milliseconds; nullptr = steady clock.
// Switching clocks keeps the model's time continuous.
void SimSetClock(uint32_t (*now)());
// Applies one INI key to config; false for an unknown key or a bad value.
bool SimApplyConfigKey(const std::string& key, const std::string& value, SimConfig* config);

// Every function name the program looks up, with the D2XX signatures of
// platform/d2xx.h; nullptr for names the driver does not have.
void* SimLookupFunction(const char* name);

// Test controls.
void SimUnplug();
void SimReplug(const std::string& serial = "");
// Bytes waiting to be read, added as if the instrument had sent them.
void SimInjectReceived(const std::vector<uint8_t>& bytes);
const std::vector<SimJournalEntry>& SimJournal();
bool SimPlugged();
// Current state code as the generation-2 status answer reports it (also
// computed for generation 1).
int SimStateCode();
