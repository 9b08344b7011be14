#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class QWidget;

namespace suite {
class Utilerias;
}

namespace xb733 {

// The form's key preview: every key release meant for the form or any of its
// controls reaches the form's handler before the control sees it (the control
// still gets it). Also the keyboard rules of the form: Alt and a main-keyboard
// digit pick a tab, Enter acts as Tab where a control has no Enter of its own.
class FormKeyboard : public QObject
{
    Q_OBJECT

public:
    using KeyHandler = std::function<void(int keyCode, int shift)>;

    FormKeyboard(QWidget *form, KeyHandler keyUp);
    ~FormKeyboard() override;

    // The tab that keyCode with shift selects (Alt alone + 1..4), or -1.
    static int tabForKey(int keyCode, int shift);

    // Enter (13) moves the focus on as Tab does; other keys keep their meaning.
    static void enterAsTab(suite::Utilerias &utilerias, int keyCode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_form;
    KeyHandler m_keyUp;
    // The release handled last, to know it again while it travels up the
    // parents of its first receiver; cleared by the next press.
    struct Release
    {
        quint64 timestamp = 0;
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        bool operator==(const Release &o) const
        {
            return timestamp == o.timestamp && key == o.key && modifiers == o.modifiers;
        }
    };
    std::optional<Release> m_handled;
};

} // namespace xb733
