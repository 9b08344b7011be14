#pragma once
#include <QString>
#include <QStringList>

// A printed document read as a person reads the paper, with poppler and zbar.
// The first of the tools the reading needs that is not installed; empty when all are.
QString missingPdfTool();
// What a program wrote to its standard output.
QString toolOutput(const QString &program, const QStringList &arguments);
// The text, compatibility forms folded (the "fi" ligature reads "fi") and line breaks as blanks.
QString pdfText(const QString &file);
// One line of pdfinfo's ("Pages", "Page size", "Title").
QString pdfInfo(const QString &file, const QString &key);
// The codes zbarimg reads on one page rasterised at 150 dpi.
QString qrOf(const QString &file, int page = 1);
