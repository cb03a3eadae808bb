#include <fstream>
#include <string>

#include "tests/unit/sim/sim_fixture.h"

using namespace simtest;

class JournalTest : public SimTest {};

TEST_F(JournalTest, RecordsWritesAndReadsWithTimesSinceOpen) {
    SimConfig c;
    c.journalPath = testing::TempDir() + "sim_journal.txt";
    Start(c);
    Advance(40);
    Gen2(0x20);
    Advance(100);
    ReadQueued();  // empty reads are not recorded
    const std::vector<SimJournalEntry>& j = SimJournal();
    ASSERT_EQ(2u, j.size());
    EXPECT_TRUE(j[0].write);
    EXPECT_EQ(40u, j[0].ms);
    EXPECT_EQ(ShortFrame(0x20), j[0].bytes);
    EXPECT_FALSE(j[1].write);
    EXPECT_EQ(140u, j[1].ms);
    EXPECT_EQ(44u, j[1].bytes.size());

    // The file is complete while the driver is still in use.
    std::ifstream in(c.journalPath);
    std::string first, second, third;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_FALSE(std::getline(in, third));
    EXPECT_EQ("40 W 20 08 00 00 C9 28 6F D5", first);
    EXPECT_EQ(0u, second.find("140 R 20 2C "));
    EXPECT_EQ(5u + 44 * 3, second.size());

    SimReset(SimConfig());  // a new run starts a new journal
    EXPECT_TRUE(SimJournal().empty());
}
