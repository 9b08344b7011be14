#include "bench/generate/DepreciationRuns.h"

#include "bench/generate/BulkInsert.h"
#include "bench/generate/Calendar.h"
#include "bench/generate/SqlRun.h"
#include "suite/data/Connection.h"
#include "suite/data/TransactionGuard.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

const auto MonthTable = u"Gen_Month"_s;
const auto Operator = u"ADMIN"_s;

// One month's postings of one kind, as the run makes them; {M} in the
// amount and the condition stands for the month.
QString postings(int month, const QString &book, const QString &state, const QString &amount,
                 const QString &stamp, const QString &condition)
{
    return u"INSERT INTO Activo_Fijo_Depreciacion (Af_Cve_Activo_Fijo, Ad_Tipo, Es_Cve_Estado, Ad_Fecha, "
           "Ad_Centro_Costo, Ad_Importe, Oper_Alta, Fecha_Alta) "
           "SELECT p.Af_Cve_Activo_Fijo, '%1', '%2', m.Last_Day, p.Centre, %3 / 100.0, '%4', m.%5 "
           "FROM %6 p, %7 m WHERE m.Idx = %8 AND %9"_s
        .arg(book, state, amount, Operator, stamp, DepreciationRuns::planTable(), MonthTable)
        .arg(month)
        .arg(condition)
        .replace(u"{M}"_s, QString::number(month));
}

} // namespace

DepreciationRuns::DepreciationRuns(suite::Connection &connection)
    : m_connection(connection)
{
}

QString DepreciationRuns::planTable()
{
    return u"Gen_Plan"_s;
}

const QStringList &DepreciationRuns::planColumns()
{
    static const QStringList columns = {u"N"_s, u"Af_Cve_Activo_Fijo"_s, u"Centre"_s, u"First_Month"_s,
                                        u"Co_End"_s, u"Co_Monthly"_s, u"Co_Last"_s, u"Fi_End"_s,
                                        u"Fi_Monthly"_s, u"Fi_Last"_s, u"Cancel_Month"_s, u"Cancel_Cents"_s};
    return columns;
}

// Temporary tables: they vanish with the connection, whatever happens.
void DepreciationRuns::createPlan()
{
    const QSqlDatabase db = m_connection.database();
    SqlRun::exec(db, u"CREATE TEMP TABLE "_s + planTable()
                                 + u" (N INTEGER, Af_Cve_Activo_Fijo VARCHAR(15), Centre VARCHAR(6), "
                                   "First_Month INTEGER, Co_End INTEGER, Co_Monthly INTEGER, Co_Last INTEGER, "
                                   "Fi_End INTEGER, Fi_Monthly INTEGER, Fi_Last INTEGER, Cancel_Month INTEGER, "
                                   "Cancel_Cents INTEGER)"_s);
}

qint64 DepreciationRuns::post(const std::function<void(int, qint64)> &yearDone)
{
    const QSqlDatabase db = m_connection.database();
    const QVariant oldest = SqlRun::scalar(db, u"SELECT MIN(First_Month) FROM "_s + planTable());
    if (oldest.isNull())
        return 0;
    const int first = oldest.toInt();

    // The run of a month is made early in the next one; a posting later
    // cancelled was made the same morning, before the correct one.
    SqlRun::exec(db, u"CREATE TEMP TABLE "_s + MonthTable
                                 + u" (Idx INTEGER PRIMARY KEY, Last_Day DATE, Run_Stamp TIMESTAMP, "
                                   "Cancel_Stamp TIMESTAMP)"_s);
    {
        BulkInsert months(db, MonthTable, {u"Idx"_s, u"Last_Day"_s, u"Run_Stamp"_s, u"Cancel_Stamp"_s});
        for (int month = first; month <= Calendar::LastRun; ++month) {
            const QDate run = Calendar::firstDay(month + 1).addDays(4);
            months.integer(month).date(Calendar::lastDay(month)).stamp(run, 10 * 3600).stamp(run, 8 * 3600 + 45 * 60);
            months.endRow();
        }
        months.flush();
    }
    // In the early months few assets had been bought: an index finds them
    // where a scan would read every plan. The planner needs the statistics
    // to tell those months from the late ones, where scanning is cheaper.
    SqlRun::exec(db, u"CREATE INDEX Gen_Plan_First ON "_s + planTable() + u" (First_Month)"_s);
    SqlRun::exec(db, u"CREATE INDEX Gen_Plan_Cancel ON "_s + planTable() + u" (Cancel_Month)"_s);
    SqlRun::exec(db, u"ANALYZE "_s + planTable());
    SqlRun::exec(db, u"ANALYZE "_s + MonthTable);

    qint64 total = 0;
    for (int year = first / 12; year <= Calendar::LastRun / 12; ++year) {
        qint64 rows = 0;
        suite::TransactionGuard transaction(m_connection);
        for (int month = std::max(first, year * 12); month <= std::min(Calendar::LastRun, year * 12 + 11); ++month) {
            rows += SqlRun::exec(db, postings(month, u"CO"_s, u"CA"_s, u"p.Cancel_Cents"_s, u"Cancel_Stamp"_s,
                                                      u"p.Cancel_Month = {M}"_s));
            rows += SqlRun::exec(db, postings(month, u"CO"_s, u"AC"_s,
                                                      u"(CASE WHEN p.Co_End = {M} THEN p.Co_Last ELSE p.Co_Monthly END)"_s,
                                                      u"Run_Stamp"_s, u"p.First_Month <= {M} AND p.Co_End >= {M}"_s));
            rows += SqlRun::exec(db, postings(month, u"FI"_s, u"AC"_s,
                                                      u"(CASE WHEN p.Fi_End = {M} THEN p.Fi_Last ELSE p.Fi_Monthly END)"_s,
                                                      u"Run_Stamp"_s, u"p.First_Month <= {M} AND p.Fi_End >= {M}"_s));
        }
        transaction.commit();
        total += rows;
        yearDone(year, rows);
    }
    return total;
}

void DepreciationRuns::dropHelpers()
{
    const QSqlDatabase db = m_connection.database();
    SqlRun::exec(db, u"DROP TABLE IF EXISTS "_s + MonthTable);
    SqlRun::exec(db, u"DROP TABLE IF EXISTS "_s + planTable());
}

} // namespace bench
