#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

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
    // The last release seen and where, to tell a release travelling up the
    // parents from a new one.
    const QEvent *m_lastEvent = nullptr;
    QPointer<QWidget> m_lastReceiver;
};

} // namespace xb733
