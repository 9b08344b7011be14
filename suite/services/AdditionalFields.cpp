#include "suite/services/AdditionalFields.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"

using namespace Qt::StringLiterals;

namespace suite {

AdditionalFields::AdditionalFields(Connection &connection)
    : m_connection(connection)
{
}

AdditionalFields::Definitions AdditionalFields::definitions(const QString &table) const
{
    Definitions out;
    const RecordsetPtr rows = m_connection.Execute(u"SELECT Ca_Campo, Ca_Titulo FROM Campo_Adicional WHERE Ca_Tabla = '"_s
                                                   + sqlEscape(table) + u"' ORDER BY Ca_Orden, Ca_Campo"_s);
    for (; !rows->Eof(); rows->MoveNext()) {
        const QVariant title = rows->Fields(u"Ca_Titulo"_s);
        out.append({rows->Fields(u"Ca_Campo"_s).toString(), title.isNull() ? QString() : title.toString()});
    }
    return out;
}

AdditionalFields::Values AdditionalFields::values(const QString &table, const QString &key) const
{
    Values out;
    const RecordsetPtr rows = m_connection.Execute(u"SELECT Ca_Campo, Ca_Valor FROM Campo_Adicional_Valor WHERE Ca_Tabla = '"_s
                                                   + sqlEscape(table) + u"' AND Ca_Clave = '"_s + sqlEscape(key)
                                                   + u"'"_s);
    for (; !rows->Eof(); rows->MoveNext())
        out.insert(rows->Fields(u"Ca_Campo"_s).toString(), rows->Fields(u"Ca_Valor"_s));
    return out;
}

void AdditionalFields::store(const QString &table, const QString &key, const Values &values) const
{
    const QString where = u"Ca_Tabla = '"_s + sqlEscape(table) + u"' AND Ca_Clave = '"_s + sqlEscape(key) + u"'"_s;
    m_connection.Execute(u"DELETE FROM Campo_Adicional_Valor WHERE "_s + where);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QString value = it.value().isNull() ? u"NULL"_s : u"'"_s + sqlEscape(it.value().toString()) + u"'"_s;
        m_connection.Execute(u"INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Clave, Ca_Campo, Ca_Valor) VALUES ('"_s
                             + sqlEscape(table) + u"', '"_s + sqlEscape(key) + u"', '"_s + sqlEscape(it.key())
                             + u"', "_s + value + u")"_s);
    }
}

} // namespace suite
