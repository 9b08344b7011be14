#include "suite/kit/AjusteLista.h"

#include "suite/kit/ListView.h"

#include <QFontMetrics>
#include <QHeaderView>

namespace suite {

void AjusteLista::Ajusta(ListView *list)
{
    if (!list)
        return;
    const QFontMetrics items(list->font());
    const QFontMetrics headers(list->header()->font());
    const int margin = 2 * items.horizontalAdvance(QLatin1Char('M'));
    for (int c = 0; c < list->columnHeaderCount(); ++c) {
        int widest = headers.horizontalAdvance(list->columnHeaderText(c));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            widest = qMax(widest, items.horizontalAdvance(list->topLevelItem(i)->text(c)));
        list->setColumnWidth(c, widest + margin);
    }
}

} // namespace suite
