#include "suite/print/LabelSetup.h"

#include "suite/print/PageSetup.h"

#include <QPageSize>
#include <QSizeF>
#include <QtMath>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace suite {

LabelSetup::LabelSetup(double leftMm, double topMm, double widthMm, double heightMm, double points, double copies)
    : m_left(leftMm)
    , m_top(topMm)
    , m_width(widthMm > 0 ? widthMm : DefaultWidthMm)
    , m_height(heightMm > 0 ? heightMm : DefaultHeightMm)
    , m_points(points > 0 ? points : DefaultPoints)
    , m_copies(copies >= 1 ? qRound(copies) : 1)
{
}

QPageLayout LabelSetup::pageLayout() const
{
    const QPageSize size(QSizeF(m_width, m_height), QPageSize::Millimeter, u"Etiqueta"_s, QPageSize::ExactMatch);
    // The offset moves the printed area; the far edges keep their border.
    const QMarginsF margins(std::max(0.0, EdgeMm + m_left), std::max(0.0, EdgeMm + m_top), EdgeMm, EdgeMm);
    return PageSetup::layout(size, margins);
}

} // namespace suite
