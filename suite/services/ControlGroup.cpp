#include "suite/services/ControlGroup.h"

#include "suite/data/SuiteError.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace suite {

ControlGroup::ControlGroup(QWidget *form, int group)
{
    if (!form)
        throw SuiteError(u"No se indicó la forma de los controles del grupo %1."_s.arg(group));
    const QString tag = QString::number(group);
    const auto descendants = form->findChildren<QWidget *>();
    for (QWidget *control : descendants) {
        if (control->property("tag").toString().trimmed() == tag)
            m_members.append(control);
    }
}

void ControlGroup::clear()
{
    for (QWidget *control : std::as_const(m_members)) {
        empty(control);
        control->setProperty("enabled", false);
    }
}

void ControlGroup::enable()
{
    for (QWidget *control : std::as_const(m_members))
        control->setProperty("enabled", true);
}

void ControlGroup::empty(QWidget *control)
{
    if (control->metaObject()->indexOfMethod("limpia()") >= 0) {
        QMetaObject::invokeMethod(control, "limpia", Qt::DirectConnection);
        return;
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        if (!button->isCheckable())
            return;
        // An exclusive option button refuses to be unchecked while it is the
        // checked one of its group; lift that for the moment of the change.
        const bool exclusive = button->autoExclusive();
        QButtonGroup *buttons = button->group();
        const bool groupExclusive = buttons && buttons->exclusive();
        button->setAutoExclusive(false);
        if (groupExclusive)
            buttons->setExclusive(false);
        button->setChecked(false);
        if (groupExclusive)
            buttons->setExclusive(true);
        button->setAutoExclusive(exclusive);
        return;
    }
    if (auto *line = qobject_cast<QLineEdit *>(control)) {
        line->clear();
    } else if (auto *text = qobject_cast<QTextEdit *>(control)) {
        text->clear();
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(control)) {
        plain->clear();
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable())
            combo->clearEditText();
        combo->setCurrentIndex(-1);
    }
}

} // namespace suite
