// The register: each event's fields, the chain against damage, records against log.dat, a new register.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "journal/journal.h"
#include "journal/journal_file.h"
#include "results/archive.h"
#include "results/archive_csv.h"

namespace {

const SystemTime kNow = {2026, 5, 5, 1, 10, 0, 0, 0};
const SystemTime kTest = {2026, 4, 4, 30, 9, 5, 7, 0};
const std::string kHash(64, 'a');

JournalEntry Entry(JournalEvent event, const char* details, bool record = false) {
    JournalEntry e;
    e.event = event;
    e.hasTestTime = record;
    e.testTime = kTest;
    e.protocolNumber = record ? "П-17" : "";
    e.version = record ? 1 : -1;
    e.account = "lab";
    e.person = "Иванов И.И.";
    e.details = details;
    e.recordSha256 = record ? kHash : "";
    return e;
}

struct FieldsCase {
    JournalEntry entry;
    std::string signedPart;  // UTF-8
};

std::string Register(const std::vector<std::string>& lines) {
    std::string text = kCsvByteOrderMark;
    for (const std::string& l : lines) text += l;
    return text;
}

// Four lines, the third with a quoted ';' and line break in its details.
std::vector<std::string> FourLines() {
    std::vector<std::string> lines;
    std::string chain = JournalFirstChain();
    const char* details[] = {"ОРЛА-К200В 5.00", "принтер", "причина;\r\nвторая строка", "C:\\П-17.rtf"};
    for (int i = 0; i < 4; ++i) {
        lines.push_back(JournalFormatLine(Entry(JournalEvent::Issue, details[i]), i + 1, kNow, chain));
        chain = JournalParse(lines.back()).lines[0].fields[kJournalChainField];
    }
    return lines;
}

TestRecord Record(uint8_t seed) {
    TestRecord r{};
    std::memset(&r, seed, sizeof r);
    r.testTime = kTest;
    std::strcpy(r.protocolText[0], "П-17");
    r.marks.amendment = 0;
    return r;
}

}  // namespace

TEST(JournalLine, EachEventsFieldsQuotedAndChained) {
    const std::string t = "1;2026-05-01 10:00:00;";
    const std::string series = ";2026-04-30 09:05:07;" + std::string(u8"П-17") + ";1;lab;" + u8"Иванов И.И.;";
    const FieldsCase cases[] = {
        {Entry(JournalEvent::Series, "", true), t + "series" + series + ";" + kHash + ";"},
        {Entry(JournalEvent::Import, "", true), t + "import" + series + ";" + kHash + ";"},
        {Entry(JournalEvent::Amend, "номер; опечатка", true), t + "amend" + series + u8"\"номер; опечатка\";" + kHash + ";"},
        {Entry(JournalEvent::Approve, "начальник \"ЛИМ\"", true),
         t + "approve" + series + u8"\"начальник \"\"ЛИМ\"\"\";" + kHash + ";"},
        {Entry(JournalEvent::Issue, "C:\\Протоколы\\П-17.rtf", true),
         t + "issue" + series + u8"C:\\Протоколы\\П-17.rtf;" + kHash + ";"},
        {Entry(JournalEvent::Issue, "две\r\nстроки", true), t + "issue" + series + u8"\"две\r\nстроки\";" + kHash + ";"},
        {Entry(JournalEvent::ArchiveAside, "log-20260501-100000.dat"),
         t + "archive_aside;;;;lab;" + u8"Иванов И.И.;" + "log-20260501-100000.dat;;"},
        {Entry(JournalEvent::JournalStart, "ОРЛА-К200В 5.00"),
         t + "journal_start;;;;lab;" + u8"Иванов И.И.;ОРЛА-К200В 5.00;;"},
    };
    for (const FieldsCase& c : cases) {
        const std::string line = JournalFormatLine(c.entry, 1, kNow, JournalFirstChain());
        EXPECT_EQ(line, c.signedPart + JournalChain(JournalFirstChain(), c.signedPart) + "\r\n");
        const JournalFile read = JournalParse(line);
        ASSERT_EQ(read.lines.size(), 1u) << line;
        EXPECT_EQ(read.lines[0].signedPart, c.signedPart);
        EXPECT_EQ(read.lines[0].fields[8], Cp1251ToUtf8(c.entry.details.data(), c.entry.details.size()));
    }
}

TEST(JournalVerify, ChainFindsTheFirstDamagedLine) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::string>&)> damage;
        const char* verdict;  // Windows-1251
    };
    const Case cases[] = {
        {"whole", [](std::vector<std::string>&) {}, "Журнал цел: 4 записи"},
        {"a field changed", [](std::vector<std::string>& l) { l[1].replace(l[1].find("lab"), 3, "LAB"); },
         "Журнал нарушен в строке 2: цепочка не сходится"},
        {"a line removed", [](std::vector<std::string>& l) { l.erase(l.begin() + 1); },
         "Журнал нарушен в строке 2: номер не по порядку"},
        {"removed and renumbered",
         [](std::vector<std::string>& l) {
             l.erase(l.begin() + 1);
             l[1][0] = '2';
             l[2][0] = '3';
         },
         "Журнал нарушен в строке 2: цепочка не сходится"},
        {"two lines swapped", [](std::vector<std::string>& l) { std::swap(l[1], l[2]); },
         "Журнал нарушен в строке 2: номер не по порядку"},
        {"a field dropped", [](std::vector<std::string>& l) { l[3].erase(0, 2); },
         "Журнал нарушен в строке 4: неверное число полей"},
        {"torn last line", [](std::vector<std::string>& l) { l[3].resize(l[3].size() - 1); },
         "Журнал цел: 3 записи. Последняя строка оборвана и не учтена"},
        {"torn inside quotes", [](std::vector<std::string>& l) { l[3] = l[2].substr(0, l[2].find('\n') + 1); },
         "Журнал цел: 3 записи. Последняя строка оборвана и не учтена"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = FourLines();
        c.damage(lines);
        EXPECT_EQ(JournalVerdictText(JournalVerify(JournalParse(Register(lines)), {})), c.verdict) << c.what;
    }
}

TEST(JournalVerify, RegisteredRecordsAgainstLogDat) {
    struct Case {
        const char* what;
        std::function<void()> act;  // after record 1 was archived and registered
        const char* verdict;
    };
    const Case cases[] = {
        {"in log.dat", [] {}, "Журнал цел: 2 записи"},
        {"never appended",
         [] { JournalAppend(JournalEntryOfRecord(JournalEvent::Amend, Record(2))); },
         "Журнал нарушен в строке 3: записи нет в log.dat"},
        {"changed in log.dat after",
         [] {
             for (int copy = 0; copy < 3; ++copy) fake::FileBytes("log.dat")[copy * sizeof(TestRecord) + 100] ^= 1;
         },
         "Журнал нарушен в строке 2: записи нет в log.dat"},
        {"moved aside with its archive",
         [] {
             fake::Files().erase("log.dat");
             JournalAppend(Entry(JournalEvent::ArchiveAside, "log-20260501-100000.dat"));
         },
         "Журнал цел: 3 записи"},
    };
    for (const Case& c : cases) {
        fake::Reset();
        TestRecord record = Record(1);
        uint32_t error = 0;
        ASSERT_TRUE(ArchiveAppendOnce(record, &error));
        JournalAppend(JournalEntryOfRecord(JournalEvent::Series, record));
        c.act();
        JournalCheck check;
        ASSERT_TRUE(JournalCheckDataFolder(&check));
        EXPECT_EQ(JournalVerdictText(check), c.verdict) << c.what;
    }
}

TEST(JournalAppend, MissingOrEmptyRegisterStartsWithJournalStart) {
    const std::string one = JournalFormatLine(Entry(JournalEvent::JournalStart, "5.00"), 1, kNow, JournalFirstChain());
    struct Case {
        const char* what;
        bool exists;
        std::string before;
        JournalAppendOutcome outcome;
        std::vector<const char*> events;
    };
    const Case cases[] = {
        {"missing", false, "", JournalAppendOutcome::Started, {"journal_start", "issue"}},
        {"empty", true, "", JournalAppendOutcome::Started, {"journal_start", "issue"}},
        {"a byte order mark only", true, kCsvByteOrderMark, JournalAppendOutcome::Started, {"journal_start", "issue"}},
        {"a torn line only", true, Register({"1;2026-05"}), JournalAppendOutcome::Started, {"journal_start", "issue"}},
        {"one line", true, Register({one}), JournalAppendOutcome::Appended, {"journal_start", "issue"}},
        {"one line and a torn one", true, Register({one, "2;20"}), JournalAppendOutcome::Appended,
         {"journal_start", "issue"}},
    };
    for (const Case& c : cases) {
        fake::Reset();
        if (c.exists) fake::FileBytes(kJournalFileName).assign(c.before.begin(), c.before.end());
        EXPECT_EQ(JournalAppend(Entry(JournalEvent::Issue, "принтер")), c.outcome) << c.what;
        const std::vector<uint8_t>& bytes = fake::FileBytes(kJournalFileName);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text.rfind(kCsvByteOrderMark, 0), 0u) << c.what;
        const JournalFile read = JournalParse(text);
        ASSERT_EQ(read.lines.size(), c.events.size()) << c.what;
        for (size_t i = 0; i < c.events.size(); ++i) EXPECT_EQ(read.lines[i].fields[kJournalEventField], c.events[i]);
        EXPECT_EQ(JournalVerdictText(JournalVerify(read, {})), "Журнал цел: 2 записи") << c.what;
    }
}
