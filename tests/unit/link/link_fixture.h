#pragma once
// Common ground of the link tests: a fresh fake platform, zeroed state, the
// scripted driver installed, and answer builders for both generations.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/ended_series.h"
#include "app/link_shell_install.h"
#include "app/main_window_ops.h"
#include "app/unarchived_series.h"
#include "common/program_settings.h"
#include "link/connection.h"
#include "link/crc32_words.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/link_worker_steps.h"
#include "link/parse_answer.h"
#include "platform/fake/fake_platform.h"
#include "tests/unit/link/test_driver.h"

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        ResetDeviceState();
        ResetLinkWorker();
        // The windows the link reaches are the shell's, recorded by the fake platform.
        InstallLinkShell();
        ResetUnarchivedSeries();
        ForgetEndedSeries();
        testdrv::Reset();
        testdrv::Install();
        std::memset(&g_currentRecord, 0, sizeof g_currentRecord);
        g_programSettings.serviceMode = false;
        g_programSettings.progonkaMode = false;
    }
    void TearDown() override {
        g_programSettings.serviceMode = false;
        g_programSettings.progonkaMode = false;
    }

    // Opens the instrument as the worker start does, then forgets what the
    // connection wrote to the windows.
    void Connect(const std::string& description, const std::string& serial = "FT123456") {
        testdrv::Plug(description, serial);
        ASSERT_TRUE(LinkWorkerStartup());
        fake::ClearUiCalls();
    }
    void Iterations(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(LinkWorkerIteration());
    }
};

inline std::vector<uint8_t> Gen1Answer(uint8_t type, uint8_t status, std::vector<uint8_t> payload) {
    std::vector<uint8_t> a = {0xFF, 0xFF, 0xFF, type, status};
    a.insert(a.end(), payload.begin(), payload.end());
    return a;
}

// 37-byte result answer: count, series length and up to six voltages.
inline std::vector<uint8_t> Gen1Results(uint8_t status, uint8_t count, const std::vector<uint16_t>& volts,
                                        uint8_t seriesLength = 6) {
    std::vector<uint8_t> p(32, 0);
    p[1] = seriesLength;
    p[4] = count;
    for (size_t i = 0; i < volts.size() && i < 6; ++i) {
        p[8 + 2 * i] = static_cast<uint8_t>(volts[i]);
        p[9 + 2 * i] = static_cast<uint8_t>(volts[i] >> 8);
    }
    return Gen1Answer(0x20, status, p);
}

// Closes a generation-2 answer: length in byte 1, CRC in the last four.
inline std::vector<uint8_t> Gen2Frame(std::vector<uint8_t> f) {
    f[1] = static_cast<uint8_t>(f.size());
    uint32_t crc = Crc32Words(f.data(), static_cast<uint16_t>(f.size() - 4));
    for (int i = 0; i < 4; ++i) f[f.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
    return f;
}

inline std::vector<uint8_t> Gen2Status(uint8_t state, uint8_t count, const std::vector<uint16_t>& volts,
                                       uint8_t notMeasuring = 0, uint8_t mode = 0, uint8_t seriesLength = 6) {
    std::vector<uint8_t> f(44, 0);
    f[0] = 0x20;
    f[2] = notMeasuring;
    f[3] = state;
    f[4] = seriesLength;
    f[5] = count;
    f[8] = mode;
    for (size_t i = 0; i < volts.size() && i < 6; ++i) {
        f[10 + 2 * i] = static_cast<uint8_t>(volts[i]);
        f[11 + 2 * i] = static_cast<uint8_t>(volts[i] >> 8);
    }
    return Gen2Frame(f);
}

inline void Parse(const std::vector<uint8_t>& a) { ParseAnswer(a.data(), static_cast<uint32_t>(a.size())); }

inline int CountOf(const std::string& op, ui::Window w, int id, int value) {
    int n = 0;
    for (const auto& c : fake::UiCallsOf(op))
        if (c.window == w && c.id == id && c.value == value) ++n;
    return n;
}
