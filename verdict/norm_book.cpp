// The laboratory's norms and own methods: examples, file text, load and save.
#include "verdict/norm_book.h"

#include <cstdio>
#include <cstring>

#include "common/program_settings.h"
#include "platform/files.h"

NormBook g_normBook;

namespace {

const char kHeader[] =
    "; Нормы испытаний и методики лаборатории программы ОРЛА-К200В.\r\n"
    "; Напряжения в киловольтах. Good - граница \"хорошо\" трехуровневой нормы, 0 - норма с одной границей.\r\n"
    "; Method нормы - название методики, как в списке \"Методика\". Dispersion: 0 нет, 1 размах не более\r\n"
    "; Percent % среднего, 2 коэффициент вариации не более Percent %. Кодировка Windows-1251.\r\n";

// Each limit from the table or clause named in the norm.
const Norm kExampleNorms[] = {
    {"IEC 60422:2024 табл. 5, масло в эксплуатации, категория A (выше 170 кВ)", "IEC 60156", 500, 600},
    {"IEC 60422:2024 табл. 5, масло в эксплуатации, категория B (72,5-170 кВ)", "IEC 60156", 400, 500},
    {"IEC 60422:2024 табл. 5, масло в эксплуатации, категория C (до 72,5 кВ)", "IEC 60156", 300, 400},
    {"IEC 60296, неиспользованное масло при поставке", "IEC 60156", 300, 0},
    {"IEEE C57.106-2006, новое масло при получении", "ASTM D1816, зазор 1 мм", 200, 0},
    {"IEEE C57.106-2006, новое масло при получении", "ASTM D1816, зазор 2 мм", 350, 0},
    {"IEEE C57.106-2006, новое масло в новом оборудовании до 69 кВ", "ASTM D1816, зазор 1 мм", 250, 0},
    {"IEEE C57.106-2006, новое масло в новом оборудовании до 69 кВ", "ASTM D1816, зазор 2 мм", 450, 0},
    {"IEEE C57.106-2006, новое масло в новом оборудовании 69-230 кВ", "ASTM D1816, зазор 1 мм", 300, 0},
    {"IEEE C57.106-2006, новое масло в новом оборудовании 69-230 кВ", "ASTM D1816, зазор 2 мм", 520, 0},
};

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

int Number(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 1000) return -1;
        value = value * 10 + (c - '0');
    }
    return text.empty() ? -1 : value;
}

// The instrument's own choices: what its device settings lists offer.
bool RunnableMethod(const TestMethod& m) {
    const bool rate = m.riseRate == 5 || m.riseRate == 10 || m.riseRate == 20 || m.riseRate == 50;
    return !m.name.empty() && m.breakdowns >= 1 && m.breakdowns <= 6 && rate && m.pauseMinutes >= 0 &&
           m.pauseMinutes <= 9 && m.dispersionRule <= kDispersionCv && m.dispersionPercent <= 250;
}

struct Section {
    std::string kind;  // "Norm" or "Method", the digits dropped
    std::vector<std::pair<std::string, std::string>> keys;
    std::string Get(const char* key) const {
        for (const auto& k : keys)
            if (k.first == key) return k.second;
        return {};
    }
};

void Take(const Section& s, NormBook* book) {
    uint16_t tenths = 0;
    if (s.kind == "Norm") {
        Norm n{s.Get("Name"), s.Get("Method"), 0, 0};
        if (n.name.empty() || !ParseKilovolts(s.Get("Minimum"), &n.minimum) || n.minimum == 0) return;
        if (ParseKilovolts(s.Get("Good"), &tenths) && tenths > n.minimum) n.good = tenths;
        book->norms.push_back(n);
    } else if (s.kind == "Method") {
        TestMethod m{s.Get("Name"), kMethodOwn, Number(s.Get("Breakdowns")), 0, Number(s.Get("Pause")),
                     s.Get("Delay") != "0", 0, 0};
        if (ParseKilovolts(s.Get("RiseRate"), &tenths)) m.riseRate = tenths;
        int rule = Number(s.Get("Dispersion")), percent = Number(s.Get("Percent"));
        m.dispersionRule = static_cast<uint8_t>(rule < 0 ? 0 : rule > 255 ? 255 : rule);
        m.dispersionPercent = static_cast<uint8_t>(percent < 0 ? 0 : percent > 255 ? 255 : percent);
        if (m.dispersionRule == kDispersionNone) m.dispersionPercent = 0;
        // A built-in name stays the built-in method's: a record names it by code.
        bool builtInName = false;
        for (const TestMethod& b : BuiltInMethods()) builtInName |= b.name == m.name;
        if (RunnableMethod(m) && !builtInName) book->ownMethods.push_back(m);
    }
}

}  // namespace

NormBook ExampleNormBook() {
    NormBook book;
    for (const Norm& n : kExampleNorms) book.norms.push_back(n);
    return book;
}

bool ParseKilovolts(const std::string& typed, uint16_t* tenths) {
    std::string text = Trim(typed);
    size_t point = text.find_first_of(".,");
    std::string whole = text.substr(0, point), fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (fraction.size() > 1) return false;
    int w = Number(whole), f = fraction.empty() ? 0 : Number(fraction);
    if (w < 0 || f < 0 || w > 100) return false;
    int value = w * 10 + f;
    if (value > 1000) return false;
    *tenths = static_cast<uint16_t>(value);
    return true;
}

std::string KilovoltsText(uint16_t tenths) {
    char text[16];
    if (tenths % 10) std::snprintf(text, sizeof text, "%u.%u", tenths / 10u, tenths % 10u);
    else std::snprintf(text, sizeof text, "%u", tenths / 10u);
    return text;
}

std::string NormBookText(const NormBook& book) {
    std::string text = kHeader;
    int k = 0;
    for (const TestMethod& m : book.ownMethods) {
        text += "\r\n[Method" + std::to_string(++k) + "]\r\nName=" + m.name +
                "\r\nBreakdowns=" + std::to_string(m.breakdowns) + "\r\nRiseRate=" + KilovoltsText(m.riseRate) +
                "\r\nPause=" + std::to_string(m.pauseMinutes) + "\r\nDelay=" + (m.preTestDelay ? "1" : "0") +
                "\r\nDispersion=" + std::to_string(m.dispersionRule) +
                "\r\nPercent=" + std::to_string(m.dispersionPercent) + "\r\n";
    }
    k = 0;
    for (const Norm& n : book.norms)
        text += "\r\n[Norm" + std::to_string(++k) + "]\r\nName=" + n.name + "\r\nMethod=" + n.method +
                "\r\nMinimum=" + KilovoltsText(n.minimum) + "\r\nGood=" + KilovoltsText(n.good) + "\r\n";
    return text;
}

NormBook ParseNormBook(const std::string& text) {
    NormBook book;
    Section section;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string line = Trim(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? text.size() + 1 : end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            Take(section, &book);
            std::string name = line.substr(1, line.size() - 2);
            section = Section{name.substr(0, name.find_first_of("0123456789")), {}};
            continue;
        }
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            section.keys.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    Take(section, &book);
    return book;
}

NormBook LoadNormBook(const char* path) {
    platform::FileHandle file = platform::OpenExclusive(path, platform::OpenMode::ReadExisting);
    if (file == platform::kNoFile) {
        NormBook examples = ExampleNormBook();
        SaveNormBook(examples, path);
        return examples;
    }
    std::string text;
    char buffer[4096];
    uint32_t got = 0;
    while (platform::ReadFile(file, buffer, sizeof buffer, &got) && got > 0) text.append(buffer, got);
    platform::CloseFile(file);
    return ParseNormBook(text);
}

bool SaveNormBook(const NormBook& book, const char* path) {
    const std::string temporary = std::string(path) + ".tmp";
    const std::string text = NormBookText(book);
    platform::FileHandle file = platform::OpenExclusive(temporary.c_str(), platform::OpenMode::WriteAlways);
    if (file == platform::kNoFile) return false;
    uint32_t written = 0;
    bool ok = platform::WriteFile(file, text.data(), static_cast<uint32_t>(text.size()), &written) &&
              written == text.size() && platform::TruncateHere(file);
    platform::CloseFile(file);
    return ok && platform::MoveFileOver(temporary.c_str(), path);
}

std::vector<TestMethod> AllMethods(const NormBook& book) {
    std::vector<TestMethod> all = BuiltInMethods();
    all.insert(all.end(), book.ownMethods.begin(), book.ownMethods.end());
    return all;
}

const TestMethod* FindMethod(const NormBook& book, const std::string& name) {
    for (const TestMethod& m : BuiltInMethods())
        if (m.name == name) return &m;
    for (const TestMethod& m : book.ownMethods)
        if (m.name == name) return &m;
    return nullptr;
}

std::vector<const Norm*> NormsOfMethod(const NormBook& book, const std::string& method) {
    std::vector<const Norm*> norms;
    for (const Norm& n : book.norms)
        if (n.method == method) norms.push_back(&n);
    return norms;
}

const Norm* FindNorm(const NormBook& book, const std::string& method, const std::string& name) {
    for (const Norm& n : book.norms)
        if (n.method == method && n.name == name) return &n;
    return nullptr;
}

bool SettingsMatchMethod(const DeviceSettings& s, const TestMethod& m) {
    return MeasurementCount(s) == m.breakdowns && s.riseRate == m.riseRate && PauseMinutes(s) == m.pauseMinutes &&
           PreTestDelay(s) == m.preTestDelay;
}

std::string NormBookPath() {
    std::string ini = g_programSettings.iniPath;
    size_t slash = ini.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : ini.substr(0, slash + 1)) + kNormBookFileName;
}
