#include "suite/print/PageSetup.h"

#include "suite/data/SuiteError.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSizeF>

using namespace Qt::StringLiterals;

namespace suite {

QPageSize PageSetup::pageSize(const QString &name)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty() || wanted.compare(u"Carta"_s, Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter);

    static const QRegularExpression custom(u"^(\\d+(?:[.,]\\d+)?)\\s*[xX×]\\s*(\\d+(?:[.,]\\d+)?)$"_s);
    const auto match = custom.match(wanted);
    if (match.hasMatch()) {
        const double width = QLocale::c().toDouble(match.captured(1).replace(u',', u'.'));
        const double height = QLocale::c().toDouble(match.captured(2).replace(u',', u'.'));
        if (width > 0 && height > 0)
            return QPageSize(QSizeF(width, height), QPageSize::Millimeter, wanted, QPageSize::ExactMatch);
    }
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto pageId = QPageSize::PageSizeId(id);
        if (pageId == QPageSize::Custom)
            continue;
        if (QPageSize::key(pageId).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPageSize(pageId);
    }
    throw SuiteError(u"El tamaño de página \"%1\" no se conoce; use Letter, A4, Legal o ancho x alto en "
                     "milímetros (por ejemplo 100x50)."_s.arg(wanted));
}

QPageLayout PageSetup::layout(const QPageSize &size, const QMarginsF &marginsMm)
{
    QPageLayout layout(size, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
    const QSizeF page = size.size(QPageSize::Millimeter);
    if (marginsMm.left() < 0 || marginsMm.top() < 0 || marginsMm.right() < 0 || marginsMm.bottom() < 0
        || marginsMm.left() + marginsMm.right() >= page.width()
        || marginsMm.top() + marginsMm.bottom() >= page.height()) {
        throw SuiteError(u"Los márgenes no dejan espacio para imprimir en una página de %1 x %2 mm."_s
                             .arg(page.width(), 0, 'f', 0).arg(page.height(), 0, 'f', 0));
    }
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(marginsMm);
    return layout;
}

} // namespace suite
