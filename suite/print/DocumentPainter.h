#pragma once

class QPageLayout;
class QPrinter;
class QTextDocument;

namespace suite {

// Lays a document out on its page as the printer holds it (PrinterPage) and
// paints it page by page. Copies are painted here when the printer cannot
// make them itself (PDF, preview), so a PDF of two copies holds every page twice.
class DocumentPainter
{
public:
    // SuiteError when the printer cannot be opened (a file that cannot be
    // written, a printer that refuses the job).
    static void paint(QTextDocument &document, QPrinter *printer, const QPageLayout &layout);
};

} // namespace suite
