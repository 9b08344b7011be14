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
    paintPages(printer, pageCount(), [&](QPainter &painter, int page) { paintPage(painter, printer, page); });
}

void PagedDocument::paintPages(QPrinter *printer, int pages, const std::function<void(QPainter &, int page)> &page)
{
    QPainter painter;
    if (!painter.begin(printer)) {
        const QString where = printer->outputFileName().isEmpty() ? printer->printerName()
                                                                  : printer->outputFileName();
        throw SuiteError(u"No se pudo abrir la impresión en \"%1\"."_s.arg(where));
    }
    // QR codes must stay sharp: no lossy (JPEG) images in a PDF.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int copies = printer->supportsMultipleCopies() ? 1 : std::max(1, printer->copyCount());
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int index = 0; index < pages; ++index) {
            if (!first && !printer->newPage())
                throw SuiteError(u"La impresora no aceptó una página nueva."_s);
            first = false;
            page(painter, index);
        }
    }
    painter.end();
}

} // namespace suite
