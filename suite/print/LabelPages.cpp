#include "suite/print/LabelPages.h"

#include "suite/print/DocumentBuilder.h"
#include "suite/print/LabelSetup.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace suite {

LabelPages::LabelPages(const QStringList &texts, const LabelSheet &sheet, double points,
                       const QPageLayout &rollLayout)
    : m_texts(texts)
    , m_sheet(sheet)
    , m_points(points)
    , m_rollLayout(rollLayout)
{
    m_sheet.check();
}

QPageLayout LabelPages::pageLayout() const
{
    return m_sheet.isRoll() ? m_rollLayout : m_sheet.pageLayout();
}

int LabelPages::pageOf(int label) const
{
    return m_sheet.isRoll() ? label : (m_sheet.start - 1 + label) / m_sheet.perPage();
}

int LabelPages::pageCount() const
{
    return m_texts.isEmpty() ? 0 : pageOf(int(m_texts.size()) - 1) + 1;
}

QRectF LabelPages::textRectMm(int label) const
{
    if (m_sheet.isRoll())
        return m_rollLayout.paintRect(QPageLayout::Millimeter);
    // The same blank border inside each label of a sheet as on a roll's.
    const double edge = LabelSetup::EdgeMm;
    const QRectF rect = m_sheet.labelRect((m_sheet.start - 1 + label) % m_sheet.perPage());
    return rect.adjusted(edge, edge, -edge, -edge);
}

void LabelPages::paintPage(QPainter &painter, QPaintDevice *device, int page) const
{
    const double perMm = device->logicalDpiX() / 25.4;
    const DocumentBuilder builder(m_points);
    QAbstractTextDocumentLayout::PaintContext context;
    // Black on white whatever the desktop's palette says.
    context.palette.setColor(QPalette::Text, Qt::black);
    const int count = int(m_texts.size());
    int label = 0;
    if (!m_sheet.isRoll())
        label = std::max(0, page * m_sheet.perPage() - (m_sheet.start - 1));
    else
        label = page;
    for (; label < count && pageOf(label) == page; ++label) {
        const QRectF mm = textRectMm(label);
        const QRectF area(mm.left() * perMm, mm.top() * perMm, mm.width() * perMm, mm.height() * perMm);
        const auto document = builder.build(m_texts.at(label));
        // Laid out on the device itself, fonts and images take their true size.
        document->documentLayout()->setPaintDevice(device);
        document->setPageSize(area.size());
        painter.save();
        painter.translate(area.topLeft());
        // A label that runs longer than its place is cut there, never onto its neighbour.
        const QRectF clip(QPointF(0, 0), area.size());
        painter.setClipRect(clip);
        context.clip = clip;
        document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

} // namespace suite
