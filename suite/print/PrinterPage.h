#pragma once

#include <QPageLayout>
#include <QSizeF>

class QPrinter;

namespace suite {

// A document's page put on a printer, before the preview and again after the
// print dialog (which gives the printer the queue's default page): the
// document's size and margins where the printer takes them; a size a sheet
// printer has no paper for (a label) is printed at its own size at the top
// left of the printer's sheet, never stretched or reflowed to the sheet.
class PrinterPage
{
public:
    static void apply(QPrinter &printer, const QPageLayout &layout);

    // Where the document is laid out, in the printer's device pixels: the
    // printer's printable area when it holds the document's page, otherwise
    // the document's own printable area.
    static QSizeF paintSize(const QPrinter &printer, const QPageLayout &layout);
};

} // namespace suite
