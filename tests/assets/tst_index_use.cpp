// Every statement the screen's commands send reaches its rows through an
// index, so that a command costs the same at a million assets as at a
// thousand. The statements are the ones really sent: the commands are driven
// in process on the demo database while the connection's statements are
// captured, then each is explained by the backend. A dropped index, or a new
// statement with no index to use, fails here. The search dialog's statements
// are also run on grown catalogues, where each must read a bounded part.
#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/DemoData.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/SearchQuery.h"
#include "suite/runtime/HostEvents.h"
#include "suite/session/Session.h"
#include "tests/support/TestScreen.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlDriver>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

class tst_IndexUse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandsUseIndexes_data();
    void commandsUseIndexes();
};

namespace {

// Tables a command may read whole: they stay a few dozen rows however large
// the catalogue grows (kinds of asset, companies, business units, the chart
// of accounts the screen offers, the suite's variables and definitions).
const QStringList SmallTables = {
    u"tipo_activo_fijo"_s, u"empresa"_s, u"unidad_estrategica_negocio"_s, u"cuenta_contable"_s,
    u"variable"_s, u"campo_adicional"_s, u"consulta"_s, u"configuracion"_s, u"opcion_usuario"_s,
    u"tipo_equipo"_s, u"ubicacion_equipo"_s, u"marca"_s, u"tipo_vehiculo"_s, u"procedimiento"_s,
};

// Tables that grow with the catalogue: each must be reached by at least one
// captured statement, or the commands did not run as this test means them to.
const QStringList GrowingTables = {
    u"activo_fijo"_s, u"activo_fijo_centro_costo"_s, u"activo_fijo_depreciacion"_s, u"centro_costo"_s,
    u"equipo"_s, u"vehiculo"_s, u"clave_siguiente"_s, u"campo_adicional_valor"_s,
};

// The database's own catalogue, read once per connection to resolve names.
bool readsCatalogue(const QString &statement)
{
    return statement.contains(u"sqlite_master"_s) || statement.contains(u"pragma_table_info"_s)
        || statement.contains(u"information_schema."_s);
}

// What has a plan: reads from a table, and writes that find their rows.
bool planned(const QString &statement)
{
    static const QRegularExpression writes(u"^\\s*(UPDATE|DELETE)\\b"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression reads(u"\\bSELECT\\b.*\\bFROM\\b"_s,
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    return writes.match(statement).hasMatch() || reads.match(statement).hasMatch();
}

QStringList plan(suite::Connection &connection, const QString &statement)
{
    QSqlQuery query(connection.database());
    const bool sqlite = connection.backend() == u"sqlite"_s;
    QStringList lines;
    if (!query.exec((sqlite ? u"EXPLAIN QUERY PLAN "_s : u"EXPLAIN "_s) + statement)) {
        lines << u"EXPLAIN failed"_s;
        return lines;
    }
    while (query.next())
        lines << query.value(sqlite ? 3 : 0).toString();
    return lines;
}

// The plan's lines that read a growing table whole. SQLite: "SCAN t" with no
// index (nor a full-text MATCH), t a table and not a subquery's rows;
// PostgreSQL (sequential scans switched off, so that only a missing index
// leaves one): "Seq Scan on t", and a hashed subplan, which reads its whole
// subquery on every execution.
QStringList wholeReads(const QStringList &lines, suite::Connection &connection)
{
    const bool sqlite = connection.backend() == u"sqlite"_s;
    static const QRegularExpression sqliteScan(u"^SCAN (\\w+)\\b(?! USING (COVERING )?INDEX| VIRTUAL TABLE INDEX \\d+:M)"_s);
    static const QRegularExpression seqScan(u"Seq Scan on (\\w+)"_s);
    QStringList found;
    for (const QString &line : lines) {
        const auto match = (sqlite ? sqliteScan : seqScan).match(line.trimmed());
        if (match.hasMatch() && !SmallTables.contains(match.captured(1).toLower())
            && connection.tableExists(match.captured(1)))
            found << line.trimmed();
        if (!sqlite && line.contains(u"hashed SubPlan"_s))
            found << line.trimmed();
    }
    return found;
}

// 20,000 assets and 20,000 cost centres past the demo's keys: a word in every
// four-hundredth, another in every fourth, a third in the rest.
void growCatalogues(suite::Connection &db)
{
    const bool sqlite = db.backend() == u"sqlite"_s;
    const QString series = sqlite ? u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "_s
                                  : QString();
    const QString from = sqlite ? u" FROM n"_s : u" FROM generate_series(1, 20000) AS n(i)"_s;
    const QString assetKey = sqlite ? u"printf('%010d', 1000000 + i)"_s : u"lpad((1000000 + i)::text, 10, '0')"_s;
    const QString centreKey = sqlite ? u"printf('%06d', 200000 + i)"_s : u"(200000 + i)::text"_s;
    db.Execute(series + u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion) SELECT "_s + assetKey
               + u", CASE WHEN i % 400 = 0 THEN 'Vitrina refrigerada' WHEN i % 4 = 0 THEN 'Escritorio operativo' "
                 "ELSE 'Silla de visita' END"_s + from);
    db.Execute(series + u"INSERT INTO Centro_Costo (Cc_Cve_Centro_Costo, Cc_Descripcion) SELECT "_s + centreKey
               + u", CASE WHEN i % 400 = 0 THEN 'Auditoría interna' WHEN i % 4 = 0 THEN 'Compras' "
                 "ELSE 'Ventas norte' END"_s + from);
    db.Execute(u"ANALYZE"_s);
}

// The rows a statement reads from the growing tables, by running it: on
// SQLite the steps of its scans from end to end (an index range or a key
// found count none), on PostgreSQL the rows its plan's nodes on them give
// and those they read and dropped. -1 when it cannot be run.
qint64 rowsRead(suite::Connection &connection, const QString &statement)
{
    if (connection.backend() != u"sqlite"_s) {
        QSqlQuery query(connection.database());
        if (!query.exec(u"EXPLAIN (ANALYZE, TIMING OFF) "_s + statement))
            return -1;
        static const QRegularExpression node(u"^(?:.*? on (\\w+))?.*\\(actual rows=(\\d+) loops=(\\d+)\\)"_s);
        static const QRegularExpression removed(u"Rows Removed by (?:Filter|Index Recheck): (\\d+)"_s);
        qint64 rows = 0;
        qint64 loops = 0; // of the last node, when it reads a growing table
        while (query.next()) {
            const QString line = query.value(0).toString();
            if (const auto match = node.match(line); match.hasMatch()) {
                loops = GrowingTables.contains(match.captured(1)) ? match.captured(3).toLongLong() : 0;
                rows += match.captured(2).toLongLong() * loops;
            } else if (const auto match = removed.match(line); match.hasMatch()) {
                rows += match.captured(1).toLongLong() * loops;
            }
        }
        return rows;
    }
    sqlite3 *handle = *static_cast<sqlite3 *const *>(connection.database().driver()->handle().data());
    sqlite3_stmt *prepared = nullptr;
    const QByteArray sql = connection.translate(statement).toUtf8();
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &prepared, nullptr) != SQLITE_OK)
        return -1;
    while (sqlite3_step(prepared) == SQLITE_ROW) {
    }
    const qint64 steps = sqlite3_stmt_status(prepared, SQLITE_STMTSTATUS_FULLSCAN_STEP, 0);
    sqlite3_finalize(prepared);
    return steps;
}

} // namespace

void tst_IndexUse::commandsUseIndexes_data()
{
    TestDatabase::addBackendRows();
}

void tst_IndexUse::commandsUseIndexes()
{
    QFETCH(QString, backend);
    TALVEXOR_OPEN_OR_SKIP(connection, backend, true);
    TestScreen screen(std::move(connection));
    TestSession &test = screen.test();
    suite::Connection &db = test.connection();
    screen.form().show();
    QVERIFY(screen.form().isLoaded());

    QStringList sent;
    QObject::connect(&db, &suite::Connection::statementExecuted,
                     [&sent](const QString &statement, qint64) { sent << statement; });

    // Every demo asset loaded, and every active one edited and saved as it is.
    const int assets = suite::DemoData::assetCount();
    for (int n = 1; n <= assets; ++n) {
        const QString wanted = u"%1"_s.arg(n, 10, 10, QLatin1Char('0'));
        QVERIFY2(screen.load(wanted), qPrintable(wanted));
        if (!screen.toolbar().press(u"Modificar"_s))
            continue;
        screen.toolbar().press(u"Aceptar"_s);
        QVERIFY2(!screen.toolbar().editando(), qPrintable(test.messages().prompts().join(u"; "_s)));
    }

    // A new asset of a kind that makes equipment and a vehicle, generated,
    // deactivated and reactivated.
    QVERIFY(screen.toolbar().press(u"Nuevo"_s));
    const QString created = screen.key().text();
    screen.set(u"txt_Af_Descripcion"_s, u"Camioneta de reparto"_s);
    screen.set(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"005"_s);
    screen.set(u"txtEmpresa"_s, u"0001"_s);
    screen.set(u"txt_Au_Cve_Ubicacion"_s, u"0002"_s);
    screen.set(u"txtCentroCosto"_s, u"000120"_s);
    screen.set(u"txt_Costo_Original"_s, u"350000"_s);
    screen.toolbar().press(u"Aceptar"_s);
    QVERIFY2(!screen.toolbar().editando(), qPrintable(test.messages().prompts().join(u"; "_s)));
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar().press(u"B3"_s));
    QCOMPARE(test.messages().ids().value(test.messages().count() - 1), u"ERR-ID:7500038"_s);
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar().press(u"Eliminar"_s));
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar().press(u"Reactivar"_s));
    QCOMPARE(firstValue(db, u"SELECT Es_Cve_Estado FROM Vehiculo WHERE Af_Cve_Activo_Fijo = '"_s + created + u"'"_s).toString(),
             u"AC"_s);

    // Its history in Información, and the labels of every demo asset at once, unattended.
    QTemporaryDir printed;
    suite::HostEvents &events = suite::HostEvents::instance();
    events.setUnattended(true);
    events.setPrintDirectory(printed.path());
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar().press(u"Informacion"_s));
    QStringList keys;
    for (int n = 1; n <= assets; ++n)
        keys << u"%1"_s.arg(n, 10, 10, QLatin1Char('0'));
    const QList<suite::Session::SearchAction> actions = test.session().searchActions(u"ACTIVO_FIJO"_s);
    QCOMPARE(actions.size(), 1);
    actions[0].run(keys);
    events.setUnattended(false);
    QCOMPARE(QDir(printed.path()).entryList(QDir::Files).size(), 1);

    // The search dialogs, every way a search goes, on catalogues grown large
    // enough that a search reading one whole would show (below).
    growCatalogues(db);
    const qsizetype beforeSearches = sent.size();
    const QList<std::pair<QString, QStringList>> searches = {
        {u"ACTIVO_FIJO"_s, {created, u"vitrina"_s, u"escritorio"_s, u"silla"_s, u"xw"_s, u"zqxj"_s}},
        {u"CENTRO_COSTO"_s, {u"000120"_s, u"auditor"_s, u"ventas"_s, u"a"_s, u"zqxj"_s}}};
    for (const auto &[id, filters] : searches) {
        suite::SearchDialog search(&db, id, 100);
        for (const QString &filter : filters) {
            search.setFilter(filter);
            const bool found = filter != u"zqxj"_s && filter != u"xw"_s;
            QVERIFY2(search.errorText().isEmpty() && (search.rowCount() > 0) == found,
                     qPrintable(id + u' ' + filter + u' ' + search.errorText()));
        }
    }
    const QStringList searched = sent.mid(beforeSearches);

    const bool sqlite = db.backend() == u"sqlite"_s;
    // However large the catalogue, a search reads a bounded part of it (on a
    // connection set up as the dialog sets up its own).
    for (const QString &statement : db.dialect().searchSessionSql())
        db.Execute(statement);
    for (const QString &statement : searched) {
        if (!planned(statement))
            continue;
        const qint64 rows = rowsRead(db, statement);
        QVERIFY2(rows >= 0 && rows <= 2 * suite::SearchQuery::FirstRows,
                 qPrintable(u"%1 rows read by %2"_s.arg(rows).arg(statement)));
    }
    if (!sqlite)
        db.Execute(u"SET enable_seqscan = off"_s);
    QStringList problems;
    QSet<QString> reached;
    static const QRegularExpression word(u"\\b\\w+\\b"_s);
    for (const QString &statement : QSet<QString>(sent.cbegin(), sent.cend())) {
        if (!planned(statement) || readsCatalogue(statement))
            continue;
        for (auto it = word.globalMatch(statement); it.hasNext();) {
            const QString name = it.next().captured().toLower();
            if (GrowingTables.contains(name))
                reached.insert(name);
        }
        const QStringList lines = plan(db, statement);
        const QStringList whole = wholeReads(lines, db);
        if (!whole.isEmpty() || lines.contains(u"EXPLAIN failed"_s))
            problems << statement.simplified() + u"\n    "_s + (whole.isEmpty() ? lines : whole).join(u"\n    "_s);
    }
    if (!sqlite)
        db.Execute(u"RESET enable_seqscan"_s);

    QVERIFY2(problems.isEmpty(), qPrintable(u"statements that read a growing table whole:\n"_s
                                            + problems.join(u"\n"_s)));
    for (const QString &table : GrowingTables)
        QVERIFY2(reached.contains(table), qPrintable(u"no command read "_s + table));
}

QTEST_MAIN(tst_IndexUse)
#include "tst_index_use.moc"
