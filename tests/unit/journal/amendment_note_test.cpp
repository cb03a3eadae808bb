// An amendment's list of changed texts, its reason's check and the viewer's who-and-why line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "journal/amendment_note.h"

namespace {

TestRecord WithTexts(const std::vector<std::pair<int, const char*>>& texts) {
    TestRecord r{};
    for (const auto& t : texts) std::strncpy(r.protocolText[t.first], t.second, kProtocolTextSize);
    return r;
}

TEST(AmendmentTexts, ChangedTextsOldToNewInTheFormsOrder) {
    TestRecord full = WithTexts({});
    std::memset(full.protocolText[5], 'x', kProtocolTextSize);  // a slot without its terminator
    const struct {
        const char* name;
        TestRecord stored, amended;
        std::vector<std::string> lines;
    } cases[] = {
        {"nothing changed", WithTexts({{1, "Масло ГК"}}), WithTexts({{1, "Масло ГК"}}), {}},
        {"one text", WithTexts({{1, "Масло ГК"}}), WithTexts({{1, "Масло АГК"}}),
         {"Наименование испытываемого материала: «Масло ГК» -> «Масло АГК»"}},
        {"emptied and filled, in order", WithTexts({{12, "Иванов И.И."}, {0, "П-17"}}), WithTexts({{3, "Т-2"}, {0, "П-17"}}),
         {"Объект, из которого взята проба: «» -> «Т-2»", "Испытание произвел: ФИО: «Иванов И.И.» -> «»"}},
        {"a slot read to its end", full, WithTexts({}),
         {"Внешний вид жидкости: «" + std::string(kProtocolTextSize, 'x') + "» -> «»"}},
    };
    for (const auto& c : cases) EXPECT_EQ(AmendmentChangeLines(c.stored, c.amended), c.lines) << c.name;
}

TEST(AmendmentTexts, ReasonMustSaySomething) {
    const struct { const char* reason; bool given; const char* trimmed; } cases[] = {
        {"", false, ""}, {"   ", false, ""}, {" \t\r\n", false, ""},
        {"опечатка", true, "опечатка"}, {"  опечатка в номере \r\n", true, "опечатка в номере"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AmendmentReasonGiven(c.reason), c.given) << '"' << c.reason << '"';
        EXPECT_EQ(AmendmentTrimmed(c.reason), c.trimmed) << '"' << c.reason << '"';
    }
}

TEST(AmendmentTexts, WhoAndWhyLine) {
    VersionNotes named;
    named.amended = true;
    named.amendedAt = "2026-12-09 07:05:31";
    named.amendedBy = "Петров П.П.";
    named.amendAccount = "lab";
    named.reason = "опечатка в материале";
    VersionNotes unnamed = named;
    unnamed.amendedBy.clear();
    const struct { const char* name; VersionNotes notes; const char* line; } cases[] = {
        {"named", named, "Изменил: Петров П.П., 09.12.2026 07:05. Причина: опечатка в материале"},
        {"no name: the account", unnamed, "Изменил: lab, 09.12.2026 07:05. Причина: опечатка в материале"},
        {"no amend line", VersionNotes{}, "В журнале протоколов нет записи об этом изменении"},
    };
    for (const auto& c : cases) EXPECT_EQ(AmendmentWhoWhyLine(c.notes), c.line) << c.name;
}

}  // namespace
