#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace suite {

class JsonText;

// What a user would see of a form, as the scripted host's "dump" event: the
// form's size, the selected tab, the focus, the toolbar's state and, for
// each control, its flags, twips geometry and the values of its kind.
class StateDump
{
public:
    explicit StateDump(QWidget *form);

    // The form's controls: every named widget that carries a group ("tag").
    QList<QWidget *> controls() const;
    // By design name (the form itself answers to its own name); null when none.
    QWidget *control(const QString &name) const;

    // The whole event; names restricts the controls (empty: all). Throws
    // SuiteError naming the first unknown control.
    JsonText dump(const QStringList &names) const;

    JsonText controlState(QWidget *control) const;
    JsonText toolbarState() const;

private:
    QWidget *m_form;
};

} // namespace suite
