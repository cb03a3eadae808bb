#pragma once
// Drives the simulated driver the way the link does: through the looked-up
// function pointers, on a virtual clock that the test advances.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/d2xx.h"
#include "sim/sim.h"

namespace simtest {

inline uint32_t g_clockMs = 0;
inline uint32_t VirtualClock() { return g_clockMs; }

struct Ft {
    FtOpenExFn openEx;
    FtCloseFn close;
    FtReadFn read;
    FtWriteFn write;
    FtSetBaudRateFn setBaud;
    FtSetDataCharacteristicsFn setData;
    FtGetStatusFn getStatus;
    FtGetDeviceInfoFn getInfo;
};

inline Ft Bind() {
    Ft f;
    f.openEx = reinterpret_cast<FtOpenExFn>(SimLookupFunction("FT_OpenEx"));
    f.close = reinterpret_cast<FtCloseFn>(SimLookupFunction("FT_Close"));
    f.read = reinterpret_cast<FtReadFn>(SimLookupFunction("FT_Read"));
    f.write = reinterpret_cast<FtWriteFn>(SimLookupFunction("FT_Write"));
    f.setBaud = reinterpret_cast<FtSetBaudRateFn>(SimLookupFunction("FT_SetBaudRate"));
    f.setData = reinterpret_cast<FtSetDataCharacteristicsFn>(SimLookupFunction("FT_SetDataCharacteristics"));
    f.getStatus = reinterpret_cast<FtGetStatusFn>(SimLookupFunction("FT_GetStatus"));
    f.getInfo = reinterpret_cast<FtGetDeviceInfoFn>(SimLookupFunction("FT_GetDeviceInfo"));
    return f;
}

// The instrument's answers are checked against this independent CRC.
inline uint32_t Crc(const std::vector<uint8_t>& b, size_t n) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; i += 4) {
        crc ^= uint32_t(b[i]) | uint32_t(b[i + 1]) << 8 | uint32_t(b[i + 2]) << 16 | uint32_t(b[i + 3]) << 24;
        for (int k = 0; k < 32; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

inline std::vector<uint8_t> ShortFrame(uint8_t command) {
    std::vector<uint8_t> f = {command, 0x08, 0, 0, 0, 0, 0, 0};
    uint32_t c = Crc(f, 4);
    for (int k = 0; k < 4; ++k) f[4 + k] = uint8_t(c >> (8 * k));
    return f;
}

inline void Seal(std::vector<uint8_t>* f) {
    uint32_t c = Crc(*f, f->size() - 4);
    for (int k = 0; k < 4; ++k) (*f)[f->size() - 4 + k] = uint8_t(c >> (8 * k));
}

inline std::vector<uint8_t> ArgumentFrame(uint8_t command, uint32_t argument) {
    std::vector<uint8_t> f = {command, 0x0C, 0, 0, uint8_t(argument), uint8_t(argument >> 8),
                              uint8_t(argument >> 16), uint8_t(argument >> 24), 0, 0, 0, 0};
    Seal(&f);
    return f;
}

inline std::vector<uint8_t> StoredResultFrame(uint16_t index) {
    std::vector<uint8_t> f = {0x11, 0x08, uint8_t(index), uint8_t(index >> 8), 0, 0, 0, 0};
    Seal(&f);
    return f;
}

inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

inline uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

class SimTest : public ::testing::Test {
protected:
    Ft ft = Bind();
    FT_HANDLE handle = nullptr;

    void SetUp() override {
        g_clockMs = 5000;
        SimSetClock(VirtualClock);
    }
    void TearDown() override { SimSetClock(nullptr); }

    void Start(const SimConfig& config) {
        SimReset(config);
        ASSERT_TRUE(OpenAndConfigure(config.description, config.description == "ORLA-K200V2" ? 115200 : 9600));
    }
    bool OpenAndConfigure(const std::string& description, uint32_t baud) {
        if (ft.openEx(const_cast<char*>(description.c_str()), FT_OPEN_BY_DESCRIPTION, &handle) != FT_OK)
            return false;
        return ft.setBaud(handle, baud) == FT_OK && ft.setData(handle, 8, 0, 0) == FT_OK;
    }
    static void Advance(uint32_t ms) { g_clockMs += ms; }

    FT_STATUS Write(const std::vector<uint8_t>& bytes) {
        FT_DWORD written = 0;
        return ft.write(handle, const_cast<uint8_t*>(bytes.data()), FT_DWORD(bytes.size()), &written);
    }
    std::vector<uint8_t> ReadQueued() {
        FT_DWORD rx = 0, tx = 0, ev = 0;
        if (ft.getStatus(handle, &rx, &tx, &ev) != FT_OK || rx == 0) return {};
        std::vector<uint8_t> out(rx);
        FT_DWORD got = 0;
        EXPECT_EQ(FT_OK, ft.read(handle, out.data(), rx, &got));
        out.resize(got);
        return out;
    }
    // One worker iteration: send, wait 100 ms, read what is queued.
    std::vector<uint8_t> Exchange(const std::vector<uint8_t>& bytes) {
        Write(bytes);
        Advance(100);
        return ReadQueued();
    }
    std::vector<uint8_t> Gen1(uint8_t command) { return Exchange({command}); }
    std::vector<uint8_t> Gen2(uint8_t command) { return Exchange(ShortFrame(command)); }
};

inline SimConfig Gen1Config() {
    SimConfig c;
    c.description = "ORLA-K200V";
    return c;
}

}  // namespace simtest
