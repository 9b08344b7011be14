#include "suite/kit/DpFecha.h"

#include "suite/kit/KitEnabled.h"

#include <QCalendarWidget>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace suite {

dpFecha::dpFecha(QWidget *parent)
    : QDateEdit(QDate::currentDate(), parent)
{
    setProperty("tag", QString());
    setDisplayFormat(u"dd/MM/yyyy"_s);
    setCalendarPopup(true);
    // The suite's dates go back to the last century (purchase dates).
    setMinimumDate(QDate(1753, 1, 1));
    calendarWidget()->setFirstDayOfWeek(Qt::Monday);
}

dpFecha::~dpFecha() = default;

void dpFecha::setKitDate(const QDate &date)
{
    setDate(date.isValid() ? date : QDate::currentDate());
}

bool dpFecha::isOwnEnabled() const
{
    return ownEnabled(this);
}

void dpFecha::limpia()
{
    setDate(QDate::currentDate());
}

void dpFecha::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_tabonenter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // The date editor's own Tab handling walks its day, month and year;
        // Enter leaves the picker for the next control.
        QWidget::focusNextPrevChild(true);
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

} // namespace suite
