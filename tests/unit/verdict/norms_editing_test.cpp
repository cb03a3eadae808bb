// The norms dialog's checks of typed norms and methods, and its texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "verdict/norms_editing.h"

namespace {

NormBook Book() {
    NormBook book = ExampleNormBook();
    book.ownMethods.push_back({"Своя", kMethodOwn, 3, 10, 0, false, kDispersionCv, 10});
    book.norms.push_back({"Своя норма", "Своя", 300, 0});
    return book;
}

TEST(NormsEditingTest, TypedNormsAreTakenOrToldWhatIsWrong) {
    const std::string kMinimum = "Минимум нормы должен быть числом киловольт от 0,1 до 100.";
    struct Case {
        NormFields typed;
        int replacing;
        std::string message;
        uint16_t minimum, good;
    } cases[] = {
        {{" Масло ТК ", "IEC 60156", "52,5", ""}, -1, "", 525, 0},
        {{"Масло", "ГОСТ 6581-75", "52.5", "60"}, -1, "", 525, 600},
        {{"Масло", "Своя", "52", " "}, -1, "", 520, 0},
        {{"  ", "IEC 60156", "30", ""}, -1, "Введите название нормы.", 0, 0},
        {{"Масло", "", "30", ""}, -1, "Выберите методику, для которой действует норма.", 0, 0},
        {{"Масло", "Удаленная", "30", ""}, -1, "Выберите методику, для которой действует норма.", 0, 0},
        {{"Масло", "IEC 60156", "0", ""}, -1, kMinimum, 0, 0},
        {{"Масло", "IEC 60156", "100.5", ""}, -1, kMinimum, 0, 0},
        {{"Масло", "IEC 60156", "30 кВ", ""}, -1, kMinimum, 0, 0},
        {{"Масло", "IEC 60156", "30", "30"}, -1, "Граница «хорошо» должна быть выше минимума нормы.", 0, 0},
        {{"Масло", "IEC 60156", "30", "abc"}, -1,
         "Граница «хорошо» должна быть числом киловольт до 100 или оставаться пустой.", 0, 0},
        {{"Своя норма", "Своя", "30", ""}, -1, "Норма «Своя норма» для методики «Своя» уже есть.", 0, 0},
        {{"Своя норма", "Своя", "31", ""}, 10, "", 310, 0},
    };
    for (const Case& c : cases) {
        NormBook book = Book();
        const size_t before = book.norms.size();
        EXPECT_EQ(PutNorm(&book, c.typed, c.replacing), c.message) << c.typed.name << " / " << c.typed.minimum;
        if (!c.message.empty()) {
            EXPECT_EQ(book.norms.size(), before);
            continue;
        }
        const Norm& put = c.replacing < 0 ? book.norms.back() : book.norms[c.replacing];
        EXPECT_EQ(put.name, c.typed.name == " Масло ТК " ? "Масло ТК" : c.typed.name) << "the name is trimmed";
        EXPECT_EQ(put.minimum, c.minimum);
        EXPECT_EQ(put.good, c.good);
    }
}

TEST(NormsEditingTest, TypedMethodsAreTakenOrToldWhatIsWrong) {
    const std::string kPercent = "Допустимый разброс P должен быть целым числом процентов от 1 до 250.";
    struct Case {
        MethodFields typed;
        int replacing;
        std::string message;
        size_t normsOfNewName;
    } cases[] = {
        {{"Быстрая", 2, 3, 1, 1, kDispersionRange, "92"}, -1, "", 0},
        {{"Без разброса", 5, 0, 9, 0, kDispersionNone, "x"}, -1, "", 0},
        {{"Своя 2", 2, 1, 0, 1, kDispersionCv, "10"}, 0, "", 1},  // the renamed method keeps its norm
        {{"", 5, 2, 5, 0, kDispersionNone, ""}, -1, "Введите название методики.", 0},
        {{"IEC 60156", 5, 2, 2, 0, kDispersionNone, ""}, -1,
         "Методика «IEC 60156» встроена в программу. Назовите свою методику иначе.", 0},
        {{"Своя", 5, 2, 2, 0, kDispersionNone, ""}, -1, "Методика «Своя» уже есть.", 0},
        {{"Новая", 5, 2, 2, 0, kDispersionCv, ""}, -1, kPercent, 0},
        {{"Новая", 5, 2, 2, 0, kDispersionRange, "251"}, -1, kPercent, 0},
        {{"Новая", 5, 2, 2, 0, kDispersionRange, "0"}, -1, kPercent, 0},
        {{"Новая", 6, 2, 2, 0, kDispersionNone, ""}, -1, "Выберите значения методики из списков.", 0},
    };
    for (const Case& c : cases) {
        NormBook book = Book();
        EXPECT_EQ(PutMethod(&book, c.typed, c.replacing), c.message) << c.typed.name;
        if (!c.message.empty()) {
            EXPECT_EQ(book.ownMethods.size(), 1u);
            continue;
        }
        const TestMethod& put = c.replacing < 0 ? book.ownMethods.back() : book.ownMethods[c.replacing];
        const MethodFields back = FieldsOfMethod(put), want = c.typed;
        EXPECT_EQ(put.name, want.name);
        EXPECT_EQ(std::vector<int>({back.breakdowns, back.riseRate, back.pause, back.delay, back.dispersion}),
                  std::vector<int>({want.breakdowns, want.riseRate, want.pause, want.delay, want.dispersion}));
        EXPECT_EQ(back.percent, want.dispersion == kDispersionNone ? "" : want.percent);
        EXPECT_EQ(NormsOfMethod(book, c.typed.name).size(), c.normsOfNewName);
    }
}

TEST(NormsEditingTest, RowsAndQuestionsNameWhatTheyAreAbout) {
    NormBook book = Book();
    book.norms.push_back({"Еще", "Своя", 250, 0});
    const std::string question = RemoveMethodQuestion(book, 0);
    struct Case {
        std::vector<std::string> got, want;
    } cases[] = {
        {NormRowTexts(book.norms[0]), {book.norms[0].name, "IEC 60156", "50", "60"}},
        {NormRowTexts({"Н", "Своя", 425, 0}), {"Н", "Своя", "42.5", ""}},
        {MethodRowTexts(book.ownMethods[0]), {"Своя", "3", "1 кВ/с", "0 мин", "нет", "КВ не более 10 %"}},
        {MethodRowTexts(*BuiltInMethod(kMethodAstm2mm)),
         {"ASTM D1816, зазор 2 мм", "5", "0.5 кВ/с", "1 мин", "есть", "размах не более 92 %"}},
        {{RemoveNormQuestion(book.norms[10])}, {"Удалить норму «Своя норма» для методики «Своя»?"}},
        {{question.substr(0, question.find(". ") + 1)}, {"Удалить методику «Своя»?\r\n\r\nНа неё ссылаются 2 нормы."}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
    RemoveMethod(&book, 0);
    EXPECT_TRUE(book.ownMethods.empty());
    EXPECT_EQ(NormsOfMethod(book, "Своя").size(), 2u) << "norms wait for a method of their name";
}

}  // namespace
