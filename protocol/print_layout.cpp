// Where each text of the printed protocol goes, page by page, computed without the printer.
#include "protocol/print_layout.h"

#include "protocol/voltage_text.h"
#include "results/archive_versions.h"
#include "verdict/verdict.h"

namespace {

void Put(std::vector<PrintedText>& page, int x, int line, int pitch, std::string text) {
    page.push_back(PrintedText{x, line, line * pitch, std::move(text)});
}

int Width(const TextMeasure& measure, const std::string& text, size_t from, size_t to) {
    return measure.width(measure.context, text.data() + from, static_cast<int>(to - from));
}

// A blank between a number and its unit ("47.0 кВ") is a no-break space: a
// value is never torn from its "кВ" at a line's end.
bool BindsNumberToUnit(const std::string& text, size_t blank) {
    static const std::string kUnit = "кВ";
    return blank > 0 && text[blank - 1] >= '0' && text[blank - 1] <= '9' &&
           text.compare(blank + 1, kUnit.size(), kUnit) == 0;
}

// The next break candidate at or after from: a blank, or the end of the text.
size_t NextCandidate(const std::string& text, size_t from) {
    for (size_t blank = text.find(' ', from); blank != std::string::npos; blank = text.find(' ', blank + 1))
        if (!BindsNumberToUnit(text, blank)) return blank;
    return text.size();
}

// Organisation header: one line per line feed plus one, each cut at CR.
void PutOrganisation(std::vector<PrintedText>& page, const ProtocolIssuer& settings, int x, int& line, int pitch) {
    std::string organisation = SlotText(settings.organisationName, sizeof settings.organisationName);
    for (size_t from = 0;;) {
        size_t feed = organisation.find('\n', from);
        std::string piece = organisation.substr(from, feed == std::string::npos ? std::string::npos : feed - from);
        Put(page, x, line++, pitch, piece.substr(0, piece.find('\r')));
        if (feed == std::string::npos) break;
        from = feed + 1;
    }
}

// The conclusion stored when the series ended, across the whole text width
// (it can run to some 300 characters). A series from before judging prints
// nothing here, so its page stays as it always was.
void PutConclusion(std::vector<PrintedText>& page, const TextMeasure& measure, const TestRecord& record, int x,
                   int& line, int pitch, int width) {
    const std::string conclusion = ConclusionText(record);
    if (conclusion.empty()) return;
    line += 2;
    PrintWrapped(page, measure, "Заключение: " + conclusion, x, line, pitch, width);
}

constexpr int kLinesPerPage = 50;
constexpr int kTopLine = 3;                          // the first line written on any page
constexpr int kFooterLine = kLinesPerPage - 1;       // the page's number, on its last line
constexpr int kBodyEnd = kFooterLine - 2;            // text lines stop here, a blank line above the footer
constexpr int kLaterBody = kBodyEnd - kTopLine;      // lines a further page takes

int Centred(const TextMeasure& measure, const std::string& text, int width) {
    const int x = (width - Width(measure, text, 0, text.size())) / 2;
    return x > 0 ? x : 0;
}

// The amendment line under the title, with its reason, wrapped within the text's width.
void PutAmendment(std::vector<PrintedText>& page, const TextMeasure& measure, const std::string& note, int x,
                  int& line, int pitch, int width) {
    if (note.empty()) return;
    ++line;
    PrintWrapped(page, measure, note, x, line, pitch, width - x - static_cast<int>(0.1 * width));
}

// Who tested and who heads the laboratory, then the protocol's end.
void PutSignatures(std::vector<PrintedText>& page, const TextMeasure& measure, const TestRecord& record,
                   const ProtocolIssuer& settings, const ProtocolNotes& notes, int& line, int pitch, int width) {
    const int x15 = static_cast<int>(0.15 * width), x70 = static_cast<int>(0.7 * width);
    line += 3;
    Put(page, x15, line, pitch, "Испытания произвел");
    Put(page, x70, line, pitch, SlotText(record.protocolText[11], kProtocolTextSize));
    Put(page, x70, ++line, pitch, SlotText(record.protocolText[12], kProtocolTextSize));
    line += 3;
    Put(page, x15, line, pitch, SlotText(settings.direktor, sizeof settings.direktor));
    Put(page, x70, line, pitch, SlotText(settings.direktorName, sizeof settings.direktorName));
    // An approved version carries its approval's date under the approver's name.
    if (!notes.approvedOn.empty()) Put(page, x70, ++line, pitch, notes.approvedOn);
    line += 2;
    const std::string end = "Конец протокола";
    Put(page, Centred(measure, end, width), line, pitch, end);
}

}  // namespace

int ProtocolLinePitch(int pageHeight) { return pageHeight / kLinesPerPage; }

int ProtocolFontHeight(int pageHeight) { return pageHeight / 70; }

void PrintWrapped(std::vector<PrintedText>& page, const TextMeasure& measure, const std::string& text,
                  int x, int& line, int pitch, int columnWidth) {
    const size_t end = text.size();
    if (Width(measure, text, 0, end) < columnWidth) {
        Put(page, x, line, pitch, text);
        return;
    }
    size_t start = 0, previous = 0;
    int candidates = 0;
    for (size_t p = NextCandidate(text, 0);; p = NextCandidate(text, p + 1)) {
        ++candidates;
        if (Width(measure, text, start, p) > columnWidth) {
            // Break at the last blank that still fit; a lone word too wide
            // for the column goes out whole.
            if (candidates > 1 && previous > start) p = previous;
            Put(page, x, line, pitch, text.substr(start, p - start));
            // The blank that broke the line ends it; the next one starts at its word.
            start = p < end ? p + 1 : p;
            candidates = 0;
            if (start == end) return;  // nothing left: no empty line after it
            ++line;
        }
        if (p == end) {
            Put(page, x, line, pitch, text.substr(start));
            return;
        }
        previous = p;
    }
}

std::vector<PrintedText> LayoutProtocol(const TestRecord& record, const ProtocolIssuer& settings,
                                        int width, int height, const TextMeasure& measure,
                                        const ProtocolNotes& notes) {
    const int pitch = ProtocolLinePitch(height);
    const int x10 = static_cast<int>(0.1 * width), x15 = static_cast<int>(0.15 * width);
    const int x40 = static_cast<int>(0.4 * width), x50 = static_cast<int>(0.5 * width);
    const int x55 = static_cast<int>(0.55 * width);
    // The value column and the conclusion end at the same right edge.
    const int column = static_cast<int>(0.4 * width), textWidth = static_cast<int>(0.8 * width);
    std::vector<PrintedText> page;
    int line = 3;
    PutOrganisation(page, settings, x50, line, pitch);

    auto text = [&](int k) { return SlotText(record.protocolText[k], kProtocolTextSize); };
    line += 1;
    Put(page, x40, line, pitch, "Протокол №" + text(0));
    if (notes.draft) Put(page, x40, ++line, pitch, kDraftMark);
    // Only a mended version takes the extra line; the original's page stays as it was.
    PutAmendment(page, measure, AmendmentLine(record, notes), x40, line, pitch, width);

    auto heading = [&](const char* label) { Put(page, x10, ++line, pitch, label); };
    auto item = [&](const char* label, const std::string& value) {
        Put(page, x15, ++line, pitch, label);
        PrintWrapped(page, measure, value, x55, line, pitch, column);
    };
    heading("1. Основные данные");
    item("1.1. Наименование испытываемого материала", text(1));
    item("1.2. Наименование стандарта", text(2));
    item("1.3. Объект, из которого взята проба", text(3));
    item("1.4. Дата взятия пробы", text(4));
    item("1.5. Внешний вид жидкости", text(5));
    item("1.6. Температура жидкости", text(6));
    item("1.7. Условия подготовки порции пробы", text(9));
    item("1.8. Дата проведения испытаний", text(10));
    item("1.9. Измерительная установка", InstrumentText(settings.priborSerialNumber));
    heading("2. Условия окружающей среды при проведении испытания");
    item("2.1. Температура помещения", text(7));
    item("2.2. Влажность окружающего воздуха", text(8));
    heading("3. Результаты испытания");
    item("3.1. Пробивные напряжения", VoltageListText(record));
    Put(page, x15, ++line, pitch, "3.2. Среднее арифметическое значение");
    Put(page, x55, line, pitch, MeanVoltageText(record));
    Put(page, x15, ++line, pitch, "3.3. Средняя квадратическая ошибка");
    Put(page, x55, line, pitch, RmsErrorText(record));
    PutConclusion(page, measure, record, x15, line, pitch, textWidth);

    PutSignatures(page, measure, record, settings, notes, line, pitch, width);
    return page;
}

std::vector<PrintedPage> LayoutProtocolPages(const TestRecord& record, const ProtocolIssuer& settings,
                                             const ProtocolNotes& notes, int width, int height,
                                             const TextMeasure& measure) {
    const int pitch = ProtocolLinePitch(height);
    std::vector<PrintedPage> pages(1);
    for (PrintedText item : LayoutProtocol(record, settings, width, height, measure, notes)) {
        size_t page = 0;
        if (item.line >= kBodyEnd) {
            const int later = item.line - kBodyEnd;
            page = 1 + static_cast<size_t>(later / kLaterBody);
            item.line = kTopLine + later % kLaterBody;
            item.y = item.line * pitch;
        }
        if (pages.size() <= page) pages.resize(page + 1);
        pages[page].push_back(std::move(item));
    }
    const int count = static_cast<int>(pages.size());
    for (int k = 0; k < count; ++k) {
        const std::string footer = PageFooterText(record, k + 1, count);
        Put(pages[k], Centred(measure, footer, width), kFooterLine, pitch, footer);
    }
    return pages;
}
