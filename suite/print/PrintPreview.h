#pragma once

#include <QString>

class QPrinter;
class QTextDocument;

namespace suite {

// The print preview a person sees: the document as it will print, and the
// usual print dialog (printer, copies, print to PDF) behind its print button.
// The suite's one print dialog; nothing below the print object opens one.
class PrintPreview
{
public:
    // Returns when the person closes the preview; a print that failed from
    // it is thrown afterwards as SuiteError.
    static void show(QTextDocument &document, QPrinter *printer, const QString &title);
};

} // namespace suite
