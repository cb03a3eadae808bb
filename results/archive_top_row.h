// The archive viewer's top row: its buttons from the left edge, the find
// field and the date range at the right edge, never one over another.
#pragma once

// The row's controls, left to right.
enum ArchiveTopRowItem : int {
    kTopRowPrint,
    kTopRowSave,
    kTopRowClear,
    kTopRowOpen,
    kTopRowFindLabel,
    kTopRowFind,
    kTopRowFromLabel,
    kTopRowFrom,
    kTopRowToLabel,
    kTopRowTo,
    kTopRowItems
};

// Pixel widths each control needs (a button or label what its text needs
// in the dialog's font, a field its own width), the gap between neighbours
// and the smaller one between a label and the field it names.
struct ArchiveTopRowWidths {
    int widths[kTopRowItems];
    int gap;
    int labelGap;
};

struct TopRowSpan {
    int x, width;
};

// The least room from left to right that holds the whole row.
int ArchiveTopRowLeastWidth(const ArchiveTopRowWidths& row);

// The buttons start at left; the find field, the date range and their
// labels end at right. With less room than the row needs, the find field and
// what follows it keep their gap behind the buttons and run past right.
void LayOutArchiveTopRow(const ArchiveTopRowWidths& row, int left, int right, TopRowSpan (&spans)[kTopRowItems]);
