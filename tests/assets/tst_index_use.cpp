// Every statement the screen's commands send reaches its rows through an
// index, so that a command costs the same at a million assets as at a
// thousand. The statements are the ones really sent: the commands are driven
// in process on the demo database while the connection's statements are
// captured, then each is explained by the backend. A dropped index, or a new
// statement with no index to use, fails here.
#include "screen/frmXB733.h"
#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/kit/Controles.h"
#include "suite/kit/SearchDialog.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/Session.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

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
// index; PostgreSQL (sequential scans switched off, so that only a missing
// index leaves one): "Seq Scan on t", and a hashed subplan, which reads its
// whole subquery on every execution.
QStringList wholeReads(const QStringList &lines, bool sqlite)
{
    static const QRegularExpression sqliteScan(u"^SCAN (\\w+)\\b(?! USING (COVERING )?INDEX)"_s);
    static const QRegularExpression seqScan(u"Seq Scan on (\\w+)"_s);
    QStringList found;
    for (const QString &line : lines) {
        const auto match = (sqlite ? sqliteScan : seqScan).match(line.trimmed());
        if (match.hasMatch() && !SmallTables.contains(match.captured(1).toLower()))
            found << line.trimmed();
        if (!sqlite && line.contains(u"hashed SubPlan"_s))
            found << line.trimmed();
    }
    return found;
}

class Screen
{
public:
    explicit Screen(TestSession &test)
        : entorno(&test.session())
        , utilerias(&test.session())
        , form(&entorno, &utilerias)
        , toolbar(*form.controlAs<suite::Controles>(u"Controles"_s))
        , key(*form.controlAs<suite::txtKIT>(u"txt_Af_Cve_Activo_Fijo"_s))
    {
    }

    bool load(const QString &wanted)
    {
        key.setText(wanted);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QApplication::sendEvent(&key, &enter);
        return toolbar.clave() == wanted;
    }

    void set(const QString &box, const QString &text) { form.controlAs<suite::txtKIT>(box)->setText(text); }

    suite::Entorno entorno;
    suite::Utilerias utilerias;
    frmXB733 form;
    suite::Controles &toolbar;
    suite::txtKIT &key;
};

QString scalar(suite::Connection &connection, const QString &statement)
{
    const suite::RecordsetPtr row = connection.Execute(statement);
    return row->Eof() ? QString() : row->fieldValue(0).toString();
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
    TestSession test(std::move(connection));
    suite::Connection &db = test.connection();
    Screen screen(test);
    screen.form.show();
    QVERIFY(screen.form.isLoaded());

    QStringList sent;
    QObject::connect(&db, &suite::Connection::statementExecuted,
                     [&sent](const QString &statement, qint64) { sent << statement; });

    // Every demo asset loaded, and every active one edited and saved as it is.
    const int assets = suite::DemoData::assetCount();
    for (int n = 1; n <= assets; ++n) {
        const QString wanted = u"%1"_s.arg(n, 10, 10, QLatin1Char('0'));
        QVERIFY2(screen.load(wanted), qPrintable(wanted));
        if (!screen.toolbar.press(u"Modificar"_s))
            continue;
        screen.toolbar.press(u"Aceptar"_s);
        QVERIFY2(!screen.toolbar.editando(), qPrintable(test.messages().prompts().join(u"; "_s)));
    }

    // A new asset of a kind that makes equipment and a vehicle, generated,
    // deactivated and reactivated.
    QVERIFY(screen.toolbar.press(u"Nuevo"_s));
    const QString created = screen.key.text();
    screen.set(u"txt_Af_Descripcion"_s, u"Camioneta de reparto"_s);
    screen.set(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"005"_s);
    screen.set(u"txtEmpresa"_s, u"0001"_s);
    screen.set(u"txt_Au_Cve_Ubicacion"_s, u"0002"_s);
    screen.set(u"txtCentroCosto"_s, u"000120"_s);
    screen.set(u"txt_Costo_Original"_s, u"350000"_s);
    screen.toolbar.press(u"Aceptar"_s);
    QVERIFY2(!screen.toolbar.editando(), qPrintable(test.messages().prompts().join(u"; "_s)));
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar.press(u"B3"_s));
    QCOMPARE(test.messages().ids().value(test.messages().count() - 1), u"ERR-ID:7500038"_s);
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar.press(u"Eliminar"_s));
    QVERIFY(screen.load(created));
    QVERIFY(screen.toolbar.press(u"Reactivar"_s));
    QCOMPARE(scalar(db, u"SELECT Es_Cve_Estado FROM Vehiculo WHERE Af_Cve_Activo_Fijo = '"_s + created + u"'"_s),
             u"AC"_s);

    // The search dialog filtered on an asset's key and on a cost centre.
    suite::SearchDialog assetSearch(&db, u"ACTIVO_FIJO"_s, 100);
    assetSearch.setFilter(created);
    QCOMPARE(assetSearch.rowCount(), 1);
    suite::SearchDialog centreSearch(&db, u"CENTRO_COSTO"_s, 100);
    centreSearch.setFilter(u"000120"_s);
    QVERIFY(centreSearch.rowCount() >= 1);

    const bool sqlite = db.backend() == u"sqlite"_s;
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
        const QStringList whole = wholeReads(lines, sqlite);
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
