#pragma once
// Where each text of the printed protocol goes, page by page.
#include <string>
#include <vector>

#include "protocol/protocol_issuer.h"
#include "protocol/protocol_notes.h"
#include "common/test_record.h"

// Where each text of the printed protocol goes. The printer code measures
// texts with the page's font and draws what this computes.

struct PrintedText {
    int x;
    int line;  // the text's top is at line * pitch
    int y;
    std::string text;
};

// Width of text[0, length) in device pixels with the page's font.
struct TextMeasure {
    int (*width)(void* context, const char* text, int length);
    void* context;
};

int ProtocolLinePitch(int pageHeight);  // 50 lines to the page
int ProtocolFontHeight(int pageHeight);

// Draws text at column x from line onwards, breaking at blanks so that each
// line stays narrower than columnWidth; a single wider word runs past the
// column. The blank of a break is dropped, and none between a number and
// its "кВ" breaks. line is left at the last line drawn.
void PrintWrapped(std::vector<PrintedText>& page, const TextMeasure& measure, const std::string& text,
                  int x, int& line, int pitch, int columnWidth);

// The whole protocol for a printable area of width x height pixels as one
// run of lines, "Конец протокола" after the last; lines past the page's
// height are where LayoutProtocolPages takes them to the next page.
std::vector<PrintedText> LayoutProtocol(const TestRecord& record, const ProtocolIssuer& settings,
                                        int width, int height, const TextMeasure& measure,
                                        const ProtocolNotes& notes = ProtocolNotes());

using PrintedPage = std::vector<PrintedText>;
// The protocol cut into pages: the first page's lines end above its footer,
// each further page goes on from the top margin, and every page ends with
// "Протокол № N, изм. k — стр. x из y" centred on its last line.
std::vector<PrintedPage> LayoutProtocolPages(const TestRecord& record, const ProtocolIssuer& settings,
                                             const ProtocolNotes& notes, int width, int height,
                                             const TextMeasure& measure);
