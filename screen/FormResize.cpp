#include "screen/FormResize.h"

#include "suite/kit/FormControls.h"
#include "suite/kit/Twips.h"

#include <QRectF>
#include <QWidget>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// Sizes as the form reads them back: the twips the control last accepted.
float left(const QWidget *w) { return float(suite::twipsGeometry(w).left()); }
float top(const QWidget *w) { return float(suite::twipsGeometry(w).top()); }
float width(const QWidget *w) { return float(suite::twipsGeometry(w).width()); }
float height(const QWidget *w) { return float(suite::twipsGeometry(w).height()); }

// One assignment; its failure is ignored so the next one runs.
template<class Step>
void attempt(Step step)
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

} // namespace

void FormResize::apply(const suite::FormControls &controls, float scaleWidth, float scaleHeight)
{
    QWidget *strip = controls.widget(u"ssTabKit"_s);
    if (!strip)
        return;

    attempt([&] { suite::setTwipsWidth(strip, scaleWidth - 2.0f * left(strip)); });
    attempt([&] { suite::setTwipsHeight(strip, scaleHeight - top(strip) - StripBottomMargin); });

    for (int tab = 0; tab < 4; ++tab) {
        QWidget *frame = controls.widget(u"Fr%1"_s.arg(tab));
        QWidget *bar = controls.widget(u"Sh%1"_s.arg(tab));
        if (frame) {
            attempt([&] { suite::setTwipsWidth(frame, width(strip)); });
            attempt([&] { suite::setTwipsHeight(frame, height(strip) - top(frame)); });
        }
        if (bar)
            attempt([&] { suite::setTwipsWidth(bar, width(strip)); });
    }

    QWidget *fr1 = controls.widget(u"Fr1"_s);
    QWidget *fr2 = controls.widget(u"Fr2"_s);
    QWidget *accounting = controls.widget(u"lvActivoFijoContable"_s);
    QWidget *tax = controls.widget(u"lvActivoFijoFiscal"_s);
    QWidget *grid = controls.widget(u"ssDetalle"_s);

    if (fr2 && accounting)
        attempt([&] { suite::setTwipsHeight(accounting, height(fr2) - top(accounting) - ListBottomMargin); });
    if (accounting && tax)
        attempt([&] { suite::setTwipsHeight(tax, height(accounting)); });

    if (fr1 && grid) {
        attempt([&] { suite::setTwipsWidth(grid, width(fr1) - 2.0f * left(grid)); });
        attempt([&] { suite::setTwipsHeight(grid, height(fr1) - top(grid) - ListBottomMargin); });
    }
}

} // namespace xb733
