#include "suite/data/Recordset.h"

#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace suite {

Recordset::Recordset(QStringList columns, QVector<QVector<QVariant>> rows)
    : m_columns(std::move(columns))
    , m_rows(std::move(rows))
{
}

bool Recordset::Eof() const
{
    return m_closed || m_position >= m_rows.size();
}

int Recordset::indexOf(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::Fields(const QString &name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw SuiteError(u"No se encontró el campo '%1' en el conjunto de registros"_s.arg(name));
    return fieldValue(index);
}

bool Recordset::hasField(const QString &name) const
{
    return indexOf(name) >= 0;
}

int Recordset::fieldCount() const
{
    return m_columns.size();
}

QString Recordset::fieldName(int index) const
{
    if (index < 0 || index >= m_columns.size())
        throw SuiteError(u"El índice de campo %1 está fuera del intervalo"_s.arg(index));
    return m_columns.at(index);
}

QVariant Recordset::fieldValue(int index) const
{
    if (index < 0 || index >= m_columns.size())
        throw SuiteError(u"El índice de campo %1 está fuera del intervalo"_s.arg(index));
    if (m_closed)
        throw SuiteError(u"La operación no se permite si el objeto está cerrado"_s);
    if (Eof())
        throw SuiteError(u"BOF o EOF es True, o el registro actual se eliminó"_s);
    return m_rows.at(m_position).at(index);
}

void Recordset::MoveNext()
{
    if (m_closed)
        throw SuiteError(u"La operación no se permite si el objeto está cerrado"_s);
    if (Eof())
        throw SuiteError(u"BOF o EOF es True, o el registro actual se eliminó"_s);
    ++m_position;
}

void Recordset::MoveFirst()
{
    if (m_closed)
        throw SuiteError(u"La operación no se permite si el objeto está cerrado"_s);
    m_position = 0;
}

void Recordset::Close()
{
    m_closed = true;
}

int Recordset::rowCount() const
{
    return m_rows.size();
}

} // namespace suite
