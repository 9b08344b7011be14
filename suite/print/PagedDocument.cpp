#include "suite/print/PagedDocument.h"

#include "suite/data/SuiteError.h"

#include <QPainter>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace suite {

void PagedDocument::paint(QPrinter *printer) const
{
    // Placed on the paper itself, wherever the printer's margins lie.
    printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(printer)) {
        const QString where = printer->outputFileName().isEmpty() ? printer->printerName()
                                                                  : printer->outputFileName();
        throw SuiteError(u"No se pudo abrir la impresión en \"%1\"."_s.arg(where));
    }
    // QR codes must stay sharp: no lossy (JPEG) images in a PDF.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int copies = printer->supportsMultipleCopies() ? 1 : std::max(1, printer->copyCount());
    const int pages = pageCount();
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = 0; page < pages; ++page) {
            if (!first && !printer->newPage())
                throw SuiteError(u"La impresora no aceptó una página nueva."_s);
            first = false;
            paintPage(painter, printer, page);
        }
    }
    painter.end();
}

} // namespace suite
