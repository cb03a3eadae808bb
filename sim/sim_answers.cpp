#include "sim/sim_answers.h"

#include <algorithm>
#include <cstring>

#include "sim/sim_crc.h"
#include "sim/sim_storage.h"

namespace {

void PutLe16(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void PutBe16(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

void PutVersion(uint8_t* p, const SimInstrument& inst) {
    const char* text = !inst.config.version.empty() ? inst.config.version.c_str()
                       : inst.generation == 1       ? "V1.40.12"
                                                    : "V2.31.07";
    size_t n = std::min<size_t>(std::strlen(text), 8);
    std::memset(p, ' ', 8);
    std::memcpy(p, text, n);
}

void KeypadPress(SimInstrument* inst, uint8_t command, int64_t now) {
    switch (command) {
        case 0x41: InstrumentStop(inst, now); break;
        case 0x42: InstrumentStart(inst, now); break;
        case 0x44: InstrumentUp(inst); break;
        case 0x48: InstrumentDown(inst); break;
        case 0x50: InstrumentSelect(inst); break;
        case 0x60: InstrumentMenu(inst); break;
    }
}

bool IsKeypad(uint8_t command) {
    return command == 0x41 || command == 0x42 || command == 0x44 || command == 0x48 || command == 0x50 ||
           command == 0x60;
}

std::vector<uint8_t> Gen1Frame(const SimInstrument& inst, uint8_t type, size_t length) {
    std::vector<uint8_t> a(length, 0);
    a[0] = a[1] = a[2] = 0xFF;
    a[3] = type;
    a[4] = InstrumentStatusByte(inst);
    return a;
}

std::vector<uint8_t> Gen2Frame(uint8_t type, size_t length) {
    std::vector<uint8_t> a(length, 0);
    a[0] = type;
    a[1] = uint8_t(length);
    return a;
}

void Gen2Status(const SimInstrument& inst, int64_t now, uint8_t* a) {
    bool measuring = InstrumentMeasuring(inst);
    bool finished = inst.phase == SimPhase::Finished;
    a[2] = (measuring || finished) ? 0 : 1;
    a[3] = uint8_t(InstrumentStateCode(inst));
    a[4] = uint8_t(InstrumentSeriesLength(inst));
    int count = inst.config.statusValueCountOverride > 0 ? inst.config.statusValueCountOverride : inst.valueCount;
    a[5] = uint8_t(count);
    a[6] = uint8_t(inst.maxVoltage / 10);
    a[8] = measuring ? 1 : 2;
    for (int i = 0; i < 6; ++i) PutLe16(a + 10 + 2 * i, inst.slots[i]);
    unsigned u = InstrumentVoltage(inst, now);
    // The two half-windings read slightly apart; currents and the
    // autotransformer follow the voltage.
    PutLe16(a + 22, u);
    PutLe16(a + 24, u ? u - u / 100 : 0);
    PutLe16(a + 26, u / 20);
    PutLe16(a + 28, u / 21);
    PutLe16(a + 30, u * 22 / 10);
    PutLe16(a + 32, u ? 150 + u * 2 : 0);
}

// One chunk of log.log: at most 128 bytes from offset. The frame is padded
// to a multiple of four; byte 2 tells how many data bytes count.
std::vector<uint8_t> LogChunk(const SimInstrument& inst, uint32_t offset) {
    const std::string& file = inst.log;
    size_t size = inst.logMissing ? 0 : file.size();
    size_t n = offset < size ? std::min<size_t>(128, size - offset) : 0;
    if (inst.config.logError) n = 0;
    uint32_t announced = inst.config.logAnnouncedSize >= 0 ? uint32_t(inst.config.logAnnouncedSize) : uint32_t(size);
    std::vector<uint8_t> a = Gen2Frame(0x08, 16 + (n + 3) / 4 * 4);
    a[2] = uint8_t(n);
    a[3] = uint8_t(inst.config.logError);
    for (int k = 0; k < 4; ++k) {
        a[4 + k] = uint8_t(offset >> (8 * k));
        a[8 + k] = uint8_t(announced >> (8 * k));
    }
    if (n) std::memcpy(a.data() + 12, file.data() + offset, n);
    return a;
}

}  // namespace

std::vector<uint8_t> SimGen1Answer(SimInstrument* inst, uint8_t command, int64_t now) {
    if (IsKeypad(command)) {
        KeypadPress(inst, command, now);
        return Gen1Frame(*inst, command, 5);
    }
    switch (command) {
        case 0x00: {
            std::vector<uint8_t> a = Gen1Frame(*inst, 0x00, 13);
            PutVersion(a.data() + 5, *inst);
            return a;
        }
        case 0x02: {
            std::vector<uint8_t> a = Gen1Frame(*inst, 0x02, 25);
            a[5] = uint8_t((inst->measurementCount & 0x0F) | (inst->tableLift << 4));
            a[6] = uint8_t((inst->pauseMinutes & 0x0F) | (inst->altMethod ? 0x10 : 0) |
                           (inst->errorOfMean ? 0x20 : 0) | (inst->preTestDelay ? 0x40 : 0) |
                           (inst->sound ? 0x80 : 0));
            PutBe16(a.data() + 7, unsigned(inst->riseRate));
            PutBe16(a.data() + 9, unsigned(inst->maxVoltage));
            PutLe16(a.data() + 11, 0x0102);
            PutBe16(a.data() + 13, 0x0304);
            PutBe16(a.data() + 15, unsigned(inst->config.calibrationConstant));
            PutBe16(a.data() + 17, 0x0506);
            PutBe16(a.data() + 19, 0x0708);
            PutBe16(a.data() + 21, unsigned(inst->config.adcOffset));
            PutLe16(a.data() + 23, 0x090A);
            return a;
        }
        case 0x09:
            return Gen1Frame(*inst, 0x09, 5);
        case 0x13: {
            std::vector<uint8_t> a = Gen1Frame(*inst, 0x13, 7);
            a[5] = inst->resetCause;
            a[6] = inst->resetCounter;
            return a;
        }
        case 0x20: {
            std::vector<uint8_t> a = Gen1Frame(*inst, 0x20, 37);
            a[6] = uint8_t(InstrumentSeriesLength(*inst));
            a[9] = uint8_t(inst->valueCount);
            PutLe16(a.data() + 11, unsigned(inst->maxVoltage));
            for (int i = 0; i < 6; ++i) PutLe16(a.data() + 13 + 2 * i, inst->slots[i]);
            // The voltage now rising is reported in the next free slot.
            if ((inst->phase == SimPhase::Rise || inst->phase == SimPhase::Hold) && inst->valueCount < 6)
                PutLe16(a.data() + 13 + 2 * inst->valueCount, InstrumentVoltage(*inst, now));
            return a;
        }
    }
    return {};
}

std::vector<uint8_t> SimGen2Answer(SimInstrument* inst, const uint8_t* frame, size_t length, int64_t now) {
    uint8_t command = frame[0];
    std::vector<uint8_t> a;
    if (IsKeypad(command)) {
        KeypadPress(inst, command, now);
        a = Gen2Frame(command, 8);
    } else {
        switch (command) {
            case 0x00:
                a = Gen2Frame(0x00, 28);
                std::memcpy(a.data() + 4, "K200V2", 6);
                PutVersion(a.data() + 15, *inst);
                break;
            case 0x01:
                a = Gen2Frame(0x01, 8);
                break;
            case 0x02:
                a = Gen2Frame(0x02, 72);
                InstrumentSyncBlock(inst);
                std::memcpy(a.data() + 4, inst->gen2Block, 64);
                break;
            case 0x05:
                if (length != 72) return {};
                InstrumentWriteBlock(inst, frame + 4);
                a = Gen2Frame(0x05, 8);
                break;
            case 0x08:
                if (length != 12) return {};
                a = LogChunk(*inst, uint32_t(frame[4] | frame[5] << 8 | frame[6] << 16 | uint32_t(frame[7]) << 24));
                break;
            case 0x09:
                a = Gen2Frame(0x09, 8);
                a[3] = uint8_t(inst->config.eraseError);
                // Only a log the instrument keeps itself can be erased.
                if (!a[3] && inst->config.deviceLog.empty()) inst->log.clear();
                break;
            case 0x11: {
                uint16_t index = uint16_t(frame[2] | frame[3] << 8);
                a = Gen2Frame(0x11, 48);
                PutLe16(a.data() + 2, index);
                bool present = StorageEntry(*inst, index, a.data() + 4);
                PutLe16(a.data() + 36, StorageHighest(*inst));
                a[38] = present ? 0 : 1;
                break;
            }
            case 0x20:
                a = Gen2Frame(0x20, 44);
                Gen2Status(*inst, now, a.data());
                break;
            default:
                return {};
        }
    }
    SimSealFrame(a.data(), a.size());
    return a;
}
