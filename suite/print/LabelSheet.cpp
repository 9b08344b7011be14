#include "suite/print/LabelSheet.h"

#include "suite/data/SuiteError.h"
#include "suite/print/PageSetup.h"

#include <QPageSize>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Smaller than this, no label holds a line of text.
constexpr double SmallestLabelMm = 5;

QString mm(double value)
{
    return QString::number(value, 'f', value == qRound(value) ? 0 : 1);
}

} // namespace

void LabelSheet::check() const
{
    if (isRoll())
        return;
    const QSizeF paper = PageSetup::pageSize(page).size(QPageSize::Millimeter);
    if (rows <= 0 || columns <= 0) {
        throw SuiteError(u"La hoja de etiquetas %1 necesita al menos una fila y una columna (tiene %2 × %3)."_s
                             .arg(page).arg(columns).arg(rows));
    }
    if (topMm < 0 || bottomMm < 0 || leftMm < 0 || rightMm < 0 || columnGapMm < 0 || rowGapMm < 0)
        throw SuiteError(u"Los márgenes y separaciones de la hoja de etiquetas no pueden ser negativos."_s);
    const QRectF first = labelRect(0);
    if (first.width() < SmallestLabelMm || first.height() < SmallestLabelMm) {
        throw SuiteError(u"En una hoja %1 de %2 x %3 mm, %4 × %5 etiquetas con esos márgenes y separaciones "
                         "no caben: cada una mediría %6 x %7 mm."_s.arg(page, mm(paper.width()), mm(paper.height()))
                             .arg(columns).arg(rows).arg(mm(first.width()), mm(first.height())));
    }
    if (start < 1 || start > perPage()) {
        throw SuiteError(u"La posición inicial %1 no está en la hoja de etiquetas, que tiene %2 posiciones."_s
                             .arg(start).arg(perPage()));
    }
}

QPageLayout LabelSheet::pageLayout() const
{
    return PageSetup::layout(PageSetup::pageSize(page), QMarginsF());
}

QRectF LabelSheet::labelRect(int position) const
{
    const QSizeF paper = PageSetup::pageSize(page).size(QPageSize::Millimeter);
    const double width = (paper.width() - leftMm - rightMm - (columns - 1) * columnGapMm) / columns;
    const double height = (paper.height() - topMm - bottomMm - (rows - 1) * rowGapMm) / rows;
    const int row = position / columns;
    const int column = position % columns;
    return {leftMm + column * (width + columnGapMm), topMm + row * (height + rowGapMm), width, height};
}

QString LabelSheet::description() const
{
    if (isRoll())
        return u"rollo"_s;
    return u"%1, %2 columnas × %3 filas"_s.arg(page).arg(columns).arg(rows);
}

} // namespace suite
