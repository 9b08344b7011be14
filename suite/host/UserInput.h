#pragma once

#include <QKeyCombination>
#include <QPoint>
#include <QString>

class QWidget;

namespace suite {

// Keys and clicks delivered the way the window system delivers them: clicks
// through the window (so the widget under the pointer gets them and focus
// follows), keys to the widget that has the focus, shortcuts first.
class UserInput
{
public:
    // A left click at pos (widget coordinates); the middle of the clickable
    // part of the widget when pos is null.
    static void click(QWidget *widget, QPoint pos = {});

    // Each character as one key press and release carrying its text (accented
    // letters and ñ included), to the focus widget of the moment, or to
    // fallback when nothing has the focus.
    static void type(QWidget *fallback, const QString &text);

    // "Return", "Alt+1", "Shift+Alt+1", "Ctrl+Del": false unless the text is
    // exactly one key combination.
    static bool parseKeys(const QString &text, QKeyCombination &combination);
    static void sendKey(QWidget *target, QKeyCombination combination);

    // The widget that takes keys typed at control: the control, or its inner
    // widget that has the focus (a date box's line edit, a grid's editor).
    static QWidget *keyTarget(QWidget *control);
};

} // namespace suite
