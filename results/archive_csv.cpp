// CSV lines of archived series and the Windows-1251 to UTF-8 conversion they need.
#include "results/archive_csv.h"

#include <cstdio>
#include <cstring>

#include "results/test_parameters.h"
#include "verdict/verdict.h"

namespace {

// Code points of Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are А..я in order.
// 0x98 is unassigned and kept as U+0098, as Windows itself converts it.
constexpr uint16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void AppendUtf8(std::string& out, uint16_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Labels are Windows-1251 like every text of the program; they are converted
// on the way out with the texts of the record.
const char* const kTextLabels[kProtocolTextCount] = {
    "Номер протокола",
    "Наименование испытываемого материала",
    "Наименование стандарта",
    "Объект, из которого взята проба",
    "Дата взятия пробы",
    "Внешний вид жидкости",
    "Температура жидкости",
    "Температура помещения",
    "Влажность окружающего воздуха",
    "Условия подготовки порции пробы",
    "Дата проведения испытаний",
    "Испытание произвел: должность",
    "Испытание произвел: ФИО",
};

const char* const kValueLabels[] = {
    "Дата", "Время",
    "U1, кВ", "U2, кВ", "U3, кВ", "U4, кВ", "U5, кВ", "U6, кВ",
    "Среднее напряжение, кВ", "Среднеквадратичная ошибка, кВ", "Коэффициент вариации, %",
    "Количество измерений", "Пауза между измерениями, мин.", "Задержка перед испытанием",
    "Скорость нарастания напряжения, кВ/с", "Максимальное напряжение, кВ",
    // Appended after the columns users' spreadsheets already read by position.
    "Методика", "Норма, кВ", "Граница «хорошо», кВ", "Правило разброса", "Заключение",
    "Отклонения от методики",
    // Which version of its series the row is: 0 as archived, k the k-th amendment.
    "Изменение",
};
static_assert(kProtocolTextCount + sizeof kValueLabels / sizeof kValueLabels[0] == kArchiveCsvColumns,
              "one label per column");

std::string Utf8(const char* text) { return Cp1251ToUtf8(text, std::strlen(text)); }

// Tenths as a number with the chosen decimal symbol; printf's own symbol
// follows the C locale, so both of its possible symbols are replaced.
std::string Tenths(unsigned tenths, const char* decimalPoint) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u.%u", tenths / 10, tenths % 10);
    std::string out = digits;
    size_t dot = out.find('.');
    return out.substr(0, dot) + decimalPoint + out.substr(dot + 1);
}

// A voltage word as the protocol shows it, without the unit the header names:
// ">100" when the sample did not break down up to 100 kV.
std::string VoltageCell(uint16_t word, const char* decimalPoint) {
    if (!(word & kNoBreakdownBit)) return Tenths(word, decimalPoint);
    char text[16];
    std::snprintf(text, sizeof text, ">%.0f", (word & kVoltageMask) / 10.0);
    return text;
}

std::string Whole(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", value);
    return text;
}

std::string DispersionRuleText(const VerdictBlock& v) {
    const char* what = v.dispersionRule == kDispersionRange ? "размах" : v.dispersionRule == kDispersionCv ? "КВ" : "";
    if (!*what) return {};
    return Utf8(what) + Utf8(" не более ") + Whole(v.dispersionPercent) + " %";
}

// The deviations as a list for a cell: the sentence's lead and full stop
// would repeat in every row under a header that already names them.
std::string DeviationsCell(const TestRecord& r) {
    static const char kLead[] = "Отклонение от методики: ";
    std::string text = DeviationText(r);
    if (text.compare(0, sizeof kLead - 1, kLead) == 0) text.erase(0, sizeof kLead - 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return Utf8(text.c_str());
}

class Line {
public:
    explicit Line(const char* separator) : separator_(separator) {}
    void Add(const std::string& utf8) {
        if (cells_++ > 0) text_ += separator_;
        text_ += CsvCell(utf8, separator_);
    }
    void AddEmpty(int count) {
        while (count-- > 0) Add(std::string());
    }
    std::string Finish() { return text_ + "\r\n"; }

private:
    const char* separator_;
    std::string text_;
    int cells_ = 0;
};

// What was concluded when the series ended, as stored; never judged again.
void AddVerdict(Line& line, const TestRecord& r, const char* point) {
    const VerdictBlock& v = r.verdict;
    if (!v.present) return line.AddEmpty(kArchiveCsvVerdictColumns);
    line.Add(Utf8(StoredMethodName(v.method)));
    line.Add(v.normMinimum ? Tenths(v.normMinimum, point) : std::string());
    line.Add(v.normGood ? Tenths(v.normGood, point) : std::string());
    line.Add(DispersionRuleText(v));
    line.Add(Utf8(VerdictShortText(r)));
    line.Add(DeviationsCell(r));
}

}  // namespace

std::string Cp1251ToUtf8(const char* text, size_t size) {
    std::string out;
    out.reserve(size * 2);
    for (size_t i = 0; i < size && text[i] != 0; ++i) {
        uint8_t byte = static_cast<uint8_t>(text[i]);
        if (byte < 0x80)
            out += static_cast<char>(byte);
        else if (byte < 0xC0)
            AppendUtf8(out, kHighHalf[byte - 0x80]);
        else
            AppendUtf8(out, static_cast<uint16_t>(0x0410 + (byte - 0xC0)));
    }
    return out;
}

namespace {

// The character that starts at utf8[i], or 0xFFFF for a byte that starts none
// (or one past the 16 bits no 1251 character needs); i moves past it.
uint32_t NextCodePoint(const std::string& utf8, size_t& i) {
    const uint8_t lead = static_cast<uint8_t>(utf8[i++]);
    const int more = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : -1;
    if (more < 0) return 0xFFFF;
    uint32_t code = more == 0 ? lead : lead & (more == 1 ? 0x1F : 0x0F);
    for (int k = 0; k < more; ++k) {
        if (i >= utf8.size() || (static_cast<uint8_t>(utf8[i]) & 0xC0) != 0x80) return 0xFFFF;
        code = (code << 6) | (static_cast<uint8_t>(utf8[i++]) & 0x3F);
    }
    return code;
}

char Cp1251Of(uint32_t code) {
    if (code < 0x80) return static_cast<char>(code);
    if (code >= 0x0410 && code <= 0x044F) return static_cast<char>(0xC0 + (code - 0x0410));
    for (int k = 0; k < 64; ++k)
        if (kHighHalf[k] == code) return static_cast<char>(0x80 + k);
    return '?';
}

}  // namespace

std::string Utf8ToCp1251(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) out += Cp1251Of(NextCodePoint(utf8, i));
    return out;
}

std::string CsvCell(const std::string& text, const char* separator) {
    bool quote = text.find_first_of("\"\r\n") != std::string::npos ||
                 (separator[0] != 0 && text.find(separator) != std::string::npos);
    if (!quote) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

const char* ProtocolTextLabel(int k) { return k >= 0 && k < kProtocolTextCount ? kTextLabels[k] : ""; }

std::string ArchiveCsvHeader(const CsvFormat& format) {
    Line line(format.separator);
    for (const char* label : kTextLabels) line.Add(Utf8(label));
    for (const char* label : kValueLabels) line.Add(Utf8(label));
    return line.Finish();
}

std::string ArchiveCsvRow(const TestRecord& r, const CsvFormat& format) {
    const char* point = format.decimalPoint;
    Line line(format.separator);
    for (int k = 0; k < kProtocolTextCount; ++k) line.Add(Cp1251ToUtf8(r.protocolText[k], kProtocolTextSize));

    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u", r.testTime.wDay, r.testTime.wMonth, r.testTime.wYear);
    line.Add(text);
    std::snprintf(text, sizeof text, "%u:%02u", r.testTime.wHour, r.testTime.wMinute);
    line.Add(text);

    for (int i = 0; i < kVoltageSlots; ++i)
        line.Add(i < StoredValueCount(r) ? VoltageCell(r.breakdownVoltage[i], point) : std::string());
    // Without breakdown the mean is shown as the bound voltage, as everywhere else.
    line.Add(r.meanVoltage & kNoBreakdownBit ? VoltageCell(r.boundVoltage | kNoBreakdownBit, point)
                                             : VoltageCell(r.meanVoltage, point));
    line.Add(Tenths(r.rmsError, point));
    line.Add(Whole(r.variationPercent));

    const DeviceSettings& s = r.settingsSnapshot;
    if (RecordHasSettings(r)) {
        line.Add(Whole(static_cast<unsigned>(MeasurementCount(s))));
        line.Add(Whole(static_cast<unsigned>(PauseMinutes(s))));
        line.Add(Utf8(PreTestDelay(s) ? "есть" : "нет"));
        line.Add(Tenths(s.riseRate, point));
        line.Add(Tenths(s.maxVoltage, point));
    } else {
        for (int k = 0; k < kTestParameterCount; ++k) line.Add(Utf8(kNoParameterData));
    }
    AddVerdict(line, r, point);
    line.Add(Whole(r.marks.amendment));
    return line.Finish();
}
