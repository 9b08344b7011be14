#include "suite/services/KeyGenerator.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/services/SchemaCatalog.h"

#include <QStringList>
#include <limits>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// Where the counters live.
const auto counterTable = u"Clave_Siguiente"_s;
const auto counterName = u"Cs_Tabla"_s;
const auto counterColumn = u"Cs_Campo"_s;
const auto counterValue = u"Cs_Ultima"_s;

// Keys of text columns with no declared length are probed up to this width.
constexpr int undeclaredWidth = 10;

} // namespace

KeyGenerator::KeyGenerator(Connection &connection)
    : m_connection(connection)
{
}

int KeyGenerator::next(const QString &table, const QString &keyColumn)
{
    const bool ownTransaction = !m_connection.inTransaction();
    if (ownTransaction)
        m_connection.BeginTrans();
    try {
        const qint64 number = issue(table, keyColumn);
        if (ownTransaction)
            m_connection.CommitTrans();
        return static_cast<int>(number);
    } catch (...) {
        if (ownTransaction && m_connection.inTransaction())
            m_connection.RollbackTrans();
        throw;
    }
}

qint64 KeyGenerator::issue(const QString &table, const QString &keyColumn)
{
    auto &catalogue = SchemaCatalog::of(m_connection);
    const QString tableName = catalogue.table(table);
    const SchemaCatalog::Column key = catalogue.column(tableName, keyColumn);
    const int width = key.numeric ? 0 : (key.width > 0 ? key.width : undeclaredWidth);

    const QString counters = catalogue.table(counterTable);
    const QString nameColumn = catalogue.column(counters, counterName).name;
    const QString fieldColumn = catalogue.column(counters, counterColumn).name;
    const QString valueColumn = catalogue.column(counters, counterValue).name;
    const QString whereCounter =
        u" WHERE "_s + nameColumn + u" = '"_s + sqlEscape(tableName) + u"'"_s;

    // Taking the counter row first locks it, so two sessions never get the same number.
    int updated = 0;
    m_connection.Execute(u"UPDATE "_s + counters + u" SET "_s + valueColumn + u" = "_s
                             + valueColumn + u" + 1"_s + whereCounter,
                         &updated);
    qint64 first = 0;
    if (updated == 0) {
        // Two sessions may both find no counter; the one whose row loses
        // waits for the other's and then counts on from it.
        first = highestKey(tableName, key.name, key.numeric, width) + 1;
        int inserted = 0;
        m_connection.Execute(u"INSERT INTO "_s + counters + u" ("_s + nameColumn + u", "_s
                                 + fieldColumn + u", "_s + valueColumn + u") VALUES ('"_s
                                 + sqlEscape(tableName) + u"', '"_s + sqlEscape(key.name) + u"', "_s
                                 + QString::number(first) + u") ON CONFLICT DO NOTHING"_s,
                             &inserted);
        if (inserted == 0) {
            m_connection.Execute(u"UPDATE "_s + counters + u" SET "_s + valueColumn + u" = "_s
                                     + valueColumn + u" + 1"_s + whereCounter,
                                 &updated);
        }
    }
    if (updated != 0) {
        auto row = m_connection.Execute(u"SELECT "_s + valueColumn + u" FROM "_s + counters
                                        + whereCounter);
        if (row->Eof())
            throw SuiteError(u"No se pudo leer el contador de claves de la tabla %1."_s.arg(tableName));
        first = row->fieldValue(0).toLongLong();
    }

    qint64 number = first;
    while (taken(tableName, key.name, key.numeric, width, number))
        ++number;

    if (number > std::numeric_limits<int>::max()
        || (width > 0 && QString::number(number).size() > width)) {
        throw SuiteError(u"No quedan claves libres en la tabla %1: la clave %2 no cabe en la columna %3."_s
                             .arg(tableName, QString::number(number), key.name));
    }
    if (number != first) {
        m_connection.Execute(u"UPDATE "_s + counters + u" SET "_s + valueColumn + u" = "_s
                             + QString::number(number) + whereCounter);
    }
    return number;
}

// Seeds a table's first counter from the highest key, which the key's index
// answers without a scan. Shorter hand-typed keys may sort above padded ones;
// the probing then skips whatever is taken above the seed.
qint64 KeyGenerator::highestKey(const QString &table, const QString &keyColumn, bool numeric, int width)
{
    QString statement;
    if (numeric) {
        statement = u"SELECT MAX("_s + keyColumn + u") FROM "_s + table;
    } else {
        statement = u"SELECT "_s + keyColumn + u" FROM "_s + table + u" WHERE "_s + keyColumn
                    + u" >= '0' AND "_s + keyColumn + u" <= '"_s + QString(width, u'9')
                    + u"' ORDER BY "_s + keyColumn + u" DESC LIMIT 1"_s;
    }
    auto row = m_connection.Execute(statement);
    if (row->Eof() || row->fieldValue(0).isNull())
        return 0;
    if (numeric)
        return row->fieldValue(0).toLongLong();
    // A key such as "57A" seeds from its leading digits; the probing does the rest.
    const QString highest = row->fieldValue(0).toString().trimmed();
    qsizetype digits = 0;
    while (digits < highest.size() && digits < 18 && highest.at(digits).isDigit()
           && highest.at(digits).unicode() < 0x80)
        ++digits;
    return digits > 0 ? highest.left(digits).toLongLong() : 0;
}

bool KeyGenerator::taken(const QString &table, const QString &keyColumn, bool numeric, int width,
                         qint64 number)
{
    const QString digits = QString::number(number);
    QStringList forms;
    if (numeric) {
        forms << digits;
    } else {
        for (int size = digits.size(); size <= width; ++size)
            forms << u"'"_s + digits.rightJustified(size, u'0') + u"'"_s;
        if (forms.isEmpty())
            return false; // too wide for the column: reported by the caller
    }
    auto row = m_connection.Execute(u"SELECT 1 FROM "_s + table + u" WHERE "_s + keyColumn
                                    + u" IN ("_s + forms.join(u", "_s) + u") LIMIT 1"_s);
    return !row->Eof();
}

} // namespace suite
