#include "suite/kit/ColorKit.h"

#include "suite/kit/Controles.h"
#include "suite/kit/DataGrid.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/Etiqueta.h"
#include "suite/kit/ListView.h"
#include "suite/kit/OptionButton.h"
#include "suite/kit/SsTbKit.h"
#include "suite/kit/TxtKit.h"

#include <QFont>
#include <QPalette>

namespace suite {

namespace {

void setPointSize(QWidget *widget, double points)
{
    QFont font = widget->font();
    font.setPointSizeF(points);
    widget->setFont(font);
}

} // namespace

colorKIT::colorKIT(QWidget *parent)
    : QWidget(parent)
{
    setProperty("tag", QString());
    setAttribute(Qt::WA_DontShowOnScreen);
    hide();
}

colorKIT::~colorKIT() = default;

void colorKIT::aplicacolores()
{
    QWidget *form = window();
    if (!form || form == this)
        return;
    QPalette palette = form->palette();
    palette.setColor(QPalette::Window, QColor(m_form & 0xFF, (m_form >> 8) & 0xFF, (m_form >> 16) & 0xFF));
    // A record is shown with its fields disabled: their values must stay
    // readable (the style's pale grey gives 1.6:1), while the grey fill and a
    // grey rather than black text still say they cannot be typed in.
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, DisabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, DisabledBase);
    form->setPalette(palette);
    form->setAutoFillBackground(true);
    const QList<QWidget *> all = form->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (qobject_cast<Etiqueta *>(w) || qobject_cast<OptionButton *>(w) || qobject_cast<ssTbKit *>(w)
            || qobject_cast<Controles *>(w)) {
            setPointSize(w, m_labelfontsize);
        } else if (qobject_cast<txtKIT *>(w) || qobject_cast<dpFecha *>(w) || qobject_cast<ListView *>(w)) {
            setPointSize(w, m_textfontsize);
        } else if (auto *grid = qobject_cast<DataGrid *>(w)) {
            setPointSize(grid, m_textfontsize);
            grid->setRowColors(m_even, m_odd);
        }
    }
}

} // namespace suite
