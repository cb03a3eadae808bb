#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "sim/sim.h"
#include "tests/unit/sim/sim_fixture.h"

namespace {

std::string WriteTemp(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace

TEST(SimConfigTest, ReadsSectionAndFlatKeysAndSkipsOthers) {
    std::string path = WriteTemp("sim_cfg.ini",
                                 "\xEF\xBB\xBF; demo\n"
                                 "speed = 4\n"
                                 "[instrument]\n"
                                 "Description=ORLA-K200\n"
                                 "serial=ABC123\n"
                                 "voltages=45.2, 47.0,60\n"
                                 "pre_test_delay=no\n"
                                 "unplug_at_ms=1500\n"
                                 "seed=4000000000\n"
                                 "unknown_key=1\n"
                                 "rise_rate=fast\n"
                                 "[other]\n"
                                 "serial=WRONG\n");
    SimConfig c;
    ASSERT_TRUE(SimLoadConfigFile(path.c_str(), &c));
    EXPECT_EQ(4.0, c.speed);
    EXPECT_EQ("ORLA-K200", c.description);
    EXPECT_EQ("ABC123", c.serial);
    EXPECT_EQ((std::vector<uint16_t>{452, 470, 600}), c.voltages);
    EXPECT_FALSE(c.preTestDelay);
    EXPECT_EQ(1500, c.unplugAtMs);
    EXPECT_EQ(4000000000u, c.seed);
    EXPECT_EQ(20, c.riseRate);  // a bad value leaves the default
    std::remove(path.c_str());
    EXPECT_FALSE(SimLoadConfigFile((path + ".missing").c_str(), &c));
}

TEST(SimConfigTest, KeysRejectBadValues) {
    SimConfig c;
    EXPECT_FALSE(SimApplyConfigKey("speed", "0", &c));
    EXPECT_FALSE(SimApplyConfigKey("speed", "abc", &c));
    EXPECT_FALSE(SimApplyConfigKey("measurement_count", "6x", &c));
    EXPECT_FALSE(SimApplyConfigKey("voltages", "45,-1", &c));
    EXPECT_FALSE(SimApplyConfigKey("sound", "maybe", &c));
    EXPECT_TRUE(SimApplyConfigKey("fail_write_at", "12", &c));
    EXPECT_EQ(12, c.failWriteAt);
    EXPECT_TRUE(SimApplyConfigKey("status_value_count_override", "8", &c));
    EXPECT_EQ(8, c.statusValueCountOverride);
}

// Extreme values are clamped where the model would otherwise overflow a
// conversion to an integer; the instrument still starts and answers.
TEST(SimConfigTest, ExtremeSpeedAndTimesAreClamped) {
    using namespace simtest;
    SimConfig c;
    ASSERT_TRUE(SimApplyConfigKey("speed", "1e300", &c));
    EXPECT_EQ(c.speed, 1e6);
    ASSERT_TRUE(SimApplyConfigKey("speed", "1e-300", &c));
    EXPECT_EQ(c.speed, 1e-3);
    ASSERT_TRUE(SimApplyConfigKey("clock_start", "9223372036854775807", &c));
    EXPECT_EQ(c.clockStart, 1000000000000LL);
    ASSERT_TRUE(SimApplyConfigKey("reset_every_ms", "-9223372036854775808", &c));
    EXPECT_EQ(c.resetEveryMs, -1000000000000LL);
    ASSERT_TRUE(SimApplyConfigKey("reset_every_ms", "1", &c));  // would reboot every model ms
    EXPECT_EQ(c.resetEveryMs, 100);
    ASSERT_TRUE(SimApplyConfigKey("unplug_at_ms", "99999999999999999999", &c));
    EXPECT_EQ(c.unplugAtMs, 1000000000000LL);
    for (const char* speed : {"1e300", "1e-300"}) {
        SimConfig run;
        run.storedResults = 3;
        ASSERT_TRUE(SimApplyConfigKey("speed", speed, &run));
        ASSERT_TRUE(SimApplyConfigKey("clock_start", "9223372036854775807", &run));
        g_clockMs = 0;
        SimSetClock(VirtualClock);
        SimReset(run);
        auto openEx = reinterpret_cast<FtOpenExFn>(SimLookupFunction("FT_OpenEx"));
        auto write = reinterpret_cast<FtWriteFn>(SimLookupFunction("FT_Write"));
        FT_HANDLE h = nullptr;
        ASSERT_EQ(FT_OK, openEx(const_cast<char*>("ORLA-K200V2"), FT_OPEN_BY_DESCRIPTION, &h));
        std::vector<uint8_t> start = ShortFrame(0x42);
        FT_DWORD n;
        write(h, start.data(), 8, &n);
        for (uint32_t t = 0; t < 4000000000u; t += 400000000u) g_clockMs = t, SimStateCode();
        SimSetClock(nullptr);
    }
}

TEST(SimConfigTest, EnvironmentDefaultsToDemonstrationSpeed) {
    unsetenv("ORLA_SIM_CONFIG");
    SimConfig c = SimConfigFromEnvironment();
    EXPECT_EQ("ORLA-K200V2", c.description);
    EXPECT_GT(c.speed, 1.0);
    std::string path = WriteTemp("sim_env.ini", "[instrument]\ndescription=ORLA-T10\n");
    setenv("ORLA_SIM_CONFIG", path.c_str(), 1);
    c = SimConfigFromEnvironment();
    unsetenv("ORLA_SIM_CONFIG");
    std::remove(path.c_str());
    EXPECT_EQ("ORLA-T10", c.description);
    EXPECT_GT(c.speed, 1.0);
}

TEST(SimConfigTest, DemoSeriesFinishesWithinAboutAMinute) {
    using namespace simtest;
    unsetenv("ORLA_SIM_CONFIG");
    g_clockMs = 0;
    SimSetClock(VirtualClock);
    SimReset(SimConfigFromEnvironment());
    auto openEx = reinterpret_cast<FtOpenExFn>(SimLookupFunction("FT_OpenEx"));
    auto setBaud = reinterpret_cast<FtSetBaudRateFn>(SimLookupFunction("FT_SetBaudRate"));
    auto write = reinterpret_cast<FtWriteFn>(SimLookupFunction("FT_Write"));
    FT_HANDLE h = nullptr;
    ASSERT_EQ(FT_OK, openEx(const_cast<char*>("ORLA-K200V2"), FT_OPEN_BY_DESCRIPTION, &h));
    setBaud(h, 115200);
    std::vector<uint8_t> start = ShortFrame(0x42);
    FT_DWORD n;
    write(h, start.data(), 8, &n);
    uint32_t finishedAt = 0;
    for (uint32_t t = 0; t < 120000 && !finishedAt; t += 100) {
        g_clockMs = t;
        if (SimStateCode() == 9) finishedAt = t;
    }
    SimSetClock(nullptr);
    EXPECT_GT(finishedAt, 30000u);
    EXPECT_LT(finishedAt, 70000u);
}

TEST(SimConfigTest, TransferFaultKeys) {
    SimConfig c;
    EXPECT_TRUE(SimApplyConfigKey("stored_empty_slots", "1, 3,7", &c));
    EXPECT_EQ((std::vector<uint16_t>{1, 3, 7}), c.storedEmptySlots);
    EXPECT_FALSE(SimApplyConfigKey("stored_empty_slots", "1,65536", &c));
    EXPECT_TRUE(SimApplyConfigKey("log_announced_size", "4294967295", &c));
    EXPECT_EQ(4294967295LL, c.logAnnouncedSize);
    EXPECT_FALSE(SimApplyConfigKey("log_announced_size", "4294967296", &c));
    EXPECT_FALSE(SimApplyConfigKey("answer_latency_ms", "-1", &c));
    EXPECT_TRUE(SimApplyConfigKey("stored_bad_crc_at", "3", &c));
    EXPECT_EQ(3, c.storedBadCrcAt);
}
