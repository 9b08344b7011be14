#pragma once

#include <QDate>
#include <QDateEdit>

namespace suite {

// The suite's date picker: shows dd/MM/yyyy and has a calendar popup. It may
// hold no date at all: it then shows blank, its `date` is an invalid QDate
// (a database NULL), and its calendar opens on today's month. Delete or
// Backspace empties it, as does writing an invalid date or limpia(); typing a
// digit into an empty picker starts from today's date.
class dpFecha : public QDateEdit
{
    Q_OBJECT
    Q_PROPERTY(QDate date READ kitDate WRITE setKitDate USER true)
    Q_PROPERTY(bool enabled READ isOwnEnabled WRITE setEnabled)
    Q_PROPERTY(bool tabonenter READ tabonenter WRITE setTabonenter)

public:
    explicit dpFecha(QWidget *parent = nullptr);
    ~dpFecha() override;

    // The date, invalid when the picker is empty. (QDateEdit::date() reads
    // the picker's internal stand-in for "no date".)
    QDate kitDate() const;
    // An invalid date empties the picker; dates before the first the picker
    // keeps are taken as that one.
    void setKitDate(const QDate &date);
    bool isEmpty() const;
    bool isOwnEnabled() const;
    bool tabonenter() const { return m_tabonenter; }
    void setTabonenter(bool on) { m_tabonenter = on; }

    Q_INVOKABLE void limpia();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void openOnToday();

    bool m_tabonenter = false;
};

} // namespace suite
