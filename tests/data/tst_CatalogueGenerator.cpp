#include "bench/generate/CatalogueGenerator.h"
#include "suite/data/Connection.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "suite/services/KeyGenerator.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <map>

using namespace Qt::StringLiterals;
using suite::Connection;

namespace {

constexpr int Assets = 2000;

qint64 number(Connection &c, const QString &sql)
{
    return c.Execute(sql)->fieldValue(0).toLongLong();
}

QString text(Connection &c, const QString &sql)
{
    auto rs = c.Execute(sql);
    return rs->Eof() ? QString() : rs->fieldValue(0).toString();
}

// Rows as texts both backends write alike, to compare catalogues.
QStringList rowsOf(Connection &c, const QString &sql)
{
    QStringList rows;
    for (auto rs = c.Execute(sql); !rs->Eof(); rs->MoveNext()) {
        QStringList values;
        for (int i = 0; i < rs->fieldCount(); ++i) {
            const QVariant v = rs->fieldValue(i);
            if (v.isNull())
                values << u"NULL"_s;
            else if (v.metaType().id() == QMetaType::QDateTime)
                values << v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
            else if (v.metaType().id() == QMetaType::QDate)
                values << v.toDate().toString(Qt::ISODate);
            else if (v.metaType().id() == QMetaType::Double)
                values << QString::number(v.toDouble(), 'f', 4);
            else
                values << v.toString();
        }
        rows << values.join(u'|');
    }
    return rows;
}

// A centre an asset may be charged to: active, and nobody accumulates into it.
const QString Postable = u"cc.Es_Cve_Estado <> 'BA' AND NOT EXISTS (SELECT 1 FROM Centro_Costo s "
                         "WHERE s.Cc_Acumula = cc.Cc_Cve_Centro_Costo)"_s;

struct Generated
{
    std::unique_ptr<Connection> db;
    QStringList steps;
    qint64 reportedPostings = 0;
};

} // namespace

// A catalogue of 2,000 assets generated once per backend, then held to what
// the screen relies on: distributions, centres, numbers, depreciation
// history, equipment and vehicles, key lengths and the next key.
class TestCatalogueGenerator : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::map<QString, Generated> m_generated;
    QString m_postgresReason;

    static bench::GeneratorOptions options(qint64 assets, int perTransaction)
    {
        bench::GeneratorOptions o;
        o.assets = assets;
        o.assetsPerTransaction = perTransaction;
        return o;
    }

    static void generate(Generated &g, const bench::GeneratorOptions &o)
    {
        bench::CatalogueGenerator generator(*g.db, o);
        generator.setProgress([&g](const bench::GeneratorStep &step) {
            g.steps << step.what;
            if (step.what.startsWith(u"depreciation"_s))
                g.reportedPostings += step.rows;
        });
        generator.run();
    }

    // The backend's catalogue, or a skip (a failure under TALVEXOR_REQUIRE_PG=1).
    Connection *catalogue(const QString &backend)
    {
        if (m_generated.count(backend))
            return m_generated[backend].db.get();
        if (TestDatabase::postgresRequired())
            QTest::qFail(qPrintable(m_postgresReason), __FILE__, __LINE__);
        else
            QTest::qSkip(qPrintable(m_postgresReason), __FILE__, __LINE__);
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Chunks of 700: two full transactions and a short last one.
        Generated sqlite;
        sqlite.db = Connection::open(u"sqlite:"_s + m_dir.filePath(u"catalogue.db"_s));
        generate(sqlite, options(Assets, 700));
        m_generated.emplace(u"sqlite"_s, std::move(sqlite));
        Generated postgres;
        postgres.db = TestDatabase::postgres(false, &m_postgresReason);
        if (postgres.db) {
            generate(postgres, options(Assets, 700));
            m_generated.emplace(u"postgresql"_s, std::move(postgres));
        }
    }

    void distributionsAddUpToAHundred_data() { TestDatabase::addBackendRows(); }
    void distributionsAddUpToAHundred()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        auto sums = c->Execute(u"SELECT Af_Cve_Activo_Fijo, SUM(Acc_Porcentaje) AS Total, COUNT(*) AS Parts "
                               "FROM Activo_Fijo_Centro_Costo GROUP BY Af_Cve_Activo_Fijo"_s);
        const int spread = sums->rowCount();
        QVERIFY2(spread > Assets / 5 && spread < Assets * 3 / 10, qPrintable(QString::number(spread)));
        int fewest = 10, most = 2;
        for (; !sums->Eof(); sums->MoveNext()) {
            // Exactly: QCOMPARE would forgive a sum a rounding away from 100.
            const double total = sums->Fields(u"Total"_s).toDouble();
            QVERIFY2(total == 100.0, qPrintable(QString::number(total, 'g', 17)));
            fewest = std::min(fewest, sums->Fields(u"Parts"_s).toInt());
            most = std::max(most, sums->Fields(u"Parts"_s).toInt());
        }
        QCOMPARE(fewest, 2);
        QCOMPARE(most, 10);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM (SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo_Centro_Costo "
                            "GROUP BY Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo HAVING COUNT(*) > 1) d"_s), 0);
        // Spread assets name no single centre; the others name exactly one.
        const QString spreadOver = u"EXISTS (SELECT 1 FROM Activo_Fijo_Centro_Costo d WHERE d.Af_Cve_Activo_Fijo = "
                                   "a.Af_Cve_Activo_Fijo)"_s;
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE (a.Af_Centro_Costo = '' AND NOT %1) OR "
                            "(a.Af_Centro_Costo <> '' AND %1)"_s.arg(spreadOver)),
                 0);
    }

    void centresArePostableAndActive_data() { TestDatabase::addBackendRows(); }
    void centresArePostableAndActive()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        const QList<QStringList> uses = {{u"Activo_Fijo_Centro_Costo"_s, u"Cc_Cve_Centro_Costo"_s},
                                         {u"Activo_Fijo"_s, u"Af_Centro_Costo"_s},
                                         {u"Activo_Fijo_Depreciacion"_s, u"Ad_Centro_Costo"_s},
                                         {u"Equipo"_s, u"Eq_Centro_Costo"_s}};
        for (const QStringList &use : uses) {
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM %1 x WHERE x.%2 <> '' AND NOT EXISTS (SELECT 1 FROM "
                                "Centro_Costo cc WHERE cc.Cc_Cve_Centro_Costo = x.%2 AND %3)"_s
                                    .arg(use.at(0), use.at(1), Postable)),
                     0);
        }
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Centro_Costo"_s), 100000);
        // A few hundred summary centres, at most three levels, none NULL or dangling.
        const qint64 summaries = number(*c, u"SELECT COUNT(DISTINCT Cc_Acumula) FROM Centro_Costo WHERE Cc_Acumula <> ''"_s);
        QVERIFY2(summaries >= 200 && summaries <= 600, qPrintable(QString::number(summaries)));
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Centro_Costo WHERE Cc_Acumula IS NULL"_s), 0);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Centro_Costo c WHERE c.Cc_Acumula <> '' AND NOT EXISTS "
                            "(SELECT 1 FROM Centro_Costo p WHERE p.Cc_Cve_Centro_Costo = c.Cc_Acumula)"_s), 0);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Centro_Costo c JOIN Centro_Costo p ON p.Cc_Cve_Centro_Costo = "
                            "c.Cc_Acumula JOIN Centro_Costo g ON g.Cc_Cve_Centro_Costo = p.Cc_Acumula "
                            "WHERE g.Cc_Acumula <> ''"_s), 0);
        QVERIFY(number(*c, u"SELECT COUNT(*) FROM Centro_Costo WHERE Es_Cve_Estado = 'BA'"_s) > 0);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Centro_Costo cc, Variable v WHERE v.Va_Cve_Variable = "
                            "'AF_CENTRO_COSTO_DEFAULT' AND cc.Cc_Cve_Centro_Costo = v.Va_Valor AND "_s + Postable), 1);
    }

    void numbersAreUnique_data() { TestDatabase::addBackendRows(); }
    void numbersAreUnique()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        const QList<QStringList> numbers = {{u"Activo_Fijo"_s, u"Af_Numero_Serie"_s},
                                            {u"Activo_Fijo"_s, u"Af_Numero_Economico"_s},
                                            {u"Vehiculo"_s, u"Vh_Placas"_s}};
        for (const QStringList &n : numbers) {
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM (SELECT %2 FROM %1 GROUP BY %2 HAVING COUNT(*) > 1) d"_s
                                    .arg(n.at(0), n.at(1))),
                     0);
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM %1 WHERE %2 = '' OR %2 IS NULL"_s.arg(n.at(0), n.at(1))), 0);
        }
        // Equipment and vehicles carry their asset's numbers.
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Equipo e JOIN Activo_Fijo a ON a.Af_Cve_Activo_Fijo = "
                            "e.Eq_Activo_Fijo WHERE e.Eq_Serie <> a.Af_Numero_Serie OR e.Eq_Numero_Economico <> "
                            "a.Af_Numero_Economico"_s), 0);
    }

    void depreciationHistoryAddsUp_data() { TestDatabase::addBackendRows(); }
    void depreciationHistoryAddsUp()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        // Up to 12 postings a year for 10 years per book, some assets with all
        // of them; about ten per asset and book in all.
        auto books = c->Execute(u"SELECT Ad_Tipo, MAX(n) AS Most, SUM(n) AS Total FROM (SELECT Af_Cve_Activo_Fijo, "
                                "Ad_Tipo, COUNT(*) AS n FROM Activo_Fijo_Depreciacion GROUP BY Af_Cve_Activo_Fijo, "
                                "Ad_Tipo) d GROUP BY Ad_Tipo ORDER BY Ad_Tipo"_s);
        QCOMPARE(books->rowCount(), 2);
        for (; !books->Eof(); books->MoveNext()) {
            QCOMPARE(books->Fields(u"Most"_s).toInt(), 120);
            const double perAsset = books->Fields(u"Total"_s).toDouble() / Assets;
            QVERIFY2(perAsset > 7 && perAsset < 13, qPrintable(QString::number(perAsset)));
        }
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM (SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo_Depreciacion WHERE "
                            "Es_Cve_Estado = 'AC' GROUP BY Af_Cve_Activo_Fijo, Ad_Tipo, Ad_Fecha HAVING COUNT(*) > 1) d"_s),
                 0);
        for (const auto &[bookName, column] : {std::pair{u"CO"_s, u"Af_Depreciacion_Acumulada_Contable"_s},
                                               std::pair{u"FI"_s, u"Af_Depreciacion_Acumulada_Fiscal"_s}}) {
            const QString sum = u"COALESCE((SELECT SUM(d.Ad_Importe) FROM Activo_Fijo_Depreciacion d WHERE "
                                "d.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo AND d.Ad_Tipo = '%1' AND "
                                "d.Es_Cve_Estado <> 'CA'), 0)"_s.arg(bookName);
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE ABS(a.%1 - %2) > 0.005 OR a.%1 > "
                                "a.Af_Costo_Original"_s.arg(column, sum)),
                     0);
            // The last month takes the remainder: fully depreciated is the cost exactly.
            QVERIFY(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE ABS(a.%1 - a.Af_Costo_Original) < 0.005"_s
                                   .arg(column)) > 0);
        }
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE COALESCE(a.Af_Ultima_Depreciacion, '1900-01-01') "
                            "<> COALESCE((SELECT MAX(d.Ad_Fecha) FROM Activo_Fijo_Depreciacion d WHERE "
                            "d.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo AND d.Es_Cve_Estado <> 'CA'), '1900-01-01')"_s),
                 0);
        // Posted after the purchase, before the retirement and up to the last run.
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion d JOIN Activo_Fijo a ON "
                            "a.Af_Cve_Activo_Fijo = d.Af_Cve_Activo_Fijo WHERE d.Ad_Fecha <= a.Af_Fecha_Compra OR "
                            "d.Ad_Fecha > '2024-12-31' OR d.Ad_Fecha > a.Fecha_Baja"_s),
                 0);
        // A cancelled posting was made again the same month.
        QVERIFY(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion WHERE Es_Cve_Estado = 'CA'"_s) > 0);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion x WHERE x.Es_Cve_Estado = 'CA' AND NOT "
                            "EXISTS (SELECT 1 FROM Activo_Fijo_Depreciacion d WHERE d.Af_Cve_Activo_Fijo = "
                            "x.Af_Cve_Activo_Fijo AND d.Ad_Tipo = x.Ad_Tipo AND d.Ad_Fecha = x.Ad_Fecha AND "
                            "d.Es_Cve_Estado = 'AC')"_s),
                 0);
        // Numbered month after month, as monthly runs write them.
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion x JOIN Activo_Fijo_Depreciacion y ON "
                            "y.Ad_Numero = x.Ad_Numero + 1 WHERE y.Ad_Fecha < x.Ad_Fecha"_s),
                 0);
        QCOMPARE(m_generated[backend].reportedPostings, number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion"_s));
    }

    void equipmentAndVehiclesBelongToTheirTypes_data() { TestDatabase::addBackendRows(); }
    void equipmentAndVehiclesBelongToTheirTypes()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        const QString ofType = u"SELECT COUNT(*) FROM %1 x WHERE NOT EXISTS (SELECT 1 FROM Activo_Fijo a JOIN "
                               "Tipo_Activo_Fijo t ON t.Ta_Cve_Tipo_Activo_Fijo = a.Ta_Cve_Tipo_Activo_Fijo WHERE "
                               "a.Af_Cve_Activo_Fijo = x.%2 AND a.Es_Cve_Estado = x.Es_Cve_Estado AND %3)"_s;
        QCOMPARE(number(*c, ofType.arg(u"Equipo"_s, u"Eq_Activo_Fijo"_s, u"t.Ta_Equipo = 'SI'"_s)), 0);
        QCOMPARE(number(*c, ofType.arg(u"Vehiculo"_s, u"Af_Cve_Activo_Fijo"_s,
                                       u"t.Ta_Tipo_Vehiculo = x.Tv_Cve_Tipo_Vehiculo AND t.Ta_Tipo_Vehiculo <> ''"_s)),
                 0);
        const QString eligible = u"SELECT COUNT(*) FROM Activo_Fijo a JOIN Tipo_Activo_Fijo t ON "
                                 "t.Ta_Cve_Tipo_Activo_Fijo = a.Ta_Cve_Tipo_Activo_Fijo WHERE %1"_s;
        const double equipment = double(number(*c, u"SELECT COUNT(DISTINCT Eq_Activo_Fijo) FROM Equipo"_s))
            / number(*c, eligible.arg(u"t.Ta_Equipo = 'SI'"_s));
        const double vehicles = double(number(*c, u"SELECT COUNT(DISTINCT Af_Cve_Activo_Fijo) FROM Vehiculo"_s))
            / number(*c, eligible.arg(u"t.Ta_Tipo_Vehiculo <> ''"_s));
        QVERIFY2(equipment > 0.6 && equipment < 0.8, qPrintable(QString::number(equipment)));
        QVERIFY2(vehicles > 0.7 && vehicles < 0.9, qPrintable(QString::number(vehicles)));
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Equipo"_s), number(*c, u"SELECT COUNT(DISTINCT Eq_Activo_Fijo) FROM Equipo"_s));
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Vehiculo"_s),
                 number(*c, u"SELECT COUNT(DISTINCT Af_Cve_Activo_Fijo) FROM Vehiculo"_s));
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Equipo e, Variable v WHERE v.Va_Cve_Variable = "
                            "'CAT_TIPO_EQUIPO_DEFAULT' AND e.Te_Cve_Tipo_Equipo <> v.Va_Valor"_s), 0);
    }

    void keysFitAndTheNextKeyFollows_data() { TestDatabase::addBackendRows(); }
    void keysFitAndTheNextKeyFollows()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        // SQLite keeps any length: every text must fit its declared column.
        for (const suite::TableDef &table : suite::Schema::tables()) {
            for (const suite::ColumnDef &column : table.columns) {
                if (column.kind != suite::ColumnKind::Text)
                    continue;
                const qint64 longest = number(*c, u"SELECT COALESCE(MAX(LENGTH(%1)), 0) FROM %2"_s.arg(column.name, table.name));
                QVERIFY2(longest <= column.size, qPrintable(table.name + u'.' + column.name));
            }
        }
        // Keys in the screen's patterns, numbered from 1 without a gap.
        const QList<QStringList> keyed = {{u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s, u"FTO_ACTIVO_FIJO"_s},
                                          {u"Equipo"_s, u"Eq_Cve_Equipo"_s, u"FTO_EQUIPO"_s},
                                          {u"Vehiculo"_s, u"Vh_Cve_Vehiculo"_s, u"FTO_VEHICULO"_s},
                                          {u"Centro_Costo"_s, u"Cc_Cve_Centro_Costo"_s, u"FTO_CENTRO_COSTO"_s}};
        for (const QStringList &k : keyed) {
            const int width = int(text(*c, u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '%1'"_s.arg(k.at(2))).size());
            QVERIFY(width > 0);
            const QStringList keys = rowsOf(*c, u"SELECT %1 FROM %2 ORDER BY %1"_s.arg(k.at(1), k.at(0)));
            QVERIFY(!keys.isEmpty());
            for (int i = 0; i < keys.size(); ++i)
                QCOMPARE(keys.at(i), QString::number(i + 1).rightJustified(width, u'0'));
            QCOMPARE(suite::KeyGenerator(*c).next(k.at(0), k.at(1)), int(keys.size()) + 1);
        }
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo"_s), Assets);
    }

    void demoSettingsAndReferencesHold_data() { TestDatabase::addBackendRows(); }
    void demoSettingsAndReferencesHold()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        auto demo = TestDatabase::sqlite(true);
        for (const QString &sql : {u"SELECT Va_Cve_Variable, Va_Valor FROM Variable ORDER BY 1"_s,
                                   u"SELECT Co_Cve_Consulta, Co_Sentencia FROM Consulta ORDER BY 1"_s,
                                   u"SELECT Ta_Cve_Tipo_Activo_Fijo, Ta_Equipo, Ta_Tipo_Vehiculo FROM Tipo_Activo_Fijo ORDER BY 1"_s,
                                   u"SELECT Cc_Cve_Cuenta_Contable, Cc_Cuenta_Padre FROM Cuenta_Contable ORDER BY 1"_s})
            QCOMPARE(rowsOf(*c, sql), rowsOf(*demo, sql));
        // Every asset names rows that exist.
        const QList<QStringList> references = {
            {u"Ta_Cve_Tipo_Activo_Fijo"_s, u"Tipo_Activo_Fijo"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s},
            {u"Em_Cve_Empresa"_s, u"Empresa"_s, u"Em_Cve_Empresa"_s},
            {u"Au_Cve_Ubicacion"_s, u"Activo_Fijo_Ubicacion"_s, u"Au_Cve_Ubicacion"_s},
            {u"Af_Proyecto"_s, u"Proyecto"_s, u"Py_Cve_Proyecto"_s},
            {u"Af_UEN"_s, u"Unidad_Estrategica_Negocio"_s, u"Uen_Cve_Unidad_Estrategica_Negocio"_s},
            {u"Af_Proveedor"_s, u"Proveedor"_s, u"Pv_Cve_Proveedor"_s},
            {u"Af_Cuenta_Contable"_s, u"Cuenta_Contable"_s, u"Cc_Cve_Cuenta_Contable"_s},
            {u"Af_Cuenta_Contable_1"_s, u"Cuenta_Contable"_s, u"Cc_Cve_Cuenta_Contable"_s},
            {u"Af_Cuenta_Contable_3"_s, u"Cuenta_Contable"_s, u"Cc_Cve_Cuenta_Contable"_s}};
        for (const QStringList &r : references) {
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE a.%1 <> '' AND NOT EXISTS "
                                "(SELECT 1 FROM %2 x WHERE x.%3 = a.%1)"_s.arg(r.at(0), r.at(1), r.at(2))),
                     0);
        }
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE NOT EXISTS (SELECT 1 FROM Empleado e WHERE "
                            "a.Af_Tipo_Responsable = 'EM' AND e.Em_Cve_Empleado = a.Af_Responsable) AND NOT EXISTS "
                            "(SELECT 1 FROM Cliente k WHERE a.Af_Tipo_Responsable = 'CL' AND k.Cl_Cve_Cliente = "
                            "a.Af_Responsable)"_s),
                 0);
        QVERIFY(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo WHERE Es_Cve_Estado = 'BA' AND Fecha_Baja IS NOT NULL"_s) > 0);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Movimiento WHERE Mo_Accion = 'ALTA'"_s), Assets);
    }

    void databaseIsLeftAsTheSuiteKeepsIt_data() { TestDatabase::addBackendRows(); }
    void databaseIsLeftAsTheSuiteKeepsIt()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        const QStringList steps = m_generated[backend].steps;
        QVERIFY(steps.contains(u"assets 1400/2000"_s));
        QCOMPARE(steps.filter(u"assets "_s).last(), u"assets 2000/2000"_s);
        QVERIFY(steps.contains(u"depreciation 2024"_s));
        if (backend == u"sqlite"_s) {
            QCOMPARE(text(*c, u"PRAGMA journal_mode"_s), u"wal"_s);
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM sqlite_temp_master WHERE name LIKE 'Gen%'"_s), 0);
            QVERIFY(number(*c, u"SELECT COUNT(*) FROM main.sqlite_stat1 WHERE idx = 'IX_Activo_Fijo_Depreciacion'"_s) > 0);
            for (const suite::IndexDef &index : suite::Schema::indexes())
                QCOMPARE(number(*c, u"SELECT COUNT(*) FROM sqlite_master WHERE name = '%1'"_s.arg(index.name)), 1);
        } else {
            QCOMPARE(text(*c, u"SELECT COALESCE(to_regclass('gen_plan')::text, '')"_s), QString());
            QVERIFY(number(*c, u"SELECT COUNT(*) FROM pg_stats WHERE tablename = 'activo_fijo_depreciacion'"_s) > 0);
            for (const suite::IndexDef &index : suite::Schema::indexes())
                QCOMPARE(number(*c, u"SELECT COUNT(*) FROM pg_indexes WHERE indexname = '%1'"_s.arg(index.name.toLower())), 1);
        }
    }

    // The same seed makes the same assets whatever the run's size, chunking
    // or backend; another seed makes others.
    void theSeedDecidesTheCatalogue_data() { TestDatabase::addBackendRows(); }
    void theSeedDecidesTheCatalogue()
    {
        QFETCH(QString, backend);
        Connection *c = catalogue(backend);
        if (!c)
            return;
        const QString firstAssets = u"SELECT * FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo <= '0000000300' ORDER BY 1"_s;
        const QString firstPostings = u"SELECT Af_Cve_Activo_Fijo, Ad_Tipo, Es_Cve_Estado, Ad_Fecha, Ad_Importe "
                                      "FROM Activo_Fijo_Depreciacion WHERE Af_Cve_Activo_Fijo <= '0000000300' "
                                      "ORDER BY 1, 2, 4, 3"_s;
        Generated small;
        small.db = Connection::open(u"sqlite::memory:"_s);
        generate(small, options(300, 128));
        QCOMPARE(rowsOf(*small.db, firstAssets), rowsOf(*c, firstAssets));
        QCOMPARE(rowsOf(*small.db, firstPostings), rowsOf(*c, firstPostings));

        Generated other;
        other.db = Connection::open(u"sqlite::memory:"_s);
        bench::GeneratorOptions seeded = options(300, 128);
        seeded.seed = 734;
        generate(other, seeded);
        QVERIFY(rowsOf(*other.db, firstAssets) != rowsOf(*c, firstAssets));
    }

    void refusesADatabaseWithRows()
    {
        Connection &c = *m_generated[u"sqlite"_s].db;
        bench::CatalogueGenerator again(c, options(10, 10));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, again.run());
        QCOMPARE(number(c, u"SELECT COUNT(*) FROM Activo_Fijo"_s), Assets);

        // No assets yet, but cost centres of its own: not the generator's to fill.
        auto centres = TestDatabase::sqlite();
        centres->Execute(u"INSERT INTO Centro_Costo (Cc_Cve_Centro_Costo, Cc_Descripcion) VALUES ('000001', 'Propio')"_s);
        bench::CatalogueGenerator onCentres(*centres, options(10, 10));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, onCentres.run());
        QCOMPARE(number(*centres, u"SELECT COUNT(*) FROM Variable"_s), 0);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueGenerator)
#include "tst_CatalogueGenerator.moc"
