#pragma once
// What the "Нормы испытаний" dialog checks and shows, kept free of Windows:
// the fields' choices, the checks of what was typed with their messages, the
// list rows, the questions before a removal and the book edits.
#include <string>
#include <vector>

#include "verdict/norm_book.h"

constexpr const char* kNormsCaption = "Нормы испытаний";
// Long enough for a document, its table and the kind of oil in one name.
constexpr int kNormNameLimit = 150;
constexpr int kMethodNameLimit = 80;
constexpr int kMaxDispersionPercent = 250;

// The items of one of the method fields' drop-down lists.
struct FieldChoices {
    const char* const* items;
    int count;
};
// Indexed as MethodFields counts: count - 1, the rise rate's place, minutes,
// 0 = есть / 1 = нет, the DispersionRule.
extern const FieldChoices kBreakdownChoices, kRiseRateChoices, kPauseChoices, kDelayChoices, kDispersionChoices;

// A norm's fields as typed; method is the name chosen, empty for none.
struct NormFields {
    std::string name, method, minimum, good;
};
// An own method's fields: the lists' selected indices and the typed texts.
struct MethodFields {
    std::string name;
    int breakdowns, riseRate, pause, delay, dispersion;
    std::string percent;
};

NormFields FieldsOfNorm(const Norm& norm);
MethodFields FieldsOfMethod(const TestMethod& method);
// What the method fields hold before a row is chosen: the ГОСТ series.
MethodFields DefaultMethodFields();

// Each returns empty when the fields were taken into the book, else the
// message that says what is wrong, the book unchanged. replacing is the
// index of the entry the fields replace, -1 to append.
std::string PutNorm(NormBook* book, const NormFields& typed, int replacing);
// A renamed method takes its norms along, so that they still hold for it.
std::string PutMethod(NormBook* book, const MethodFields& typed, int replacing);
// The norms that name the method stay, waiting for a method of that name.
void RemoveMethod(NormBook* book, int index);

// The cells of a list row, in the columns' order.
std::vector<std::string> NormRowTexts(const Norm& norm);
std::vector<std::string> MethodRowTexts(const TestMethod& method);

std::string RemoveNormQuestion(const Norm& norm);
std::string RemoveMethodQuestion(const NormBook& book, int index);
std::string SaveFailedText(const std::string& path);
