// The USB side of the simulated instrument: handles, plugging, line settings,
// the receive queue with its delivery times, and the configured faults.
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/threads.h"
#include "sim/sim.h"
#include "sim/sim_answers.h"
#include "sim/sim_clock.h"
#include "sim/sim_crc.h"
#include "sim/sim_d2xx.h"
#include "sim/sim_journal.h"

namespace {

struct RxChunk {
    int64_t readyAt;
    std::vector<uint8_t> bytes;
};

struct Driver {
    bool initialized = false;
    SimConfig config;
    SimInstrument inst;
    bool plugged = true;
    std::string serial;
    bool open = false;
    bool dead = false;  // unplugged while open: fails until closed
    uintptr_t handle = 0;
    uint32_t openCount = 0;
    uint32_t baud = 9600;
    bool lineOk = true;  // 8N1
    std::deque<RxChunk> rx;
    int64_t lastReadyAt = 0;
    std::vector<uint8_t> input;  // generation 2: bytes of an incomplete frame
    int64_t lastInputAt = 0;
    int writes = 0;
    int statusQueries = 0;
    int answers = 0;
    int storedAnswers = 0;
    int64_t epoch = -1;
    bool unplugFired = false;
    bool replugFired = false;
    int commandWrites = 0;       // writes of config.failCommand so far
    int64_t faultReplugAt = -1;  // replug after a fail_command unplug
    uint32_t noise = 0x2545F491u;
};

platform::Mutex g_mutex;
Driver g_driver;

int GenerationOf(const std::string& description) { return description == "ORLA-K200V2" ? 2 : 1; }

void ResetLocked(const SimConfig& config) {
    g_driver = Driver();
    g_driver.initialized = true;
    g_driver.config = config;
    g_driver.serial = config.serial;
    InstrumentInit(&g_driver.inst, config, GenerationOf(config.description), SimClockNow());
    JournalStart(config.journalPath);
}

void Unplug() {
    Driver& d = g_driver;
    if (!d.plugged) return;
    d.plugged = false;
    if (d.open) d.dead = true;
    d.rx.clear();
    d.input.clear();
}

void Replug(const std::string& serial) {
    Driver& d = g_driver;
    if (d.plugged) return;
    d.plugged = true;
    if (!serial.empty()) d.serial = serial;
}

// Brings the model up to now; every entry point starts here.
int64_t Sync() {
    if (!g_driver.initialized) ResetLocked(SimConfig());
    Driver& d = g_driver;
    int64_t now = SimClockNow();
    if (d.epoch >= 0) {
        if (d.config.unplugAtMs >= 0 && !d.unplugFired && now >= d.epoch + d.config.unplugAtMs) {
            d.unplugFired = true;
            Unplug();
        }
        if (d.config.replugAtMs >= 0 && !d.replugFired && !d.plugged && now >= d.epoch + d.config.replugAtMs) {
            d.replugFired = true;
            Replug(d.config.replugSerial);
        }
    }
    if (d.faultReplugAt >= 0 && now >= d.faultReplugAt) {
        d.faultReplugAt = -1;
        Replug(std::string());
    }
    InstrumentAdvance(&d.inst, now);
    return now;
}

uint32_t JournalMs(int64_t now) { return g_driver.epoch < 0 ? 0 : uint32_t(now - g_driver.epoch); }

FT_STATUS Check(FT_HANDLE handle) {
    const Driver& d = g_driver;
    if (!d.open || reinterpret_cast<uintptr_t>(handle) != d.handle) return FT_INVALID_HANDLE;
    if (d.dead) return FT_IO_ERROR;
    return FT_OK;
}

FT_STATUS OpenLocked(int64_t now, FT_HANDLE* handle) {
    Driver& d = g_driver;
    if (!handle) return FT_INVALID_PARAMETER;
    if (!d.plugged) return FT_DEVICE_NOT_FOUND;
    if (d.open && !d.dead) return FT_DEVICE_NOT_OPENED;  // one user at a time
    d.open = true;
    d.dead = false;
    ++d.openCount;
    d.handle = 0x5100 + 0x10 * uintptr_t(d.openCount);
    d.baud = 9600;
    d.lineOk = true;
    d.rx.clear();
    d.input.clear();
    if (d.epoch < 0) d.epoch = now;
    *handle = reinterpret_cast<FT_HANDLE>(d.handle);
    return FT_OK;
}

bool LineMatches() {
    const Driver& d = g_driver;
    return d.lineOk && d.baud == (d.inst.generation == 2 ? 115200u : 9600u);
}

size_t ReadyCount(int64_t now) {
    size_t n = 0;
    for (const RxChunk& c : g_driver.rx) {
        if (c.readyAt > now) break;
        n += c.bytes.size();
    }
    return n;
}

// Time on the wire at the instrument's rate, 10 bits a byte.
int64_t WireMs(size_t bytes) {
    uint32_t baud = g_driver.inst.generation == 2 ? 115200 : 9600;
    return int64_t((bytes * 10 * 1000 + baud - 1) / baud);
}

void Queue(int64_t now, std::vector<uint8_t> bytes, int64_t extraDelay = 0) {
    Driver& d = g_driver;
    if (bytes.empty()) return;
    int64_t start = std::max(now, d.lastReadyAt);
    int64_t ready = start + WireMs(bytes.size()) + extraDelay;
    d.lastReadyAt = ready;
    d.rx.push_back(RxChunk{ready, std::move(bytes)});
}

// Garbage never looks like the start of an answer: generation 1 checks for
// three 0xFF, generation 2 for a length no larger than what was read.
std::vector<uint8_t> Garbage(size_t count) {
    Driver& d = g_driver;
    std::vector<uint8_t> g(count);
    for (size_t i = 0; i < count; ++i) {
        d.noise ^= d.noise << 13;
        d.noise ^= d.noise >> 17;
        d.noise ^= d.noise << 5;
        g[i] = uint8_t(d.noise & 0x7E);
    }
    if (count > 1) g[1] = 0xF0;
    return g;
}

bool Every(int n, int period) { return period > 0 && n % period == 0; }

void Emit(int64_t now, std::vector<uint8_t> answer) {
    Driver& d = g_driver;
    if (answer.empty()) return;
    if (d.inst.generation == 2 && answer[0] == 0x11) {
        int k = ++d.storedAnswers;
        if (k == d.config.storedMissingAt) return;
        if (k == d.config.storedBadCrcAt) answer.back() ^= 0x01;
    }
    const int64_t latency = d.config.answerLatencyMs;
    int n = ++d.answers;
    if (n == d.config.badCrcAt || Every(n, d.config.badCrcEvery)) {
        // Generation 1 has no checksum: a damaged header byte is what the
        // program can notice there.
        if (d.inst.generation == 2)
            answer.back() ^= 0x01;
        else
            answer[0] ^= 0x01;
    }
    if (n == d.config.garbageAt || Every(n, d.config.garbageEvery)) {
        std::vector<uint8_t> g = Garbage(4);
        answer.insert(answer.begin(), g.begin(), g.end());
    }
    if ((n == d.config.splitAnswerAt || Every(n, d.config.splitAnswerEvery)) && answer.size() > 1) {
        size_t half = answer.size() / 2;
        std::vector<uint8_t> tail(answer.begin() + long(half), answer.end());
        answer.resize(half);
        Queue(now, std::move(answer), latency);
        // Late enough that the program's read after its 100 ms wait sees
        // only the first part.
        Queue(now, std::move(tail), 150);
        return;
    }
    Queue(now, std::move(answer), latency);
}

void Gen2Receive(int64_t now, const uint8_t* bytes, size_t count) {
    Driver& d = g_driver;
    // A frame left incomplete for a while is abandoned, as the firmware's
    // inter-byte timeout does.
    if (!d.input.empty() && now - d.lastInputAt > 50) d.input.clear();
    d.lastInputAt = now;
    d.input.insert(d.input.end(), bytes, bytes + count);
    while (d.input.size() >= 2) {
        size_t length = d.input[1];
        if (length < 8 || length % 4 != 0) {
            d.input.erase(d.input.begin());
            continue;
        }
        if (d.input.size() < length) break;
        if (SimCrc32Words(d.input.data(), length) != 0) {
            d.input.erase(d.input.begin());
            continue;
        }
        std::vector<uint8_t> frame(d.input.begin(), d.input.begin() + long(length));
        d.input.erase(d.input.begin(), d.input.begin() + long(length));
        Emit(now, SimGen2Answer(&d.inst, frame.data(), frame.size(), now));
    }
}

void Deliver(int64_t now, const uint8_t* bytes, size_t count) {
    Driver& d = g_driver;
    if (!LineMatches()) {
        // At the wrong rate the instrument hears noise and the program reads
        // noise back.
        Queue(now, Garbage(std::max<size_t>(4, std::min<size_t>(count, 16))));
        return;
    }
    if (d.inst.generation == 1) {
        for (size_t i = 0; i < count; ++i) Emit(now, SimGen1Answer(&d.inst, bytes[i], now));
    } else {
        Gen2Receive(now, bytes, count);
    }
}

void CopyText(char* out, size_t size, const std::string& text) {
    if (!out) return;
    size_t n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    std::memset(out + n, 0, size - n);
}

#define SIM_LOCK                                    \
    std::lock_guard<platform::Mutex> lock(g_mutex); \
    int64_t now = Sync();                           \
    (void)now

// The line-setting calls the program never relies on: they only need an
// open, live handle.
FT_STATUS Harmless(FT_HANDLE handle) {
    SIM_LOCK;
    return Check(handle);
}

}  // namespace

void SimReset(const SimConfig& config) {
    std::lock_guard<platform::Mutex> lock(g_mutex);
    ResetLocked(config);
}

FT_STATUS ORLA_WINAPI Sim_FT_Open(int deviceNumber, FT_HANDLE* handle) {
    SIM_LOCK;
    if (deviceNumber != 0) return FT_DEVICE_NOT_FOUND;
    return OpenLocked(now, handle);
}

FT_STATUS ORLA_WINAPI Sim_FT_OpenEx(void* arg, FT_DWORD flags, FT_HANDLE* handle) {
    SIM_LOCK;
    if (!arg) return FT_INVALID_PARAMETER;
    const char* name = static_cast<const char*>(arg);
    if (flags == FT_OPEN_BY_DESCRIPTION) {
        if (g_driver.config.description != name) return FT_DEVICE_NOT_FOUND;
    } else if (flags == FT_OPEN_BY_SERIAL_NUMBER) {
        if (g_driver.serial != name) return FT_DEVICE_NOT_FOUND;
    } else {
        return FT_DEVICE_NOT_FOUND;
    }
    return OpenLocked(now, handle);
}

FT_STATUS ORLA_WINAPI Sim_FT_ListDevices(void* arg1, void* arg2, FT_DWORD flags) {
    SIM_LOCK;
    const FT_DWORD kNumberOnly = 0x80000000u, kByIndex = 0x40000000u;
    if (flags == kNumberOnly) {
        if (!arg1) return FT_INVALID_PARAMETER;
        *static_cast<FT_DWORD*>(arg1) = g_driver.plugged ? 1 : 0;
        return FT_OK;
    }
    if ((flags & kByIndex) && arg2) {
        if (reinterpret_cast<uintptr_t>(arg1) != 0 || !g_driver.plugged) return FT_DEVICE_NOT_FOUND;
        if (flags & FT_OPEN_BY_DESCRIPTION) return CopyText(static_cast<char*>(arg2), 64, g_driver.config.description), FT_OK;
        if (flags & FT_OPEN_BY_SERIAL_NUMBER) return CopyText(static_cast<char*>(arg2), 16, g_driver.serial), FT_OK;
    }
    return FT_NOT_SUPPORTED;
}

FT_STATUS ORLA_WINAPI Sim_FT_Close(FT_HANDLE handle) {
    SIM_LOCK;
    if (!g_driver.open || reinterpret_cast<uintptr_t>(handle) != g_driver.handle) return FT_INVALID_HANDLE;
    g_driver.open = false;
    g_driver.dead = false;
    g_driver.rx.clear();
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Sim_FT_Read(FT_HANDLE handle, void* buffer, FT_DWORD toRead, FT_DWORD* got) {
    SIM_LOCK;
    if (got) *got = 0;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    if (!buffer || !got) return FT_INVALID_PARAMETER;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    FT_DWORD n = 0;
    Driver& d = g_driver;
    while (n < toRead && !d.rx.empty() && d.rx.front().readyAt <= now) {
        std::vector<uint8_t>& chunk = d.rx.front().bytes;
        size_t take = std::min<size_t>(chunk.size(), toRead - n);
        std::memcpy(out + n, chunk.data(), take);
        n += FT_DWORD(take);
        chunk.erase(chunk.begin(), chunk.begin() + long(take));
        if (chunk.empty()) d.rx.pop_front();
    }
    *got = n;
    if (n) JournalAdd(JournalMs(now), false, out, n);
    return FT_OK;
}

// Counts the writes of the configured command and says whether this one is
// among those to fail.
static bool CommandWriteFails(const uint8_t* bytes, FT_DWORD count) {
    Driver& d = g_driver;
    if (count == 0 || d.config.failCommand < 0 || bytes[0] != d.config.failCommand) return false;
    int n = ++d.commandWrites;
    return n >= d.config.failCommandAt && n - d.config.failCommandAt < d.config.failCommandCount;
}

FT_STATUS ORLA_WINAPI Sim_FT_Write(FT_HANDLE handle, void* buffer, FT_DWORD toWrite, FT_DWORD* written) {
    SIM_LOCK;
    if (written) *written = 0;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    if (!buffer || !written) return FT_INVALID_PARAMETER;
    if (++g_driver.writes == g_driver.config.failWriteAt) return FT_IO_ERROR;
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    if (CommandWriteFails(bytes, toWrite)) {
        switch (g_driver.config.failCommandMode) {
            case SimConfig::WriteFault::Error:
                return FT_IO_ERROR;
            case SimConfig::WriteFault::Short:
                toWrite /= 2;
                break;
            case SimConfig::WriteFault::Unplug:
                Unplug();
                g_driver.faultReplugAt = now + g_driver.config.failCommandReplugMs;
                return FT_IO_ERROR;
        }
    }
    if (toWrite) JournalAdd(JournalMs(now), true, bytes, toWrite);
    *written = toWrite;
    Deliver(now, bytes, toWrite);
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Sim_FT_IoCtl(FT_HANDLE, FT_DWORD, void*, FT_DWORD, void*, FT_DWORD, FT_DWORD*, void*) {
    return FT_NOT_SUPPORTED;
}

FT_STATUS ORLA_WINAPI Sim_FT_SetBaudRate(FT_HANDLE handle, FT_DWORD baud) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    if (baud == 0) return FT_INVALID_PARAMETER;
    g_driver.baud = baud;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Sim_FT_SetDivisor(FT_HANDLE handle, uint16_t divisor) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    g_driver.baud = divisor ? 3000000u / divisor : 3000000u;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Sim_FT_SetDataCharacteristics(FT_HANDLE handle, uint8_t wordLength, uint8_t stopBits,
                                                    uint8_t parity) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    g_driver.lineOk = wordLength == FT_BITS_8 && stopBits == FT_STOP_BITS_1 && parity == FT_PARITY_NONE;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Sim_FT_SetFlowControl(FT_HANDLE handle, uint16_t, uint8_t, uint8_t) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_ResetDevice(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetDtr(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_ClrDtr(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetRts(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_ClrRts(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetChars(FT_HANDLE handle, uint8_t, uint8_t, uint8_t, uint8_t) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetTimeouts(FT_HANDLE handle, FT_DWORD, FT_DWORD) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetEventNotification(FT_HANDLE handle, FT_DWORD, void*) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetBreakOn(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetBreakOff(FT_HANDLE handle) { return Harmless(handle); }
FT_STATUS ORLA_WINAPI Sim_FT_SetResetPipeRetryCount(FT_HANDLE handle, FT_DWORD) { return Harmless(handle); }

FT_STATUS ORLA_WINAPI Sim_FT_GetModemStatus(FT_HANDLE handle, FT_DWORD* status) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s == FT_OK && status) *status = 0x30;  // CTS and DSR
    return s;
}

FT_STATUS ORLA_WINAPI Sim_FT_Purge(FT_HANDLE handle, FT_DWORD mask) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s == FT_OK && (mask & 1)) g_driver.rx.clear();
    return s;
}

FT_STATUS ORLA_WINAPI Sim_FT_GetQueueStatus(FT_HANDLE handle, FT_DWORD* rxBytes) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s == FT_OK && rxBytes) *rxBytes = FT_DWORD(ReadyCount(now));
    return s;
}

FT_STATUS ORLA_WINAPI Sim_FT_GetStatus(FT_HANDLE handle, FT_DWORD* rxBytes, FT_DWORD* txBytes, FT_DWORD* events) {
    SIM_LOCK;
    if (++g_driver.statusQueries == g_driver.config.failStatusAt) return FT_IO_ERROR;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    if (rxBytes) *rxBytes = FT_DWORD(ReadyCount(now));
    if (txBytes) *txBytes = 0;
    if (events) *events = 0;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Sim_FT_SetWaitMask(FT_HANDLE, FT_DWORD) { return FT_NOT_SUPPORTED; }
FT_STATUS ORLA_WINAPI Sim_FT_WaitOnMask(FT_HANDLE, FT_DWORD*) { return FT_NOT_SUPPORTED; }
FT_STATUS ORLA_WINAPI Sim_FT_GetEventStatus(FT_HANDLE, FT_DWORD*) { return FT_NOT_SUPPORTED; }
FT_STATUS ORLA_WINAPI Sim_FT_ReadEE(FT_HANDLE, FT_DWORD, uint16_t*) { return FT_NOT_SUPPORTED; }
FT_STATUS ORLA_WINAPI Sim_FT_WriteEE(FT_HANDLE, FT_DWORD, uint16_t) { return FT_NOT_SUPPORTED; }
FT_STATUS ORLA_WINAPI Sim_FT_EraseEE(FT_HANDLE) { return FT_NOT_SUPPORTED; }

FT_STATUS ORLA_WINAPI Sim_FT_GetDeviceInfo(FT_HANDLE handle, FT_DWORD* type, FT_DWORD* id, char* serial,
                                           char* description, void*) {
    SIM_LOCK;
    FT_STATUS s = Check(handle);
    if (s != FT_OK) return s;
    if (type) *type = 5;  // FT232R
    if (id) *id = 0x04036001u;
    CopyText(serial, 16, g_driver.serial);
    CopyText(description, 64, g_driver.config.description);
    return FT_OK;
}

void* SimLookupFunction(const char* name) {
    if (!name) return nullptr;
#define SIM_LOOKUP(fn, params, args) \
    if (std::strcmp(name, #fn) == 0) return reinterpret_cast<void*>(&Sim_##fn);
    SIM_FT_FUNCTIONS(SIM_LOOKUP)
#undef SIM_LOOKUP
    return nullptr;
}

void SimUnplug() {
    SIM_LOCK;
    Unplug();
}

void SimReplug(const std::string& serial) {
    SIM_LOCK;
    Replug(serial);
}

void SimInjectReceived(const std::vector<uint8_t>& bytes) {
    SIM_LOCK;
    if (!bytes.empty()) g_driver.rx.push_back(RxChunk{now, bytes});
}

const std::vector<SimJournalEntry>& SimJournal() { return JournalEntries(); }

bool SimPlugged() {
    SIM_LOCK;
    return g_driver.plugged;
}

int SimStateCode() {
    SIM_LOCK;
    return InstrumentStateCode(g_driver.inst);
}
