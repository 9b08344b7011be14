#include "suite/print/DocumentPainter.h"

#include "suite/print/PagedDocument.h"
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

    QAbstractTextDocumentLayout::PaintContext context;
    // Black on white whatever the desktop's palette says.
    context.palette.setColor(QPalette::Text, Qt::black);
    PagedDocument::paintPages(printer, document.pageCount(), [&](QPainter &painter, int index) {
        const QRectF view(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        context.clip = view;
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    });
}

} // namespace suite
