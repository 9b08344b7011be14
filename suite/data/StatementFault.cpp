#include "suite/data/StatementFault.h"

#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace suite {

void StatementFault::arm(Kind kind, int statement, const QString &text)
{
    if (statement < 1)
        throw SuiteError(u"La falla simulada necesita un número de sentencia de 1 en adelante, no %1"_s.arg(statement));
    m_kind = kind;
    m_target = statement;
    m_counted = 0;
    m_text = text;
    m_struckNumber = 0;
    m_struckStatement.clear();
}

void StatementFault::disarm()
{
    m_target = 0;
}

bool StatementFault::strikes(const QString &statement)
{
    if (m_target == 0 || ++m_counted < m_target)
        return false;
    m_target = 0;
    m_struckNumber = m_counted;
    m_struckStatement = statement;
    return true;
}

QString StatementFault::text() const
{
    if (!m_text.isEmpty())
        return m_text;
    const QString statement = m_struckStatement.simplified();
    if (m_kind == Kind::LoseLink)
        return u"Se perdió la conexión con la base de datos (falla simulada en la sentencia %1: %2)"_s
            .arg(m_struckNumber)
            .arg(statement);
    return u"Falla simulada en la sentencia %1: %2"_s.arg(m_struckNumber).arg(statement);
}

} // namespace suite
