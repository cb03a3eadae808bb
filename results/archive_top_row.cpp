// The archive viewer's top row laid out for the room the viewer has.
#include "results/archive_top_row.h"

namespace {

// The gap in front of item: the smaller one when a label stands before it.
int GapBefore(const ArchiveTopRowWidths& row, int item) {
    return item == kTopRowFind || item == kTopRowFrom || item == kTopRowTo ? row.labelGap : row.gap;
}

// x of every item placed one after the other from x onwards.
void PlaceFrom(const ArchiveTopRowWidths& row, int first, int end, int x, TopRowSpan (&spans)[kTopRowItems]) {
    for (int item = first; item < end; ++item) {
        if (item > first) x += GapBefore(row, item);
        spans[item] = {x, row.widths[item]};
        x += row.widths[item];
    }
}

// Width of items first..end-1 with the gaps between them.
int SpanWidth(const ArchiveTopRowWidths& row, int first, int end) {
    int width = 0;
    for (int item = first; item < end; ++item) width += row.widths[item] + (item > first ? GapBefore(row, item) : 0);
    return width;
}

}  // namespace

int ArchiveTopRowLeastWidth(const ArchiveTopRowWidths& row) { return SpanWidth(row, 0, kTopRowItems); }

void LayOutArchiveTopRow(const ArchiveTopRowWidths& row, int left, int right, TopRowSpan (&spans)[kTopRowItems]) {
    PlaceFrom(row, kTopRowPrint, kTopRowFindLabel, left, spans);
    const int buttonsEnd = spans[kTopRowOpen].x + spans[kTopRowOpen].width;
    const int findWidth = SpanWidth(row, kTopRowFindLabel, kTopRowItems);
    int findStart = right - findWidth;
    if (findStart < buttonsEnd + row.gap) findStart = buttonsEnd + row.gap;
    PlaceFrom(row, kTopRowFindLabel, kTopRowItems, findStart, spans);
}
