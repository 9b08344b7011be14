#pragma once

#include <QString>

class QPrinter;

namespace suite {

class PagedDocument;

// The print preview of a document drawn page by page (labels in bulk): it
// opens at once and draws only the pages in view, keeping the last few, so
// thousands of labels are looked at without waiting for all of them. Its
// print button opens the usual print dialog; the document's page goes to
// the printer chosen there, as in PrintPreview.
class PagedPreview
{
public:
    // Returns when the person closes the preview: true when the document was
    // printed from it. A page that could not be drawn, or a print that
    // failed, is thrown afterwards as SuiteError.
    static bool show(const PagedDocument &document, QPrinter *printer, const QString &title);
};

} // namespace suite
