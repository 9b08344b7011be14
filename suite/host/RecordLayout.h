#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

class QWidget;

namespace suite {

class Connection;

// One column of a catalogue file.
struct TransferColumn
{
    QString column;  // the database's name; an additional field's own name
    QString caption; // the screen's label; an additional field's title
    QString kind;    // as the form describes it (frmXB733 recordColumns), or "additional"
    QString control; // the field's design name
    QVariantMap controls;
    bool required = false;
};

// The columns of a catalogue file, as the screen describes the fields it
// brings in and out (its recordColumns), followed by the additional fields
// defined for its table. A file names a column by its database name or by
// the screen's caption, without regard to case, accents or a final colon.
class RecordLayout
{
public:
    // Throws SuiteError when the form does not describe its columns.
    RecordLayout(QWidget *form, Connection &connection);

    const QVector<TransferColumn> &columns() const { return m_columns; }
    int indexOf(const QString &kind) const; // the first column of that kind, -1 when none

    // For each name of a header, the column it means. False, with what is
    // wrong in words, when a name means no column or a column is named twice,
    // or a required column is missing (only the key when partial).
    bool match(const QStringList &header, bool partial, QVector<int> &meaning, QStringList &problems) const;

    static QString fold(const QString &name);

private:
    QVector<TransferColumn> m_columns;
};

} // namespace suite
