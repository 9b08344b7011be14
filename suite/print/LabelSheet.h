#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QString>

namespace suite {

// What labels are printed on. A roll gives one label a page, of the size
// ImprimeTexto's numbers give it. A sheet is a page of rows × columns of
// labels: its margins run from the paper's edges to the outer labels, its
// gaps lie between neighbouring labels, and every label has the same size,
// what the page leaves once margins and gaps are taken. Printing starts at
// position `start` of the first sheet (1: top left, counted along the rows),
// so a sheet that was half used goes back into the printer.
struct LabelSheet
{
    QString page;         // "A4", "Letter", "210x297"... (PageSetup); empty: a roll
    int rows = 0;
    int columns = 0;
    double topMm = 0;
    double bottomMm = 0;
    double leftMm = 0;
    double rightMm = 0;
    double columnGapMm = 0; // between two labels side by side
    double rowGapMm = 0;    // between a label and the one below it
    int start = 1;

    bool isRoll() const { return page.trimmed().isEmpty(); }

    // SuiteError, in words, for a sheet its labels do not fit on (no rows
    // or columns, margins and gaps that leave no room, a start off the sheet).
    void check() const;

    // The sheet's paper with no margins: labels are placed from its edges.
    QPageLayout pageLayout() const;
    int perPage() const { return rows * columns; }
    // Where the label at position (from 0, along the rows) lies on the page, in mm.
    QRectF labelRect(int position) const;
    // "A4, 3 columnas × 8 filas"; "rollo"
    QString description() const;
};

} // namespace suite
