#include "suite/print/DocumentPainter.h"

#include "suite/data/SuiteError.h"
#include "suite/print/PrinterPage.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace suite {

void DocumentPainter::paint(QTextDocument &document, QPrinter *printer, const QPageLayout &layout)
{
    // Laid out on the printer itself, fonts and images take their true size.
    document.documentLayout()->setPaintDevice(printer);
    const QSizeF page = PrinterPage::paintSize(*printer, layout);
    document.setPageSize(page);

    QPainter painter;
    if (!painter.begin(printer)) {
        const QString where = printer->outputFileName().isEmpty() ? printer->printerName()
                                                                  : printer->outputFileName();
        throw SuiteError(u"No se pudo abrir la impresión en \"%1\"."_s.arg(where));
    }
    // QR codes must stay sharp: no lossy (JPEG) images in a PDF.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const int copies = printer->supportsMultipleCopies() ? 1 : std::max(1, printer->copyCount());
    const int pages = document.pageCount();
    QAbstractTextDocumentLayout::PaintContext context;
    // Black on white whatever the desktop's palette says.
    context.palette.setColor(QPalette::Text, Qt::black);
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int index = 0; index < pages; ++index) {
            if (!first && !printer->newPage())
                throw SuiteError(u"La impresora no aceptó una página nueva."_s);
            first = false;
            const QRectF view(0, index * page.height(), page.width(), page.height());
            painter.save();
            painter.translate(0, -view.top());
            painter.setClipRect(view);
            context.clip = view;
            document.documentLayout()->draw(&painter, context);
            painter.restore();
        }
    }
    painter.end();
}

} // namespace suite
