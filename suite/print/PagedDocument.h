#pragma once

#include <QPageLayout>
#include <functional>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace suite {

// A document that draws any one of its pages on request, so that a preview
// draws only the pages in view and a long run is never held whole.
class PagedDocument
{
public:
    virtual ~PagedDocument() = default;

    virtual QPageLayout pageLayout() const = 0;
    virtual int pageCount() const = 0;
    // One page on a painter of device, its origin at the paper's corner,
    // sized by the device's resolution. SuiteError when it cannot be drawn.
    virtual void paintPage(QPainter &painter, QPaintDevice *device, int page) const = 0;

    // Every page (and copy, when the printer cannot make them) on printer,
    // placed from the paper's corner. SuiteError when it cannot be opened.
    void paint(QPrinter *printer) const;

    // Opens printer and has page draw each of pages, in order, on a new page
    // of it, as many times as the copies the printer cannot make itself.
    static void paintPages(QPrinter *printer, int pages, const std::function<void(QPainter &, int page)> &page);
};

} // namespace suite
