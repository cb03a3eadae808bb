// Checks, list texts and book edits of the "Нормы испытаний" dialog.
#include "verdict/norms_editing.h"

namespace {

const char* const kBreakdownItems[] = {"1", "2", "3", "4", "5", "6"};
// The rates the instrument can run, in tenths of a kilovolt per second.
const uint16_t kRiseRates[] = {5, 10, 20, 50};
const char* const kRiseRateItems[] = {"0.5 кВ/с", "1 кВ/с", "2 кВ/с", "5 кВ/с"};
const char* const kPauseItems[] = {"0 мин", "1 мин", "2 мин", "3 мин", "4 мин",
                                   "5 мин", "6 мин", "7 мин", "8 мин", "9 мин"};
const char* const kDelayItems[] = {"есть", "нет"};
const char* const kDispersionItems[] = {"нет", "размах не более P % среднего", "коэффициент вариации не более P %"};

template <size_t N>
constexpr FieldChoices Choices(const char* const (&items)[N]) {
    return {items, static_cast<int>(N)};
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool InRange(int index, const FieldChoices& choices) { return index >= 0 && index < choices.count; }

// A whole number of percent as typed; -1 for anything else.
int Percent(const std::string& typed) {
    std::string text = Trim(typed);
    if (text.empty() || text.size() > 3) return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string Quoted(const std::string& name) { return "«" + name + "»"; }

std::string CheckNorm(const NormBook& book, const NormFields& typed, int replacing, Norm* made) {
    made->name = Trim(typed.name);
    made->method = typed.method;
    if (made->name.empty()) return "Введите название нормы.";
    if (made->method.empty() || !FindMethod(book, made->method))
        return "Выберите методику, для которой действует норма.";
    if (!ParseKilovolts(typed.minimum, &made->minimum) || made->minimum == 0)
        return "Минимум нормы должен быть числом киловольт от 0,1 до 100.";
    made->good = 0;
    if (!Trim(typed.good).empty()) {
        if (!ParseKilovolts(typed.good, &made->good))
            return "Граница «хорошо» должна быть числом киловольт до 100 или оставаться пустой.";
        if (made->good <= made->minimum) return "Граница «хорошо» должна быть выше минимума нормы.";
    }
    for (size_t i = 0; i < book.norms.size(); ++i)
        if (static_cast<int>(i) != replacing && book.norms[i].name == made->name &&
            book.norms[i].method == made->method)
            return "Норма " + Quoted(made->name) + " для методики " + Quoted(made->method) + " уже есть.";
    return {};
}

std::string CheckMethod(const NormBook& book, const MethodFields& typed, int replacing, TestMethod* made) {
    *made = TestMethod{Trim(typed.name), kMethodOwn, typed.breakdowns + 1, 0, typed.pause, typed.delay == 0,
                       static_cast<uint8_t>(typed.dispersion), 0};
    if (made->name.empty()) return "Введите название методики.";
    for (const TestMethod& b : BuiltInMethods())
        if (b.name == made->name)
            return "Методика " + Quoted(made->name) + " встроена в программу. Назовите свою методику иначе.";
    for (size_t i = 0; i < book.ownMethods.size(); ++i)
        if (static_cast<int>(i) != replacing && book.ownMethods[i].name == made->name)
            return "Методика " + Quoted(made->name) + " уже есть.";
    if (!InRange(typed.breakdowns, kBreakdownChoices) || !InRange(typed.riseRate, kRiseRateChoices) ||
        !InRange(typed.pause, kPauseChoices) || !InRange(typed.delay, kDelayChoices) ||
        !InRange(typed.dispersion, kDispersionChoices))
        return "Выберите значения методики из списков.";
    made->riseRate = kRiseRates[typed.riseRate];
    if (made->dispersionRule != kDispersionNone) {
        int percent = Percent(typed.percent);
        if (percent < 1 || percent > kMaxDispersionPercent)
            return "Допустимый разброс P должен быть целым числом процентов от 1 до 250.";
        made->dispersionPercent = static_cast<uint8_t>(percent);
    }
    return {};
}

// "1 норма", "3 нормы", "5 норм", "21 норма".
std::string NormCount(size_t n) {
    const size_t last = n % 10, lastTwo = n % 100;
    const char* word = (last == 1 && lastTwo != 11)                                ? "норма"
                       : (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) ? "нормы"
                                                                                     : "норм";
    return std::to_string(n) + " " + word;
}

}  // namespace

const FieldChoices kBreakdownChoices = Choices(kBreakdownItems);
const FieldChoices kRiseRateChoices = Choices(kRiseRateItems);
const FieldChoices kPauseChoices = Choices(kPauseItems);
const FieldChoices kDelayChoices = Choices(kDelayItems);
const FieldChoices kDispersionChoices = Choices(kDispersionItems);

NormFields FieldsOfNorm(const Norm& norm) {
    return {norm.name, norm.method, KilovoltsText(norm.minimum), norm.good ? KilovoltsText(norm.good) : ""};
}

MethodFields FieldsOfMethod(const TestMethod& m) {
    int rate = 0;
    for (int i = 0; i < kRiseRateChoices.count; ++i)
        if (kRiseRates[i] == m.riseRate) rate = i;
    return {m.name, m.breakdowns - 1, rate, m.pauseMinutes, m.preTestDelay ? 0 : 1, m.dispersionRule,
            m.dispersionRule == kDispersionNone ? "" : std::to_string(m.dispersionPercent)};
}

MethodFields DefaultMethodFields() {
    MethodFields fields = FieldsOfMethod(*BuiltInMethod(kMethodGost));
    fields.name.clear();
    return fields;
}

std::string PutNorm(NormBook* book, const NormFields& typed, int replacing) {
    Norm made;
    std::string wrong = CheckNorm(*book, typed, replacing, &made);
    if (!wrong.empty()) return wrong;
    if (replacing >= 0 && replacing < static_cast<int>(book->norms.size()))
        book->norms[replacing] = made;
    else
        book->norms.push_back(made);
    return {};
}

std::string PutMethod(NormBook* book, const MethodFields& typed, int replacing) {
    TestMethod made;
    std::string wrong = CheckMethod(*book, typed, replacing, &made);
    if (!wrong.empty()) return wrong;
    if (replacing < 0 || replacing >= static_cast<int>(book->ownMethods.size())) {
        book->ownMethods.push_back(made);
        return {};
    }
    TestMethod& old = book->ownMethods[replacing];
    for (Norm& n : book->norms)
        if (n.method == old.name) n.method = made.name;
    old = made;
    return {};
}

void RemoveMethod(NormBook* book, int index) {
    if (index >= 0 && index < static_cast<int>(book->ownMethods.size()))
        book->ownMethods.erase(book->ownMethods.begin() + index);
}

std::vector<std::string> NormRowTexts(const Norm& n) {
    return {n.name, n.method, KilovoltsText(n.minimum), n.good ? KilovoltsText(n.good) : ""};
}

std::vector<std::string> MethodRowTexts(const TestMethod& m) {
    const MethodFields f = FieldsOfMethod(m);
    const std::string percent = std::to_string(m.dispersionPercent) + " %";
    const std::string dispersion = m.dispersionRule == kDispersionRange ? "размах не более " + percent
                                   : m.dispersionRule == kDispersionCv  ? "КВ не более " + percent
                                                                        : "нет";
    return {m.name, std::to_string(m.breakdowns), kRiseRateItems[f.riseRate], std::to_string(m.pauseMinutes) + " мин",
            m.preTestDelay ? "есть" : "нет", dispersion};
}

std::string RemoveNormQuestion(const Norm& n) {
    return "Удалить норму " + Quoted(n.name) + " для методики " + Quoted(n.method) + "?";
}

std::string RemoveMethodQuestion(const NormBook& book, int index) {
    const std::string& name = book.ownMethods.at(static_cast<size_t>(index)).name;
    std::string question = "Удалить методику " + Quoted(name) + "?";
    const size_t n = NormsOfMethod(book, name).size();
    if (n == 0) return question;
    return question + "\r\n\r\nНа неё " + (n % 10 == 1 && n % 100 != 11 ? "ссылается " : "ссылаются ") +
           NormCount(n) +
           ". Нормы останутся в списке, но в выборе нормы появятся, только когда снова будет методика "
           "с таким названием.";
}

std::string SaveFailedText(const std::string& path) {
    return "Не удалось записать файл\r\n" + path +
           "\r\n\r\nНормы не сохранены. Проверьте, что файл не открыт в другой программе и не защищен от "
           "записи, и нажмите «ОК» еще раз.";
}
