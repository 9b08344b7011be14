#include "suite/kit/OptionButton.h"

#include "suite/kit/KeyCodes.h"
#include "suite/kit/KitEnabled.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace suite {

OptionButton::OptionButton(QWidget *parent)
    : QRadioButton(parent)
{
    setProperty("tag", QString());
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT Click();
    });
}

OptionButton::~OptionButton() = default;

void OptionButton::setValue(bool on)
{
    if (on) {
        setChecked(true);
        return;
    }
    if (!isChecked())
        return;
    // An exclusive button refuses to be unchecked; the forms need it.
    const bool exclusive = autoExclusive();
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(exclusive);
}

bool OptionButton::isOwnEnabled() const
{
    return ownEnabled(this);
}

void OptionButton::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT KeyDown(virtualKeyCode(event));
    QRadioButton::keyPressEvent(event);
}

void OptionButton::paintEvent(QPaintEvent *event)
{
    QRadioButton::paintEvent(event);
    // The style marks the focus only after a Tab; Alt+digit, Enter and a
    // click bring it here too, and the user must see where keys go.
    if (!hasFocus())
        return;
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect mark = style()->subElementRect(QStyle::SE_RadioButtonFocusRect, &option, this);
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
    painter.drawRect(mark.adjusted(-1, -1, 0, 0) & rect().adjusted(0, 0, -1, -1));
}

} // namespace suite
