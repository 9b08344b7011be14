#include "bench/generate/CatalogueGenerator.h"
#include "suite/data/Connection.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "suite/services/KeyGenerator.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QTemporaryDir>
#include <QtTest/QTest>
#include <map>

using namespace Qt::StringLiterals;
using suite::Connection;

namespace {

constexpr int Assets = 2000;

qint64 number(Connection &c, const QString &sql) { return firstValue(c, sql).toLongLong(); }

// Rows as texts both backends write alike, to compare catalogues.
QStringList rowsOf(Connection &c, const QString &sql)
{
    QStringList rows;
    const auto rs = c.Execute(sql);
    for (const auto &row : rs->rows()) {
        QStringList values;
        for (const QVariant &v : row)
            values << TableSnapshot::canonical(v);
        rows << values.join(u'|');
    }
    return rows;
}

void generate(Connection &c, qint64 assets, int perTransaction, quint64 seed = 733)
{
    bench::GeneratorOptions o;
    o.assets = assets;
    o.assetsPerTransaction = perTransaction;
    o.seed = seed;
    bench::CatalogueGenerator(c, o).run();
}

} // namespace

// A catalogue of 2,000 assets generated once per backend in chunks of 700 (two full transactions and a
// short last one), held to what the screen and the benchmark rely on; PostgreSQL's run also holds every
// text to its column's length, which SQLite would not.
class TestCatalogueGenerator : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::map<QString, std::unique_ptr<Connection>> m_generated;
    QString m_postgresReason;

    // The backend's catalogue; null, with the reason, when it has none.
    Connection *catalogue(const QString &backend, QString *reason)
    {
        *reason = m_postgresReason;
        return m_generated.count(backend) ? m_generated[backend].get() : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_generated[u"sqlite"_s] = Connection::open(u"sqlite:"_s + m_dir.filePath(u"catalogue.db"_s));
        if (auto postgres = TestDatabase::postgres(false, &m_postgresReason))
            m_generated[u"postgresql"_s] = std::move(postgres);
        for (auto &[backend, c] : m_generated)
            generate(*c, Assets, 700);
    }

    void holdsWhatTheScreenReliesOn_data() { TestDatabase::addBackendRows(); }
    void holdsWhatTheScreenReliesOn()
    {
        QFETCH(QString, backend);
        TALVEXOR_OR_SKIP(c, catalogue(backend, &cReason));
        auto sums = c->Execute(u"SELECT SUM(Acc_Porcentaje) FROM Activo_Fijo_Centro_Costo GROUP BY Af_Cve_Activo_Fijo"_s);
        QVERIFY2(sums->rowCount() > Assets / 5, qPrintable(QString::number(sums->rowCount())));
        for (; !sums->Eof(); sums->MoveNext()) {
            // Exactly: QCOMPARE would forgive a sum a rounding away from 100.
            const double total = sums->fieldValue(0).toDouble();
            QVERIFY2(total == 100.0, qPrintable(QString::number(total, 'g', 17)));
        }
        // Spread assets name no single centre; the others name exactly one.
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE (a.Af_Centro_Costo = '') = NOT EXISTS (SELECT 1 "
                            "FROM Activo_Fijo_Centro_Costo d WHERE d.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo)"_s), 0);
        // Every centre charged is postable: active, and nobody accumulates into it.
        for (const auto &[table, centre] : {std::pair{u"Activo_Fijo_Centro_Costo"_s, u"Cc_Cve_Centro_Costo"_s},
                                            {u"Activo_Fijo"_s, u"Af_Centro_Costo"_s}, {u"Activo_Fijo_Depreciacion"_s, u"Ad_Centro_Costo"_s},
                                            {u"Equipo"_s, u"Eq_Centro_Costo"_s}}) {
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM %1 x WHERE x.%2 <> '' AND NOT EXISTS (SELECT 1 FROM Centro_Costo cc "
                                "WHERE cc.Cc_Cve_Centro_Costo = x.%2 AND cc.Es_Cve_Estado <> 'BA' AND NOT EXISTS "
                                "(SELECT 1 FROM Centro_Costo s WHERE s.Cc_Acumula = cc.Cc_Cve_Centro_Costo))"_s.arg(table, centre)), 0);
        }
        // Serial and economic numbers, never empty, each of one asset.
        QCOMPARE(rowsOf(*c, u"SELECT COUNT(DISTINCT NULLIF(Af_Numero_Serie, '')), COUNT(DISTINCT NULLIF(Af_Numero_Economico, '')) "
                            "FROM Activo_Fijo"_s), QStringList{u"%1|%1"_s.arg(Assets)});

        // Accumulations are what the postings that count add up to.
        for (const auto &[book, column] : {std::pair{u"CO"_s, u"Af_Depreciacion_Acumulada_Contable"_s},
                                           std::pair{u"FI"_s, u"Af_Depreciacion_Acumulada_Fiscal"_s}}) {
            const QString sum = u"COALESCE((SELECT SUM(d.Ad_Importe) FROM Activo_Fijo_Depreciacion d WHERE d.Af_Cve_Activo_Fijo = "
                                "a.Af_Cve_Activo_Fijo AND d.Ad_Tipo = '%1' AND d.Es_Cve_Estado <> 'CA'), 0)"_s.arg(book);
            QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE ABS(a.%1 - %2) > 0.005 OR a.%1 > "
                                "a.Af_Costo_Original"_s.arg(column, sum)), 0);
            // The last month takes the remainder: fully depreciated is the cost exactly.
            QVERIFY(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo WHERE ABS(%1 - Af_Costo_Original) < 0.005"_s.arg(column)) > 0);
        }
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE COALESCE(a.Af_Ultima_Depreciacion, '1900-01-01') <> "
                            "COALESCE((SELECT MAX(d.Ad_Fecha) FROM Activo_Fijo_Depreciacion d WHERE d.Af_Cve_Activo_Fijo = "
                            "a.Af_Cve_Activo_Fijo AND d.Es_Cve_Estado <> 'CA'), '1900-01-01')"_s), 0);
        // Posted after the purchase, before the retirement and up to the last run.
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion d JOIN Activo_Fijo a ON a.Af_Cve_Activo_Fijo = "
                            "d.Af_Cve_Activo_Fijo WHERE d.Ad_Fecha <= a.Af_Fecha_Compra OR d.Ad_Fecha > '2024-12-31' "
                            "OR d.Ad_Fecha > a.Fecha_Baja"_s), 0);
        // Some postings cancelled (left out above); numbers follow the months.
        QVERIFY(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion WHERE Es_Cve_Estado = 'CA'"_s) > 0);
        QCOMPARE(number(*c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion x JOIN Activo_Fijo_Depreciacion y ON "
                            "y.Ad_Numero = x.Ad_Numero + 1 WHERE y.Ad_Fecha < x.Ad_Fecha"_s), 0);

        // Keys in the screen's patterns, numbered from 1 without a gap.
        for (const auto &[table, key, pattern] : {std::tuple{u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s, u"FTO_ACTIVO_FIJO"_s},
                                                  {u"Equipo"_s, u"Eq_Cve_Equipo"_s, u"FTO_EQUIPO"_s},
                                                  {u"Vehiculo"_s, u"Vh_Cve_Vehiculo"_s, u"FTO_VEHICULO"_s},
                                                  {u"Centro_Costo"_s, u"Cc_Cve_Centro_Costo"_s, u"FTO_CENTRO_COSTO"_s}}) {
            const int width = int(c->Execute(u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '%1'"_s.arg(pattern))
                                      ->fieldValue(0).toString().size());
            const QStringList keys = rowsOf(*c, u"SELECT %1 FROM %2 ORDER BY %1"_s.arg(key, table));
            QVERIFY(width > 0 && !keys.isEmpty());
            for (int i = 0; i < keys.size(); ++i)
                QCOMPARE(keys.at(i), u"'%1'"_s.arg(i + 1, width, 10, QLatin1Char('0')));
            QCOMPARE(suite::KeyGenerator(*c).next(table, key), int(keys.size()) + 1);
        }
        // The indexes dropped for the load are back.
        const QString indexed = c->backend() == u"sqlite"_s ? u"SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                                                               "LOWER(name) = LOWER('%1')"_s
                                                             : u"SELECT COUNT(*) FROM pg_indexes WHERE indexname = LOWER('%1')"_s;
        for (const suite::IndexDef &index : suite::Schema::indexes())
            QVERIFY2(number(*c, indexed.arg(index.name)) == 1, qPrintable(index.name));

        // The same seed makes the same assets whatever the run's size, chunking
        // or backend; another seed makes others.
        const QString assets = u"SELECT * FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo <= '0000000300' ORDER BY 1"_s;
        const QString postings = u"SELECT Af_Cve_Activo_Fijo, Ad_Tipo, Es_Cve_Estado, Ad_Fecha, Ad_Importe FROM "
                                 "Activo_Fijo_Depreciacion WHERE Af_Cve_Activo_Fijo <= '0000000300' ORDER BY 1, 2, 4, 3"_s;
        auto small = Connection::open(u"sqlite::memory:"_s);
        generate(*small, 300, 128);
        QCOMPARE(rowsOf(*small, assets), rowsOf(*c, assets));
        QCOMPARE(rowsOf(*small, postings), rowsOf(*c, postings));
        auto other = Connection::open(u"sqlite::memory:"_s);
        generate(*other, 300, 128, 734);
        QVERIFY(rowsOf(*other, assets) != rowsOf(*c, assets));
    }

    void refusesADatabaseWithRows()
    {
        Connection &c = *m_generated[u"sqlite"_s];
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, generate(c, 10, 10));
        QCOMPARE(number(c, u"SELECT COUNT(*) FROM Activo_Fijo"_s), Assets);
        // No assets yet, but cost centres of its own: not the generator's to fill.
        auto centres = TestDatabase::sqlite();
        centres->Execute(u"INSERT INTO Centro_Costo (Cc_Cve_Centro_Costo, Cc_Descripcion) VALUES ('000001', 'Propio')"_s);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, generate(*centres, 10, 10));
        QCOMPARE(number(*centres, u"SELECT COUNT(*) FROM Variable"_s), 0);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueGenerator)
#include "tst_catalogue_generator.moc"
