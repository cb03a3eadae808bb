#pragma once
#include <string>
#include <vector>

#include "protocol/protocol_issuer.h"
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

// The whole one-page protocol for a printable area of width x height pixels.
std::vector<PrintedText> LayoutProtocol(const TestRecord& record, const ProtocolIssuer& settings,
                                        int width, int height, const TextMeasure& measure);
