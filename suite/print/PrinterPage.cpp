#include "suite/print/PrinterPage.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace suite {

namespace {

// A queue can print the page when it takes custom sizes or has that paper.
bool takes(const QPrinter &printer, const QPageSize &size)
{
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return true;
    const QPrinterInfo info(printer);
    if (info.isNull() || info.supportsCustomPageSizes())
        return true;
    const QList<QPageSize> sizes = info.supportedPageSizes();
    return std::any_of(sizes.cbegin(), sizes.cend(), [&](const QPageSize &s) { return s.isEquivalentTo(size); });
}

// The wanted margins, widened where the printer cannot print so near the edge.
void setMargins(QPrinter &printer, const QMarginsF &wanted)
{
    const QMarginsF minimum = printer.pageLayout().minimumMargins();
    printer.setPageMargins(QMarginsF(std::max(wanted.left(), minimum.left()), std::max(wanted.top(), minimum.top()),
                                     std::max(wanted.right(), minimum.right()),
                                     std::max(wanted.bottom(), minimum.bottom())),
                           QPageLayout::Millimeter);
}

} // namespace

void PrinterPage::apply(QPrinter &printer, const QPageLayout &layout)
{
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    if (!takes(printer, layout.pageSize())) {
        // The printer's own sheet stays; the document keeps its size on it.
        printer.setPageOrientation(QPageLayout::Portrait);
        setMargins(printer, margins);
        return;
    }
    if (!printer.setPageLayout(layout)) {
        printer.setPageSize(layout.pageSize());
        printer.setPageOrientation(layout.orientation());
        setMargins(printer, margins);
    }
}

QSizeF PrinterPage::paintSize(const QPrinter &printer, const QPageLayout &layout)
{
    const QSizeF printable = printer.pageRect(QPrinter::DevicePixel).size();
    if (printer.pageLayout().pageSize().isEquivalentTo(layout.pageSize()))
        return printable;
    const QSizeF own = layout.paintRectPixels(printer.resolution()).size();
    return own.boundedTo(printable);
}

} // namespace suite
