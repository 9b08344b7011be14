#include "suite/kit/OptionButton.h"

#include "suite/kit/KeyCodes.h"
#include "suite/kit/KitEnabled.h"

#include <QKeyEvent>

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

} // namespace suite
