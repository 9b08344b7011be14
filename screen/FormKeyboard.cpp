#include "screen/FormKeyboard.h"

#include "assets/ScreenCodes.h"
#include "suite/kit/KeyCodes.h"
#include "suite/services/Utilerias.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

FormKeyboard::FormKeyboard(QWidget *form, KeyHandler keyUp)
    : m_form(form)
    , m_keyUp(std::move(keyUp))
{
    // Controls come and go inside the form (popups, editors of the grid), so
    // the preview watches the application and keeps what belongs to the form.
    qApp->installEventFilter(this);
}

FormKeyboard::~FormKeyboard()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

int FormKeyboard::tabForKey(int keyCode, int shift)
{
    if (shift != ShiftAlt || keyCode < KeyDigit1 || keyCode > KeyDigit4)
        return -1;
    return keyCode - KeyDigit1;
}

void FormKeyboard::enterAsTab(suite::Utilerias &utilerias, int keyCode)
{
    if (keyCode == KeyEnter)
        utilerias.EnviaTecla(u"\t"_s, 0, QVariant());
}

bool FormKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyRelease && type != QEvent::KeyPress) || !m_form || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget != m_form && !m_form->isAncestorOf(widget))
        return false;

    // A new key starts with its press: the release after it is a new one,
    // even if it looks like the last (test tools stamp every key with 0).
    if (type == QEvent::KeyPress) {
        m_handled.reset();
        return false;
    }

    // A release nobody accepted travels up the parents of its receiver; the
    // form has handled it already at the first of them.
    auto *key = static_cast<QKeyEvent *>(event);
    const Release release{key->timestamp(), key->key(), key->modifiers()};
    if (m_handled == release)
        return false;
    m_handled = release;

    if (key->isAutoRepeat())
        return false;
    m_keyUp(suite::virtualKeyCode(key), suite::shiftState(key));
    return false;
}

} // namespace xb733
