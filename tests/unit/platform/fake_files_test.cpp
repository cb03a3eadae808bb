// The fake platform behaves as Windows does where the core relies on it: files and the clock.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/clock.h"
#include "platform/files.h"

// The archive relies on exclusive opens to keep writer and reader apart; the
// fake must refuse a second opener the way Windows does.
TEST(FakeFiles, SecondOpenerIsRefusedUntilClose) {
    fake::Reset();
    uint32_t error = 0;
    platform::FileHandle a = platform::OpenExclusive("C:\\Users\\lab\\AppData\\Roaming\\x.dat",
                                                     platform::OpenMode::ReadWriteAlways, &error);
    ASSERT_NE(a, platform::kNoFile);
    EXPECT_EQ(platform::OpenExclusive("C:\\Users\\lab\\AppData\\Roaming\\x.dat",
                                      platform::OpenMode::ReadWriteExisting, &error),
              platform::kNoFile);
    EXPECT_EQ(error, platform::kErrorSharingViolation);
    platform::CloseFile(a);
    EXPECT_NE(platform::OpenExclusive("C:\\Users\\lab\\AppData\\Roaming\\x.dat",
                                      platform::OpenMode::ReadWriteExisting, &error),
              platform::kNoFile);
}

TEST(FakeFiles, MissingFileReportsFileNotFound) {
    fake::Reset();
    uint32_t error = 0;
    EXPECT_EQ(platform::OpenExclusive("log.dat", platform::OpenMode::ReadWriteExisting, &error),
              platform::kNoFile);
    EXPECT_EQ(error, platform::kErrorFileNotFound);
}

TEST(FakeClock, LocalTimeFollowsVirtualTimeAcrossMidnight) {
    fake::Reset();
    fake::SetLocalTimeBase(SystemTime{2026, 12, 1, 31, 23, 59, 59, 500});
    platform::Wait(600);
    SystemTime t{};
    platform::LocalTime(&t);
    EXPECT_EQ(t.wYear, 2027);
    EXPECT_EQ(t.wMonth, 1);
    EXPECT_EQ(t.wDay, 1);
    EXPECT_EQ(t.wHour, 0);
    EXPECT_EQ(t.wSecond, 0);
    EXPECT_EQ(t.wMilliseconds, 100);
}
