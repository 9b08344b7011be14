#include "screen/TabFrames.h"

#include "screen/FormControls.h"
#include "suite/kit/SsTbKit.h"

#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {
QString frameName(int tab) { return u"Fr%1"_s.arg(tab); }
} // namespace

void TabFrames::follow(const FormControls &controls)
{
    for (int tab = 0; tab < TabCount; ++tab)
        controls.require(frameName(tab))->setEnabled(false);

    const int shown = controls.require<suite::ssTbKit>(u"ssTabKit"_s)->tab();
    if (shown >= 0 && shown < TabCount)
        controls.require(frameName(shown))->setEnabled(true);
}

} // namespace xb733
