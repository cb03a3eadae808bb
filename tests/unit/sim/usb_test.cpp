#include <cstring>

#include "tests/unit/sim/sim_fixture.h"

using namespace simtest;

class UsbTest : public SimTest {
protected:
    FT_STATUS OpenBy(const char* text, FT_DWORD flags, FT_HANDLE* h) {
        return ft.openEx(const_cast<char*>(text), flags, h);
    }
    FT_STATUS Status(FT_HANDLE h) {
        FT_DWORD rx, tx, ev;
        return ft.getStatus(h, &rx, &tx, &ev);
    }
    std::string SerialOf(FT_HANDLE h) {
        char serial[16], description[64];
        FT_DWORD type, id;
        EXPECT_EQ(FT_OK, ft.getInfo(h, &type, &id, serial, description, nullptr));
        return serial;
    }
};

TEST_F(UsbTest, OpensOnlyByTheConfiguredDescriptionOrCurrentSerial) {
    SimReset(SimConfig());
    FT_HANDLE h = nullptr;
    for (const char* other : {"ORLA-T10", "ORLA-K200", "ORLA-K200V", "orla-k200v2", ""})
        EXPECT_NE(FT_OK, OpenBy(other, FT_OPEN_BY_DESCRIPTION, &h)) << other;
    EXPECT_NE(FT_OK, OpenBy("K2V000017", FT_OPEN_BY_DESCRIPTION, &h));
    ASSERT_EQ(FT_OK, OpenBy("ORLA-K200V2", FT_OPEN_BY_DESCRIPTION, &h));
    EXPECT_EQ("K2V000017", SerialOf(h));
    FT_HANDLE second = nullptr;
    EXPECT_NE(FT_OK, OpenBy("ORLA-K200V2", FT_OPEN_BY_DESCRIPTION, &second));  // one user at a time
    EXPECT_EQ(FT_OK, ft.close(h));
    EXPECT_NE(FT_OK, OpenBy("K2V000018", FT_OPEN_BY_SERIAL_NUMBER, &h));
    ASSERT_EQ(FT_OK, OpenBy("K2V000017", FT_OPEN_BY_SERIAL_NUMBER, &h));
    EXPECT_EQ(FT_OK, Status(h));
    EXPECT_NE(FT_OK, Status(nullptr));  // the program's first query, before any open
}

TEST_F(UsbTest, EveryLookedUpNameExistsAndUnusedOnesAreHarmless) {
    const char* names[] = {
        "FT_Open", "FT_OpenEx", "FT_ListDevices", "FT_Close", "FT_Read", "FT_Write", "FT_IoCtl",
        "FT_SetBaudRate", "FT_SetDivisor", "FT_SetDataCharacteristics", "FT_SetFlowControl",
        "FT_ResetDevice", "FT_SetDtr", "FT_ClrDtr", "FT_SetRts", "FT_ClrRts", "FT_GetModemStatus",
        "FT_SetChars", "FT_Purge", "FT_SetTimeouts", "FT_GetQueueStatus", "FT_SetEventNotification",
        "FT_GetStatus", "FT_SetBreakOn", "FT_SetBreakOff", "FT_SetWaitMask", "FT_WaitOnMask",
        "FT_GetEventStatus", "FT_ReadEE", "FT_WriteEE", "FT_EraseEE", "FT_SetResetPipeRetryCount",
        "FT_GetDeviceInfo"};
    for (const char* n : names) EXPECT_NE(nullptr, SimLookupFunction(n)) << n;
    EXPECT_EQ(nullptr, SimLookupFunction("FT_CreateDeviceInfoList"));

    Start(SimConfig());
    using OneHandle = FT_STATUS (*)(FT_HANDLE);
    for (const char* n : {"FT_ResetDevice", "FT_SetDtr", "FT_ClrDtr", "FT_SetRts", "FT_ClrRts", "FT_SetBreakOn",
                          "FT_SetBreakOff"})
        EXPECT_EQ(FT_OK, reinterpret_cast<OneHandle>(SimLookupFunction(n))(handle)) << n;
    auto eraseEE = reinterpret_cast<OneHandle>(SimLookupFunction("FT_EraseEE"));
    EXPECT_EQ(FT_NOT_SUPPORTED, eraseEE(handle));
    // Still a working link afterwards.
    EXPECT_EQ(44u, Gen2(0x20).size());
}

TEST_F(UsbTest, WrongBaudRateGivesNoUsableAnswerAndIsNotObeyed) {
    SimReset(SimConfig());
    ASSERT_TRUE(OpenAndConfigure("ORLA-K200V2", 9600));
    std::vector<uint8_t> noise = Gen2(0x20);
    ASSERT_FALSE(noise.empty());
    EXPECT_GT(noise[1], noise.size());  // never a complete frame
    Gen2(0x42);
    EXPECT_EQ(0, SimStateCode());  // START was not understood
    ASSERT_EQ(FT_OK, ft.setBaud(handle, 115200));
    EXPECT_EQ(44u, Gen2(0x20).size());

    SimReset(Gen1Config());
    ASSERT_TRUE(OpenAndConfigure("ORLA-K200V", 115200));
    std::vector<uint8_t> g1 = Gen1(0x20);
    ASSERT_FALSE(g1.empty());
    EXPECT_NE(0xFF, g1[0]);
}

TEST_F(UsbTest, UnplugKillsTheHandleUntilReopenedAfterReplug) {
    Start(SimConfig());
    SimUnplug();
    EXPECT_FALSE(SimPlugged());
    EXPECT_NE(FT_OK, Status(handle));
    EXPECT_NE(FT_OK, Write(ShortFrame(0x20)));
    FT_HANDLE h = nullptr;
    EXPECT_NE(FT_OK, OpenBy("K2V000017", FT_OPEN_BY_SERIAL_NUMBER, &h));

    SimReplug("K2V000099");
    EXPECT_NE(FT_OK, Status(handle));  // the old handle stays dead
    EXPECT_EQ(FT_OK, ft.close(handle));
    EXPECT_NE(FT_OK, OpenBy("K2V000017", FT_OPEN_BY_SERIAL_NUMBER, &h));  // another instrument now
    ASSERT_EQ(FT_OK, OpenBy("ORLA-K200V2", FT_OPEN_BY_DESCRIPTION, &h));
    EXPECT_EQ("K2V000099", SerialOf(h));
}

TEST_F(UsbTest, ScheduledUnplugAndReplugCountFromFirstOpenAndTheSeriesGoesOn) {
    SimConfig c;
    c.unplugAtMs = 2000;
    c.replugAtMs = 5000;
    c.preTestDelay = false;
    c.voltages = {400};
    Start(c);
    Gen2(0x42);
    Advance(1800);
    EXPECT_EQ(FT_OK, Status(handle));
    Advance(200);
    EXPECT_NE(FT_OK, Status(handle));
    ft.close(handle);
    FT_HANDLE h = nullptr;
    Advance(2800);  // 4.9 s after the first open
    EXPECT_NE(FT_OK, OpenBy("K2V000017", FT_OPEN_BY_SERIAL_NUMBER, &h));
    Advance(100);
    ASSERT_EQ(FT_OK, OpenBy("K2V000017", FT_OPEN_BY_SERIAL_NUMBER, &handle));
    ASSERT_EQ(FT_OK, ft.setBaud(handle, 115200));
    // The instrument has its own power: the series kept running.
    EXPECT_EQ(3, Gen2(0x20)[3]);
}

TEST_F(UsbTest, ReadTakesAtMostWhatIsAskedAndKeepsTheRest) {
    Start(SimConfig());
    SimInjectReceived(std::vector<uint8_t>(12000, 0x55));
    FT_DWORD rx = 0, tx, ev;
    ASSERT_EQ(FT_OK, ft.getStatus(handle, &rx, &tx, &ev));
    EXPECT_EQ(12000u, rx);
    std::vector<uint8_t> buf(10000);
    FT_DWORD got = 0;
    ASSERT_EQ(FT_OK, ft.read(handle, buf.data(), 10000, &got));
    EXPECT_EQ(10000u, got);
    ASSERT_EQ(FT_OK, ft.getStatus(handle, &rx, &tx, &ev));
    EXPECT_EQ(2000u, rx);
}
