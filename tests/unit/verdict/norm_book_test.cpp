// The norms file: examples, round trip, what a hand-edited file may hold.
#include <gtest/gtest.h>

#include <string>

#include "verdict/norm_book.h"
#include "platform/fake/fake_platform.h"

namespace {
const std::string kFolder = "C:\\Users\\lab\\AppData\\Roaming\\ORLA-K200V";
const std::string kPath = kFolder + "\\norms.ini";

std::string FileText(const std::string& path) {
    const auto& b = fake::FileBytes(path);
    return std::string(b.begin(), b.end());
}
}  // namespace

TEST(NormBookTest, AMissingFileIsWrittenWithTheExamplesAndReadsBackTheSame) {
    fake::Reset();
    fake::CreatedFolders().push_back(kFolder);
    NormBook book = LoadNormBook(kPath.c_str());
    ASSERT_EQ(book.norms.size(), 10u);
    EXPECT_EQ(book.norms[0].method, "IEC 60156");
    EXPECT_EQ(book.norms[0].minimum, 500);
    EXPECT_EQ(book.norms[0].good, 600);
    EXPECT_FALSE(fake::FileExists(kPath + ".tmp"));
    book.ownMethods.push_back({"ГОСТ 6581-75 с КВ не более 10 %", kMethodOwn, 6, 20, 5, true, kDispersionCv, 10});
    book.norms.push_back({"Своя норма", "ГОСТ 6581-75 с КВ не более 10 %", 425, 0});
    ASSERT_TRUE(SaveNormBook(book, kPath.c_str()));
    NormBook again = LoadNormBook(kPath.c_str());
    EXPECT_EQ(NormBookText(again), NormBookText(book));
    EXPECT_NE(FileText(kPath).find("Minimum=42.5"), std::string::npos);
    ASSERT_NE(FindMethod(again, "ГОСТ 6581-75 с КВ не более 10 %"), nullptr);
    EXPECT_EQ(NormsOfMethod(again, "IEC 60156").size(), 4u);
}

TEST(NormBookTest, AHandEditedFileKeepsWhatItCanAndSkipsTheRest) {
    const char* text =
        "[Norm1]\nName=Без минимума\nMethod=IEC 60156\n"
        "[Norm2]\r\n Name = Запятая \r\nMethod=IEC 60156\r\nMinimum=40,5\r\nGood=30\r\n"
        "[Norm3]\nName=Слишком много\nMethod=IEC 60156\nMinimum=150\n"
        "[Method1]\nName=Три кВ в секунду\nBreakdowns=6\nRiseRate=3\nPause=5\n"
        "[Method2]\nName=IEC 60156\nBreakdowns=6\nRiseRate=2\nPause=2\n"
        "[Method3]\nName=Быстрая\nBreakdowns=3\nRiseRate=0.5\nPause=0\nDelay=0\nDispersion=1\nPercent=50\n";
    NormBook book = ParseNormBook(text);
    ASSERT_EQ(book.norms.size(), 1u);
    EXPECT_EQ(book.norms[0].name, "Запятая");
    EXPECT_EQ(book.norms[0].minimum, 405);
    EXPECT_EQ(book.norms[0].good, 0) << "a good limit under the minimum makes a one-limit norm";
    ASSERT_EQ(book.ownMethods.size(), 1u) << "3 kV/s cannot be run; a built-in name stays built-in";
    EXPECT_EQ(book.ownMethods[0].riseRate, 5);
    EXPECT_FALSE(book.ownMethods[0].preTestDelay);
    EXPECT_EQ(book.ownMethods[0].dispersionRule, kDispersionRange);
}
