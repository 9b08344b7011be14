#include "suite/host/UserInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Where a click on a check or option button lands: the middle of its box and
// caption, since a wide button does not react to a click beyond its caption.
QPoint clickPoint(QWidget *widget)
{
    const bool radio = qobject_cast<QRadioButton *>(widget);
    if (radio || qobject_cast<QCheckBox *>(widget)) {
        auto *button = static_cast<QAbstractButton *>(widget);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.iconSize = button->iconSize();
        const QRect area = button->style()->subElementRect(
            radio ? QStyle::SE_RadioButtonClickRect : QStyle::SE_CheckBoxClickRect, &option, button);
        if (area.isValid())
            return area.center();
    }
    return widget->rect().center();
}

// The text a keyboard gives with a key: the character for printable keys
// (none while Ctrl is held), and the control characters of the editing keys.
QString keyText(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return u"\r"_s;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return u"\t"_s;
    case Qt::Key_Backspace:
        return u"\b"_s;
    case Qt::Key_Escape:
        return u"\x1b"_s;
    default:
        break;
    }
    if (modifiers & Qt::ControlModifier)
        return {};
    const int code = int(key);
    if (code >= 0x20 && code < 0x01000000) {
        QString text = QString(QChar(char16_t(code)));
        return (modifiers & Qt::ShiftModifier) ? text : text.toLower();
    }
    return {};
}

QWidget *focusOr(QWidget *fallback)
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : fallback;
}

} // namespace

void UserInput::click(QWidget *widget, QPoint pos)
{
    if (pos.isNull())
        pos = clickPoint(widget);
    QWidget *top = widget->window();
    QWindow *window = top->windowHandle();
    if (!window) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
        return;
    }
    QTest::mouseClick(window, Qt::LeftButton, {}, widget->mapTo(top, pos));
}

void UserInput::type(QWidget *fallback, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString character(text.at(i));
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            character.append(text.at(++i));
        const QChar c = character.at(0);

        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        if (c == u'\n') {
            key = Qt::Key_Return;
            character = u"\r"_s;
        } else if (c == u'\t') {
            key = Qt::Key_Tab;
        } else if (character.size() > 1) {
            key = Qt::Key_unknown;
        } else {
            // Qt's key codes of printable characters are their upper-case code points.
            key = Qt::Key(c.toUpper().unicode());
            if (c.isUpper() && c.unicode() < 0x80)
                modifiers = Qt::ShiftModifier;
        }
        QTest::sendKeyEvent(QTest::Press, focusOr(fallback), key, character, modifiers);
        QTest::sendKeyEvent(QTest::Release, focusOr(fallback), key, character, modifiers);
    }
}

bool UserInput::parseKeys(const QString &text, QKeyCombination &combination)
{
    const QKeySequence sequence = QKeySequence::fromString(text.trimmed(), QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown || sequence[0].key() == 0)
        return false;
    combination = sequence[0];
    // The keyboard reports Shift+Tab as Backtab.
    if (combination.key() == Qt::Key_Tab && (combination.keyboardModifiers() & Qt::ShiftModifier))
        combination = QKeyCombination(combination.keyboardModifiers(), Qt::Key_Backtab);
    return true;
}

void UserInput::sendKey(QWidget *target, QKeyCombination combination)
{
    const Qt::Key key = combination.key();
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const QString text = keyText(key, modifiers);
    QTest::sendKeyEvent(QTest::Press, target, key, text, modifiers);
    // The release goes wherever the press moved the focus, as on a keyboard.
    QWidget *after = QApplication::focusWidget();
    QTest::sendKeyEvent(QTest::Release, after ? after : target, key, text, modifiers);
}

QWidget *UserInput::keyTarget(QWidget *control)
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == control || control->isAncestorOf(focus)))
        return focus;
    return control;
}

} // namespace suite

