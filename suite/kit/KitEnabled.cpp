#include "suite/kit/KitEnabled.h"

#include <QWidget>

namespace suite {

bool ownEnabled(const QWidget *widget)
{
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

bool effectiveEnabled(const QWidget *widget)
{
    return widget->isEnabled() && widget->isVisibleTo(widget->window());
}

} // namespace suite
