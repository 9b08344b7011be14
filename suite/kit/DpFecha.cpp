#include "suite/kit/DpFecha.h"

#include "suite/kit/KitEnabled.h"

#include <QCalendarWidget>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// The earliest date the editor knows stands for "no date" and shows blank
// (its special value); real dates start the day after.
const QDate NoDate(100, 1, 1);
const QDate FirstDate(100, 1, 2);

} // namespace

dpFecha::dpFecha(QWidget *parent)
    : QDateEdit(NoDate, parent)
{
    setProperty("tag", QString());
    setDisplayFormat(u"dd/MM/yyyy"_s);
    setCalendarPopup(true);
    setMinimumDate(NoDate);
    setSpecialValueText(u" "_s);
    calendarWidget()->setFirstDayOfWeek(Qt::Monday);
}

dpFecha::~dpFecha() = default;

QDate dpFecha::kitDate() const
{
    return isEmpty() ? QDate() : date();
}

bool dpFecha::isEmpty() const
{
    return date() == NoDate;
}

void dpFecha::setKitDate(const QDate &date)
{
    setDate(!date.isValid() ? NoDate : date < FirstDate ? FirstDate : date);
}

bool dpFecha::isOwnEnabled() const
{
    return ownEnabled(this);
}

void dpFecha::limpia()
{
    setDate(NoDate);
}

void dpFecha::openOnToday()
{
    // The calendar of an empty picker shows this month, without choosing a day.
    if (isEmpty() && calendarWidget()->isVisible())
        calendarWidget()->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
}

void dpFecha::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_tabonenter && mods == Qt::NoModifier) {
        // The date editor's own Tab handling walks its day, month and year;
        // Enter leaves the picker for the next control.
        QWidget::focusNextPrevChild(true);
        event->accept();
        return;
    }
    if (!isReadOnly() && mods == Qt::NoModifier
        && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
        limpia();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!isReadOnly() && isEmpty() && typed.size() == 1 && typed.at(0).isDigit()) {
        setDate(QDate::currentDate());
        setSelectedSection(QDateTimeEdit::DaySection);
    }
    QDateEdit::keyPressEvent(event);
    openOnToday();
}

void dpFecha::mousePressEvent(QMouseEvent *event)
{
    QDateEdit::mousePressEvent(event);
    openOnToday();
}

} // namespace suite
