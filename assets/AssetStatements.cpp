#include "assets/AssetStatements.h"

#include "assets/AssetModel.h"
#include "assets/NumberChecks.h"
#include "assets/SqlLiteral.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"


using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

// Column pieces begin with three blanks, as every statement of the suite's screens.
const QString Indent = u"   "_s;

const suite::ColumnDef &declared(const AssetColumn &column)
{
    const suite::ColumnDef *c = suite::Schema::table(QString::fromLatin1(AssetModel::AssetTable))->column(column.name);
    if (!c)
        throw suite::SuiteError(u"La columna %1 no está en el esquema"_s.arg(column.name));
    return *c;
}

// A text longer than its column: PostgreSQL would refuse it in its own words
// and SQLite would keep it whole, so both are told the same here. Lengths
// count characters, as the databases do.
QString fitting(const AssetColumn &column, const QString &text)
{
    const suite::ColumnDef &c = declared(column);
    const qsizetype length = text.toUcs4().size();
    if (c.kind == suite::ColumnKind::Text && c.size > 0 && length > c.size) {
        throw suite::SuiteError(u"El dato para %1 tiene %2 caracteres y caben %3: «%4…»"_s
                                    .arg(column.name).arg(length).arg(c.size).arg(text.left(c.size)));
    }
    return text;
}

// A number its column would not keep as written: PostgreSQL would refuse
// it in its own words and SQLite round it; both are told the same here.
QString inRange(const AssetColumn &column, const QString &numberLiteral)
{
    const QString why = NumberChecks::columnRefusal(declared(column), numberLiteral, false);
    if (!why.isEmpty())
        throw suite::SuiteError(u"El número %1 no cabe en %2: %3"_s.arg(numberLiteral, column.name, why));
    return numberLiteral;
}

bool isNull(const QVariant &value)
{
    return value.isValid() && value.isNull();
}

} // namespace

QString AssetStatements::literal(const AssetColumn &column, const QVariant &value)
{
    switch (column.insert) {
    case ValueForm::Text:
    case ValueForm::Date:
    case ValueForm::Stamp:
    case ValueForm::Operator:
    case ValueForm::Code:
        // An empty picker, or a box that shows a NULL nobody changed, writes NULL.
        return isNull(value) ? u"NULL"_s : SqlLiteral::text(fitting(column, value.toString()));
    case ValueForm::Empty:
        return u"''"_s;
    case ValueForm::Number:
        return isNull(value) ? u"NULL"_s : inRange(column, SqlLiteral::number(value));
    case ValueForm::Integer:
        return SqlLiteral::integer16(value);
    case ValueForm::None:
        break;
    }
    throw suite::SuiteError(u"La columna %1 no se escribe al guardar el activo fijo"_s.arg(column.name));
}

QString AssetStatements::insert(const ValueOf &valueOf)
{
    const auto columns = AssetModel::insertColumns();
    QString names;
    QString values;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const AssetColumn &column = *columns.at(i);
        const bool last = i == columns.size() - 1;
        names += Indent + column.name + (last ? u" "_s : u", "_s);
        values += literal(column, valueOf(column));
        // The life follows the last stamp with no blank between them.
        if (last)
            values += u")"_s;
        else if (i == columns.size() - 2)
            values += u","_s;
        else
            values += u", "_s;
    }
    return u"INSERT INTO Activo_Fijo("_s + names + u") VALUES ("_s + values;
}

QString AssetStatements::update(const ValueOf &valueOf, const QString &keyValor)
{
    const auto columns = AssetModel::updateColumns();
    QString sql = u"UPDATE Activo_Fijo SET "_s;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const AssetColumn &column = *columns.at(i);
        sql += Indent + column.name + u" = "_s + literal(column, valueOf(column))
               + (i == columns.size() - 1 ? u" "_s : u", "_s);
    }
    return sql + u"WHERE Af_Cve_Activo_Fijo = '"_s + SqlLiteral::inner(keyValor) + u"'"_s;
}

QString AssetStatements::deleteDistribution(const QString &keyText)
{
    return u" DELETE "_s + u" FROM Activo_Fijo_Centro_Costo "_s + u" WHERE Af_Cve_Activo_Fijo = '"_s
           + SqlLiteral::inner(keyText) + u"'"_s;
}

QString AssetStatements::insertDistribution(const QString &keyValor, const QString &centre,
                                            const QVariant &percentage)
{
    const auto &columns = AssetModel::distributionColumns();
    QString names;
    for (qsizetype i = 0; i < columns.size(); ++i)
        names += Indent + columns.at(i).name + (i == columns.size() - 1 ? u" "_s : u", "_s);
    return u"INSERT INTO Activo_Fijo_Centro_Costo("_s + names + u") VALUES ("_s + u"'"_s
           + SqlLiteral::inner(keyValor) + u"', "_s + u"'"_s + SqlLiteral::inner(centre) + u"',"_s
           + SqlLiteral::number(percentage) + u")"_s;
}

QString AssetStatements::lockAsset(const QString &key, const QString &forUpdateClause)
{
    return u"SELECT Es_Cve_Estado, Af_Version, Oper_Ult_Modif, Fecha_Ult_Modif, Oper_Baja, Fecha_Baja "
           "FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + SqlLiteral::inner(key) + u"'"_s + forUpdateClause;
}

} // namespace xb733
