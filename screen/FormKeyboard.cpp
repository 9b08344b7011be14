#include "screen/FormKeyboard.h"

#include "suite/kit/KeyCodes.h"
#include "suite/services/Utilerias.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {
constexpr int ShiftAlt = 4;
constexpr int KeyDigit1 = 49;
constexpr int KeyDigit4 = 52;
constexpr int KeyEnter = 13;
} // namespace

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

    // A new key starts with its press: what follows is a new release, even if
    // it happens to live at the address of the last one.
    if (type == QEvent::KeyPress) {
        m_lastEvent = nullptr;
        return false;
    }

    // A release nobody accepted travels up the parents of its receiver; the
    // form has seen it already at the first of them.
    const bool travelling = event == m_lastEvent && m_lastReceiver && widget->isAncestorOf(m_lastReceiver)
        && widget != QApplication::focusWidget();
    m_lastEvent = event;
    m_lastReceiver = widget;
    if (travelling)
        return false;

    auto *key = static_cast<QKeyEvent *>(event);
    if (key->isAutoRepeat())
        return false;
    m_keyUp(suite::virtualKeyCode(key), suite::shiftState(key));
    return false;
}

} // namespace xb733
