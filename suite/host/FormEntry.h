#pragma once

#include "suite/host/RecordLayout.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class QWidget;

namespace suite {

class Controles;

// One file row's values, by layout column; a column the file lacks is none.
using RowValues = QVector<std::optional<QString>>;

// Puts one file row on the screen the way a load puts a record there:
// through the controls' own members (a text box's text, a numeric box's
// valor read as typed, a picker's date, the option buttons, the grid's rows,
// the toolbar's additional fields), keys filled to their pattern as leaving
// the box fills them. Texts go in exactly as the file has them: the boxes'
// upper-casing is for keys pressed. What the screen then does with them (its
// lookups, its checks and defaults at Aceptar) is the screen's own.
class FormEntry
{
public:
    FormEntry(QWidget *form, const RecordLayout &layout);

    // What the import itself refuses before a value reaches the screen,
    // which could not hold it as written: a text longer than its box takes
    // (the box would cut it), a date that is no date, a code it does not know.
    struct Refusal
    {
        int column; // in the layout
        QString id;
        QString text;
    };
    std::optional<Refusal> check(const RowValues &values) const;

    // Puts every value the row has; with withKey the key too, when it is not
    // empty (an empty key keeps the one Nuevo gave). A stored asset's key is
    // never put: changing the key box's text outside editing empties the screen.
    void put(const RowValues &values, bool withKey);

    // Nuevo copies the automatic key it gives into the serial number; when
    // the file names another key, a field the file leaves out that still
    // holds the given key is emptied, so the accept's default (the asset's
    // own key) applies to it, as for a field the file leaves empty.
    void dropGivenKey(const QString &given, const RowValues &values);

    // What the record's fields hold now, to tell whether a row changes a
    // stored asset.
    QStringList snapshot() const;

    // The layout column whose field is w or holds it; -1 when none.
    int columnOf(const QWidget *w) const;

    // A date as the file may write it: YYYY-MM-DD or DD/MM/YYYY.
    static QDate readDate(const QString &text);

private:
    QWidget *control(const QString &name) const;
    QString responsibleCode() const;
    QString responsibleCode(const RowValues &values) const;
    void putDistribution(const QString &text);

    QWidget *m_form;
    const RecordLayout &m_layout;
    Controles *m_toolbar;
    QHash<QString, QWidget *> m_controls; // by design name, found once

};

} // namespace suite
