#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Dialect.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "tests/support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Connection;
using suite::Schema;

// The schema on each backend, and the demo company's invariants that no
// end-to-end run reaches (its labels and letter are printed by tst_printing,
// its keys typed short and padded by tst_saving).
class TestSchema : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void createIsIdempotent_data() { TestDatabase::addBackendRows(); }
    void createIsIdempotent()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false); // created once already
        db->Execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('X', 'uno')"_s);
        // An older table gains the columns declared since; its rows take the defaults.
        db->Execute(u"DROP TABLE Empresa"_s);
        db->Execute(u"CREATE TABLE Empresa (Em_Cve_Empresa VARCHAR(4) PRIMARY KEY, Em_Descripcion VARCHAR(60))"_s);
        db->Execute(u"INSERT INTO Empresa VALUES ('0001', 'Industrias Norte')"_s);
        // Without the history, or with label definitions from before sheets: an upgrade, which keeps them rolls.
        QVERIFY(!Schema::needsUpgrade(*db));
        db->Execute(u"DROP TABLE Historial"_s);
        QVERIFY(Schema::needsUpgrade(*db));
        Schema::create(*db);
        QVERIFY(!Schema::needsUpgrade(*db));
        db->Execute(u"DROP TABLE Etiqueta"_s);
        db->Execute(u"CREATE TABLE Etiqueta (Et_Cve_Etiqueta VARCHAR(10) PRIMARY KEY, Et_Valor TEXT, Et_Sentencia TEXT, "
                    "Et_Tipo VARCHAR(2))"_s);
        db->Execute(u"INSERT INTO Etiqueta VALUES ('AF01', '[X]', 'SELECT 1 AS x', '01')"_s);
        QVERIFY(Schema::needsUpgrade(*db));
        Schema::create(*db);
        Schema::create(*db);
        QVERIFY(!Schema::needsUpgrade(*db));
        QCOMPARE(firstValue(*db, u"SELECT '[' || Et_Hoja || ']' || Et_Filas || Et_Posicion_Inicial FROM Etiqueta"_s).toString(),
                 u"[]01"_s);
        QCOMPARE(firstValue(*db, u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = 'X'"_s).toString(), u"uno"_s);
        QCOMPARE(firstValue(*db, u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa ='0001' AND Es_Cve_Estado <> "
                                 "'BA'"_s).toString(), u"Industrias Norte"_s);
        for (const suite::TableDef &table : Schema::tables()) {
            const QStringList columns = db->columnNames(table.name);
            QCOMPARE(columns.size(), table.columns.size());
            for (const suite::ColumnDef &c : table.columns)
                QVERIFY2(columns.contains(c.name, Qt::CaseInsensitive), qPrintable(table.name + u'.' + c.name));
        }

        // An older database whose serial numbers repeat in all but letter case: the upgrade names the assets
        // that clash and goes on, its old index still keeping exact repeats out; once they are corrected, the
        // index that compares without regard to case replaces it.
        db->Execute(u"DROP INDEX UX_Activo_Fijo_Serie_Caso"_s);
        db->Execute(u"CREATE UNIQUE INDEX UX_Activo_Fijo_Serie ON Activo_Fijo (Af_Numero_Serie)"_s);
        db->Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Numero_Serie) VALUES ('A1', 'Señal-1'), ('A2', 'SEÑAL-1')"_s);
        const QStringList notices = Schema::create(*db);
        QVERIFY2(notices.size() == 1 && notices[0].contains(u"A1 («Señal-1»), A2 («SEÑAL-1»)"_s), qPrintable(notices.join(u'\n')));
        QVERIFY(!errorOf(*db, u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Numero_Serie) VALUES ('A3', 'SEÑAL-1')"_s).isEmpty());
        QVERIFY(Schema::needsUpgrade(*db)); // the index left for later is tried at the next start
        db->Execute(u"UPDATE Activo_Fijo SET Af_Numero_Serie = 'Señal-2' WHERE Af_Cve_Activo_Fijo = 'A2'"_s);
        QCOMPARE(Schema::create(*db), QStringList());
        QVERIFY(!Schema::needsUpgrade(*db));
        // So is a search index a bulk load dropped.
        for (const QString &statement : db->dialect().dropSearchIndexSql(Schema::searchIndexes().constFirst()))
            db->Execute(statement);
        QVERIFY(Schema::needsUpgrade(*db));
        Schema::create(*db);
        QVERIFY(!Schema::needsUpgrade(*db));
        QVERIFY(!errorOf(*db, u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Numero_Serie) VALUES ('A3', 'señal-1')"_s).isEmpty());
        db->Execute(u"DELETE FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo IN ('A1', 'A2')"_s);

        // Defaults the screen relies on when it leaves a column out.
        db->Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo) VALUES ('1')"_s);
        db->Execute(u"INSERT INTO Centro_Costo (Cc_Cve_Centro_Costo, Cc_Descripcion) VALUES ('000100', 'A')"_s);
        QCOMPARE(firstValue(*db, u"SELECT Es_Cve_Estado FROM Activo_Fijo"_s).toString(), u"AC"_s);
        const QVariant summary = db->Execute(u"SELECT Cc_Acumula FROM Centro_Costo"_s)->fieldValue(0);
        QVERIFY(!summary.isNull() && summary.toString().isEmpty());
    }

    void demoInvariants_data() { TestDatabase::addBackendRows(); }
    void demoInvariants()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, true);
        Connection &c = *db;
        // Every search the screen opens lists exactly the rows not deactivated,
        // as the search dialog runs it: wrapped, its second column shown.
        static const QRegularExpression source(u"^SELECT (\\w+) .* FROM (\\w+) WHERE"_s);
        for (const QString &id : {u"ACTIVO_FIJO"_s, u"TIPO_ACTIVO_FIJO"_s, u"EMPRESA"_s, u"ACTIVO_FIJO_UBICACION"_s,
                                  u"EMPLEADO"_s, u"CLIENTE"_s, u"PROYECTO"_s, u"CENTRO_COSTO"_s,
                                  u"UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"CUENTA_CONTABLE"_s, u"PROVEEDOR"_s}) {
            const QString statement =
                firstValue(c, u"SELECT Co_Sentencia FROM Consulta WHERE Co_Cve_Consulta = '"_s + id + u"'"_s).toString();
            const QRegularExpressionMatch names = source.match(statement);
            QVERIFY2(names.hasMatch(), qPrintable(id));
            QSet<QString> keys;
            for (auto rs = c.Execute(u"SELECT * FROM ("_s + statement + u") q WHERE 1 = 1"_s); !rs->Eof(); rs->MoveNext()) {
                keys.insert(rs->fieldValue(0).toString());
                QVERIFY2(!rs->fieldValue(1).toString().isEmpty(), qPrintable(id));
            }
            const QString table = names.captured(2);
            QSet<QString> active;
            const auto rows = c.Execute(u"SELECT %1 FROM %2 WHERE Es_Cve_Estado <> 'BA'"_s.arg(names.captured(1), table));
            for (const auto &row : rows->rows())
                active.insert(row.at(0).toString());
            QCOMPARE(keys, active);
            QVERIFY2(firstValue(c, u"SELECT COUNT(*) FROM %1 WHERE Es_Cve_Estado = 'BA'"_s.arg(table)).toInt() > 0,
                     qPrintable(table + u" has no deactivated row to exclude"_s));
        }

        // Postable: active, and no centre accumulates into it. The default centre is one; so is every
        // centre of a distribution (100 % exactly, two centres or more) of an asset without a single one.
        const QString postable = u"c.Es_Cve_Estado <> 'BA' AND NOT EXISTS (SELECT 1 FROM Centro_Costo s WHERE "
                                 "s.Cc_Acumula = c.Cc_Cve_Centro_Costo)"_s;
        QCOMPARE(firstValue(c, u"SELECT COUNT(*) FROM Centro_Costo c, Variable v WHERE v.Va_Cve_Variable = "
                               "'AF_CENTRO_COSTO_DEFAULT' AND c.Cc_Cve_Centro_Costo = v.Va_Valor AND "_s + postable).toInt(), 1);
        auto sums = c.Execute(u"SELECT SUM(Acc_Porcentaje), COUNT(*) FROM Activo_Fijo_Centro_Costo GROUP BY Af_Cve_Activo_Fijo"_s);
        QVERIFY(sums->rowCount() >= 5);
        for (; !sums->Eof(); sums->MoveNext())
            QVERIFY(sums->fieldValue(0).toDouble() == 100.0 && sums->fieldValue(1).toInt() >= 2);
        QCOMPARE(firstValue(c, u"SELECT COUNT(*) FROM Activo_Fijo_Centro_Costo d JOIN Centro_Costo c ON c.Cc_Cve_Centro_Costo = "
                               "d.Cc_Cve_Centro_Costo JOIN Activo_Fijo a ON a.Af_Cve_Activo_Fijo = d.Af_Cve_Activo_Fijo "
                               "WHERE a.Af_Centro_Costo = '' AND "_s + postable),
                 firstValue(c, u"SELECT COUNT(*) FROM Activo_Fijo_Centro_Costo"_s));

        // Accumulated depreciation is what the postings that count add up to, never past the cost.
        for (const auto &[book, accumulated] : {std::pair{u"CO"_s, u"Af_Depreciacion_Acumulada_Contable"_s},
                                                std::pair{u"FI"_s, u"Af_Depreciacion_Acumulada_Fiscal"_s}}) {
            QCOMPARE(firstValue(c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE a.Af_Costo_Original <= 0 OR a.%1 > "
                                   "a.Af_Costo_Original + 0.005 OR ABS(a.%1 - COALESCE((SELECT SUM(d.Ad_Importe) FROM "
                                   "Activo_Fijo_Depreciacion d WHERE d.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo AND "
                                   "d.Ad_Tipo = '%2' AND d.Es_Cve_Estado <> 'CA'), 0)) > 0.005"_s.arg(accumulated, book)).toInt(), 0);
        }

        // Loading twice is refused and changes nothing.
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, suite::DemoData::load(c));
        QCOMPARE(firstValue(c, u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt(), suite::DemoData::assetCount());
        QVERIFY(!c.inTransaction());
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
