#include "suite/print/FormatStore.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString textOf(const Recordset &row, const QString &field)
{
    return row.hasField(field) ? row.Fields(field).toString() : QString();
}

} // namespace

FormatStore::FormatStore(Connection &connection)
    : m_connection(connection)
{
}

PrintFormat FormatStore::read(const QString &key) const
{
    if (key.trimmed().isEmpty())
        throw SuiteError(u"No se indicó el formato de impresión."_s);
    const auto row = m_connection.Execute(u"SELECT * FROM Formato_Impresion WHERE Fi_Cve_Formato = '"_s
                                          + sqlEscape(key) + u"'"_s);
    if (row->Eof())
        throw SuiteError(u"No existe el formato de impresión \"%1\"."_s.arg(key));

    PrintFormat format;
    format.key = key;
    format.title = textOf(*row, u"Fi_Titulo"_s);
    format.templateText = textOf(*row, u"Fi_Plantilla"_s);
    format.statement = textOf(*row, u"Fi_Sentencia"_s);
    format.pageName = textOf(*row, u"Fi_Pagina"_s).trimmed();
    if (row->hasField(u"Fi_Margen_Mm"_s) && !row->Fields(u"Fi_Margen_Mm"_s).isNull())
        format.marginMm = row->Fields(u"Fi_Margen_Mm"_s).toDouble();
    return format;
}

RecordsetPtr FormatStore::data(const PrintFormat &format, const QString &parameter) const
{
    if (format.statement.trimmed().isEmpty())
        return std::make_shared<Recordset>();
    QString statement = format.statement;
    statement.replace(u"{PARAMETROS}"_s, sqlEscape(parameter));
    RecordsetPtr rows;
    try {
        rows = m_connection.Execute(statement);
    } catch (const SuiteError &error) {
        throw SuiteError(u"No se pudieron leer los datos del formato de impresión \"%1\": %2"_s
                             .arg(format.key, error.description()));
    }
    if (rows->Eof()) {
        throw SuiteError(u"El formato de impresión \"%1\" no encontró datos para \"%2\"."_s
                             .arg(format.key, parameter));
    }
    return rows;
}

} // namespace suite
