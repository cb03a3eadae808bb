// Walking log.dat backwards from its end, newest record first.
#include "results/archive_lookup.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_platform.h"
#include "results/archive.h"

namespace {

TestRecord Numbered(uint8_t n) {
    TestRecord r{};
    r.valueCount = 1;
    r.testTime.wMinute = n;
    return r;
}

}  // namespace

TEST(ReadArchiveBackwards, VisitsNewestFirstUntilStopped) {
    struct Case {
        int appended, stopAt;  // stopAt: the minute that stops the walk, -1 for none
        bool cutTail;          // a torn group at the end, as a crash would leave
        std::vector<int> visited;
        bool stopped;
    } cases[] = {
        {0, -1, false, {}, false},
        {3, -1, false, {3, 2, 1}, false},
        {3, 2, false, {3, 2}, true},
        {3, 1, true, {3, 2, 1}, true},  // the torn group is no record
    };
    for (const Case& c : cases) {
        fake::Reset();
        for (int n = 1; n <= c.appended; ++n) {
            TestRecord r = Numbered(static_cast<uint8_t>(n));
            ASSERT_TRUE(ArchiveAppend(r));
        }
        if (c.cutTail) fake::FileBytes(kArchiveFileName).resize(fake::FileBytes(kArchiveFileName).size() + 100, 0);
        platform::FileHandle file = platform::OpenExclusive(kArchiveFileName, platform::OpenMode::ReadExisting);
        std::vector<int> visited;
        TestRecord record;
        const bool stopped = file != platform::kNoFile && ReadArchiveBackwards(file, &record, [&](const TestRecord& r) {
                                 visited.push_back(r.testTime.wMinute);
                                 return r.testTime.wMinute == c.stopAt;
                             });
        if (file != platform::kNoFile) platform::CloseFile(file);
        EXPECT_EQ(visited, c.visited) << c.appended << " " << c.stopAt;
        EXPECT_EQ(stopped, c.stopped) << c.appended << " " << c.stopAt;
    }
}
