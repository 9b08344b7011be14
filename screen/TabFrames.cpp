#include "screen/TabFrames.h"

#include "suite/kit/FormControls.h"
#include "suite/kit/SsTbKit.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {
QString frameName(int tab) { return u"Fr%1"_s.arg(tab); }
} // namespace

void TabFrames::follow(const suite::FormControls &controls)
{
    for (int tab = 0; tab < TabCount; ++tab)
        controls.require(frameName(tab))->setEnabled(false);

    const int shown = controls.require<suite::ssTbKit>(u"ssTabKit"_s)->tab();
    if (shown >= 0 && shown < TabCount)
        controls.require(frameName(shown))->setEnabled(true);
}

void TabFrames::focusFirst(const suite::FormControls &controls, int tab)
{
    QWidget *strip = controls.require(u"ssTabKit"_s);
    QWidget *first = nullptr;
    int firstIndex = 0;
    if (tab >= 0 && tab < TabCount) {
        // The form's own controls carry their tab index; the parts inside a
        // control (a picker's editor, a grid's cells) carry none.
        const auto inside = controls.require(frameName(tab))->findChildren<QWidget *>();
        for (QWidget *w : inside) {
            const int index = w->property("tabindex").toInt();
            const bool canTake = (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(strip);
            if (canTake && w->property("tabindex").isValid() && index >= 0 && (!first || index < firstIndex)) {
                first = w;
                firstIndex = index;
            }
        }
    }
    (first ? first : strip)->setFocus(Qt::TabFocusReason);
}

} // namespace xb733
