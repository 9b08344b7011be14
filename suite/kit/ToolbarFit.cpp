#include "suite/kit/ToolbarFit.h"

#include <QLayout>
#include <QToolButton>

namespace suite {

void fitToolButtons(QWidget &toolbar, const QList<QToolButton *> &buttons, const QWidget &caption)
{
    const QLayout *layout = toolbar.layout();
    const QMargins margins = layout->contentsMargins();
    const int room = toolbar.height() - margins.top() - margins.bottom();
    for (const Qt::ToolButtonStyle style : {Qt::ToolButtonTextUnderIcon, Qt::ToolButtonIconOnly}) {
        int width = margins.left() + margins.right() + caption.minimumWidth();
        for (QToolButton *b : buttons) {
            b->setToolButtonStyle(style);
            int side = ToolIconSide;
            b->setIconSize(QSize(side, side));
            while (b->sizeHint().height() > room && side > LeastToolIconSide) {
                side -= 2;
                b->setIconSize(QSize(side, side));
            }
            // A command's text is never cut: the title gives way, then the captions go whole.
            b->setMinimumWidth(style == Qt::ToolButtonTextUnderIcon ? qMax(52, b->sizeHint().width())
                                                                    : b->sizeHint().width());
            if (!b->isHidden())
                width += b->minimumWidth() + layout->spacing();
        }
        if (width <= toolbar.width())
            return;
    }
}

} // namespace suite
