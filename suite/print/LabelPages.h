#pragma once

#include "suite/print/LabelSheet.h"
#include "suite/print/PagedDocument.h"

#include <QPageLayout>
#include <QRectF>
#include <QStringList>

namespace suite {

// Filled label texts (DocumentBuilder::fillFields) as the pages of one
// document, in the order given: one label a page on a roll, the sheet's
// positions from its starting one on sheets. A label's document is made only
// when its page is painted, so any number of labels costs one page's worth
// of them at a time, and a page can be painted alone.
class LabelPages : public PagedDocument
{
public:
    // rollLayout: a roll's page (LabelSetup), the label in its printable area.
    LabelPages(const QStringList &texts, const LabelSheet &sheet, double points, const QPageLayout &rollLayout);

    QPageLayout pageLayout() const override;
    int pageCount() const override;
    void paintPage(QPainter &painter, QPaintDevice *device, int page) const override;

private:
    QRectF textRectMm(int label) const; // where a label's text goes on its page
    int pageOf(int label) const;

    QStringList m_texts;
    LabelSheet m_sheet;
    double m_points;
    QPageLayout m_rollLayout;
};

} // namespace suite
