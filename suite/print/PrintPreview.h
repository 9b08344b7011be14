#pragma once

#include <QString>
#include <functional>

class QPageLayout;
class QPrinter;

namespace suite {

// The print preview a person sees: the document as it will print, and the
// usual print dialog (printer, copies, print to PDF) behind its print button;
// the document's page goes to the printer chosen there as it was previewed.
// The suite's one print dialog; nothing below the print object opens one.
class PrintPreview
{
public:
    // Returns when the person closes the preview: true when the document was
    // printed from it. A print that failed is thrown afterwards as SuiteError.
    // paint draws the whole document on the printer it is given.
    static bool show(const std::function<void(QPrinter *)> &paint, QPrinter *printer, const QPageLayout &layout,
                     const QString &title);
};

} // namespace suite
