#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace suite {

// The rows a statement returned, read forward with a cursor. Rows are copied
// out of the driver when the statement runs, so a recordset stays valid while
// other statements run on the same connection.
//
// A database NULL is a null QVariant of a valid type (QVariant::isNull() true,
// isValid() true); an unknown column or a read past the end throws SuiteError.
class Recordset
{
public:
    Recordset() = default;
    Recordset(QStringList columns, QVector<QVector<QVariant>> rows);

    bool Eof() const;                          // ADO's EOF (EOF is a C macro)
    QVariant Fields(const QString &name) const; // by name, case-insensitive
    bool hasField(const QString &name) const;
    int fieldCount() const;
    QString fieldName(int index) const;
    QVariant fieldValue(int index) const;
    void MoveNext();
    void MoveFirst();
    void Close();
    int rowCount() const;
    const QStringList &columns() const { return m_columns; }
    const QVector<QVector<QVariant>> &rows() const { return m_rows; }

private:
    int indexOf(const QString &name) const;

    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
    int m_position = 0;
    bool m_closed = false;
};

using RecordsetPtr = std::shared_ptr<Recordset>;

} // namespace suite
