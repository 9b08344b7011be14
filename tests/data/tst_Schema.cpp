#include "suite/data/Connection.h"
#include "suite/data/DemoData.h"
#include "suite/data/Schema.h"
#include "suite/data/SuiteError.h"
#include "tests/support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Connection;
using suite::Schema;

namespace {

QSet<QString> column(Connection &c, const QString &sql)
{
    QSet<QString> values;
    for (auto rs = c.Execute(sql); !rs->Eof(); rs->MoveNext())
        values.insert(rs->fieldValue(0).toString());
    return values;
}

QString value(Connection &c, const QString &sql)
{
    auto rs = c.Execute(sql);
    return rs->Eof() ? QString() : rs->fieldValue(0).toString();
}

// Every [FIELD] of a template that the first row of rs does not fill.
QStringList unfilled(const QString &templateText, const suite::RecordsetPtr &rs)
{
    QString filled = templateText;
    for (int i = 0; i < rs->fieldCount(); ++i)
        filled.replace(u'[' + rs->fieldName(i).toUpper() + u']', rs->fieldValue(i).toString());
    QStringList left;
    static const QRegularExpression placeholder(u"\\[[A-Z_0-9]+\\]"_s);
    for (auto it = placeholder.globalMatch(filled); it.hasNext();)
        left.append(it.next().captured());
    return left;
}

} // namespace

// The schema on each backend, and the demo company's invariants.
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
        Schema::create(*db);
        Schema::create(*db);
        QCOMPARE(value(*db, u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = 'X'"_s), u"uno"_s);

        for (const suite::TableDef &table : Schema::tables()) {
            QVERIFY2(db->tableExists(table.name), qPrintable(table.name));
            const QStringList columns = db->columnNames(table.name);
            QCOMPARE(columns.size(), table.columns.size());
            for (const suite::ColumnDef &c : table.columns)
                QVERIFY2(columns.contains(c.name, Qt::CaseInsensitive), qPrintable(table.name + u'.' + c.name));
        }
        // The screen saves 36 columns of the asset and reads six more.
        QCOMPARE(Schema::table(u"activo_fijo"_s)->columns.size(), 42);

        // Defaults the screen relies on when it leaves a column out.
        db->Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo) VALUES ('1')"_s);
        db->Execute(u"INSERT INTO Centro_Costo (Cc_Cve_Centro_Costo, Cc_Descripcion) VALUES ('000100', 'A')"_s);
        QCOMPARE(value(*db, u"SELECT Es_Cve_Estado FROM Activo_Fijo"_s), u"AC"_s);
        QCOMPARE(value(*db, u"SELECT Cc_Acumula FROM Centro_Costo"_s), u""_s);
        QVERIFY(!db->Execute(u"SELECT Cc_Acumula FROM Centro_Costo"_s)->fieldValue(0).isNull());
        // A vehicle as generated from an asset: numbers and empty texts given as texts.
        db->Execute(u"INSERT INTO Vehiculo (Vh_Cve_Vehiculo, Vh_Ejes, Vh_Capacidad_M3, Vh_Inicio_Seguro, Vh_Odometro, "
                    "Fecha_Baja) VALUES ('0000000001', '0', '0', '', '', NULL)"_s);
        QCOMPARE(value(*db, u"SELECT Vh_Ejes + 2 FROM Vehiculo"_s).toInt(), 2);
        // One row per asset and cost centre.
        db->Execute(u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) "
                    "VALUES ('1', '000110', 50)"_s);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError,
            db->Execute(u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) "
                        "VALUES ('1', '000110', 50)"_s));
        // Depreciation rows are numbered by the database.
        db->Execute(u"INSERT INTO Activo_Fijo_Depreciacion (Af_Cve_Activo_Fijo, Ad_Tipo, Ad_Importe) VALUES ('1', 'CO', 1), "
                    "('1', 'FI', 2)"_s);
        QCOMPARE(column(*db, u"SELECT Ad_Numero FROM Activo_Fijo_Depreciacion"_s).size(), 2);
    }
    void olderTablesGainColumns_data() { TestDatabase::addBackendRows(); }

    void olderTablesGainColumns()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        db->Execute(u"DROP TABLE Empresa"_s);
        db->Execute(u"CREATE TABLE Empresa (Em_Cve_Empresa VARCHAR(4) PRIMARY KEY, Em_Descripcion VARCHAR(60))"_s);
        db->Execute(u"INSERT INTO Empresa VALUES ('0001', 'Industrias Norte')"_s);
        Schema::create(*db);
        QCOMPARE(db->columnNames(u"Empresa"_s).size(), Schema::table(u"Empresa"_s)->columns.size());
        // The old row takes the state's default, so lookups keep finding it.
        QCOMPARE(value(*db, u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa ='0001' AND Es_Cve_Estado <> 'BA'"_s),
                 u"Industrias Norte"_s);
    }

    void lookupsUseIndexes_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("serial number") << u"SELECT * FROM Activo_Fijo WHERE Af_Numero_Serie = 'x'"_s;
        QTest::newRow("economic number") << u"SELECT * FROM Activo_Fijo WHERE Af_Numero_Economico = 'x'"_s;
        QTest::newRow("asset") << u"SELECT * FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = 'x'"_s;
        QTest::newRow("equipment of asset") << u"SELECT Eq_Activo_Fijo FROM Equipo WHERE Eq_Activo_Fijo = 'x'"_s;
        QTest::newRow("vehicle of asset") << u"SELECT * FROM Vehiculo WHERE Af_Cve_Activo_Fijo = 'x'"_s;
        QTest::newRow("depreciation")
            << u"SELECT * FROM Activo_Fijo_Depreciacion WHERE Ad_Tipo = 'CO' AND Af_Cve_Activo_Fijo = 'x' "
               "AND Es_Cve_Estado <> 'CA'"_s;
        QTest::newRow("distribution")
            << u"SELECT Cc_Cve_Centro_Costo, Acc_Porcentaje FROM Activo_Fijo_Centro_Costo WHERE Af_Cve_Activo_Fijo = 'x'"_s;
        QTest::newRow("summary centre") << u"SELECT 1 FROM Centro_Costo WHERE Cc_Acumula = 'x'"_s;
    }

    void lookupsUseIndexes()
    {
        QFETCH(QString, statement);
        auto db = TestDatabase::sqlite();
        QString plan;
        for (auto rs = db->Execute(u"EXPLAIN QUERY PLAN "_s + statement); !rs->Eof(); rs->MoveNext())
            plan += rs->Fields(u"detail"_s).toString() + u'\n';
        QVERIFY2(plan.contains(u"USING"_s) && plan.contains(u"INDEX"_s) && !plan.contains(u"SCAN"_s), qPrintable(plan));
    }
    void demoInvariants_data() { TestDatabase::addBackendRows(); }

    void demoInvariants()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, true);
        Connection &c = *db;

        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt(), suite::DemoData::assetCount());
        QVERIFY(suite::DemoData::assetCount() >= 40);
        QVERIFY(column(c, u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo"_s)
                    == column(c, u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE LENGTH(Af_Cve_Activo_Fijo) = 10"_s));
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo WHERE Es_Cve_Estado = 'BA'"_s).toInt(), 1);
        QCOMPARE(column(c, u"SELECT Af_Numero_Serie FROM Activo_Fijo"_s).size(), suite::DemoData::assetCount());

        // Every search the screen opens exists and lists exactly the rows that
        // are not deactivated.
        const QStringList searches = {u"ACTIVO_FIJO"_s, u"TIPO_ACTIVO_FIJO"_s, u"EMPRESA"_s, u"ACTIVO_FIJO_UBICACION"_s,
                                       u"EMPLEADO"_s, u"CLIENTE"_s, u"PROYECTO"_s, u"CENTRO_COSTO"_s,
                                       u"UNIDAD_ESTRATEGICA_NEGOCIO"_s, u"CUENTA_CONTABLE"_s, u"PROVEEDOR"_s};
        // The key column and the table, as each statement names them.
        static const QRegularExpression source(u"^SELECT (\\w+) .* FROM (\\w+) WHERE"_s);
        for (const QString &id : searches) {
            const QString statement = value(c, u"SELECT Co_Sentencia FROM Consulta WHERE Co_Cve_Consulta = '"_s + id + u"'"_s);
            const QRegularExpressionMatch names = source.match(statement);
            QVERIFY2(names.hasMatch(), qPrintable(id));
            // As the search dialog runs it: wrapped, filtered on the second column.
            auto rs = c.Execute(u"SELECT * FROM ("_s + statement + u") q WHERE 1 = 1"_s);
            QSet<QString> keys;
            for (; !rs->Eof(); rs->MoveNext()) {
                keys.insert(rs->fieldValue(0).toString());
                QVERIFY2(!rs->fieldValue(1).toString().isEmpty(), qPrintable(id));
            }
            const QString table = names.captured(2);
            QCOMPARE(keys, column(c, u"SELECT %1 FROM %2 WHERE Es_Cve_Estado <> 'BA'"_s.arg(names.captured(1), table)));
            QVERIFY2(value(c, u"SELECT COUNT(*) FROM %1 WHERE Es_Cve_Estado = 'BA'"_s.arg(table)).toInt() > 0,
                     qPrintable(table + u" has no deactivated row to exclude"_s));
        }

        // Keys fit the key patterns the screen pads them to.
        const QList<QStringList> patterns = {
            {u"FTO_EMPRESA"_s, u"Empresa"_s, u"Em_Cve_Empresa"_s},
            {u"FTO_CENTRO_COSTO"_s, u"Centro_Costo"_s, u"Cc_Cve_Centro_Costo"_s},
            {u"FTO_ACTIVO_FIJO"_s, u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s},
            {u"FTO_TIPO_ACTIVO_FIJO"_s, u"Tipo_Activo_Fijo"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s},
            {u"FTO_EMPLEADO"_s, u"Empleado"_s, u"Em_Cve_Empleado"_s},
        };
        for (const QStringList &p : patterns) {
            const QString pattern = value(c, u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '"_s + p.at(0) + u"'"_s);
            QVERIFY2(!pattern.isEmpty() && pattern.count(u'0') == pattern.size(), qPrintable(p.at(0)));
            const QSet<QString> lengths = column(c, u"SELECT DISTINCT LENGTH(%1) FROM %2"_s.arg(p.at(2), p.at(1)));
            QCOMPARE(lengths, QSet<QString>{QString::number(pattern.size())});
        }
        // The default cost centre is one an asset can be charged to.
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Centro_Costo c, Variable v WHERE v.Va_Cve_Variable = "
                          "'AF_CENTRO_COSTO_DEFAULT' AND c.Cc_Cve_Centro_Costo = v.Va_Valor AND c.Es_Cve_Estado <> 'BA' "
                          "AND NOT EXISTS (SELECT 1 FROM Centro_Costo s WHERE s.Cc_Acumula = c.Cc_Cve_Centro_Costo)"_s).toInt(), 1);

        // Distributions: 100 % exactly, on postable active centres, only for
        // assets without a single cost centre.
        auto sums = c.Execute(u"SELECT Af_Cve_Activo_Fijo, SUM(Acc_Porcentaje) AS Total, COUNT(*) AS Partes "
                              "FROM Activo_Fijo_Centro_Costo GROUP BY Af_Cve_Activo_Fijo"_s);
        QVERIFY(sums->rowCount() >= 5);
        for (; !sums->Eof(); sums->MoveNext()) {
            QCOMPARE(sums->Fields(u"Total"_s).toDouble(), 100.0);
            QVERIFY(sums->Fields(u"Partes"_s).toInt() >= 2);
        }
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo_Centro_Costo d JOIN Centro_Costo cc ON "
                          "cc.Cc_Cve_Centro_Costo = d.Cc_Cve_Centro_Costo WHERE cc.Es_Cve_Estado <> 'BA' AND NOT EXISTS "
                          "(SELECT 1 FROM Centro_Costo s WHERE s.Cc_Acumula = d.Cc_Cve_Centro_Costo)"_s),
                 value(c, u"SELECT COUNT(*) FROM Activo_Fijo_Centro_Costo"_s));
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE a.Af_Centro_Costo <> '' AND EXISTS "
                          "(SELECT 1 FROM Activo_Fijo_Centro_Costo d WHERE d.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo)"_s)
                     .toInt(), 0);
        QVERIFY(value(c, u"SELECT COUNT(*) FROM Centro_Costo WHERE Cc_Acumula <> ''"_s).toInt() >= 3);

        // Accumulated depreciation is what the postings that count add up to.
        for (const QString &book : {u"CO"_s, u"FI"_s}) {
            const QString accumulated = book == u"CO"_s ? u"Af_Depreciacion_Acumulada_Contable"_s
                                                        : u"Af_Depreciacion_Acumulada_Fiscal"_s;
            auto rs = c.Execute(u"SELECT a.Af_Cve_Activo_Fijo, a.%1 AS Acumulada, a.Af_Costo_Original AS Costo, "
                                "(SELECT SUM(d.Ad_Importe) FROM Activo_Fijo_Depreciacion d WHERE d.Af_Cve_Activo_Fijo = "
                                "a.Af_Cve_Activo_Fijo AND d.Ad_Tipo = '%2' AND d.Es_Cve_Estado <> 'CA') AS Suma "
                                "FROM Activo_Fijo a"_s.arg(accumulated, book));
            for (; !rs->Eof(); rs->MoveNext()) {
                QVERIFY(qAbs(rs->Fields(u"Acumulada"_s).toDouble() - rs->Fields(u"Suma"_s).toDouble()) < 0.005);
                QVERIFY(rs->Fields(u"Acumulada"_s).toDouble() <= rs->Fields(u"Costo"_s).toDouble() + 0.005);
                QVERIFY(rs->Fields(u"Costo"_s).toDouble() > 0);
            }
        }
        QVERIFY(value(c, u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion WHERE Es_Cve_Estado = 'CA'"_s).toInt() > 0);
        QVERIFY(value(c, u"SELECT COUNT(*) FROM Activo_Fijo WHERE Af_Ultima_Depreciacion IS NULL"_s).toInt() > 0);
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE a.Af_Ultima_Depreciacion <> (SELECT MAX(d.Ad_Fecha) "
                          "FROM Activo_Fijo_Depreciacion d WHERE d.Af_Cve_Activo_Fijo = a.Af_Cve_Activo_Fijo "
                          "AND d.Es_Cve_Estado <> 'CA')"_s).toInt(), 0);

        // Asset types: one makes equipment, one vehicles, one neither.
        QVERIFY(value(c, u"SELECT COUNT(*) FROM Tipo_Activo_Fijo WHERE Ta_Equipo = 'SI' AND Ta_Tipo_Vehiculo = ''"_s).toInt() > 0);
        QVERIFY(value(c, u"SELECT COUNT(*) FROM Tipo_Activo_Fijo WHERE Ta_Equipo <> 'SI' AND Ta_Tipo_Vehiculo <> ''"_s).toInt() > 0);
        QVERIFY(value(c, u"SELECT COUNT(*) FROM Tipo_Activo_Fijo WHERE Ta_Equipo <> 'SI' AND Ta_Tipo_Vehiculo = '' "
                         "AND Es_Cve_Estado = 'AC'"_s).toInt() > 0);
        // Every asset's references name existing rows; a three-level chart.
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo a WHERE NOT EXISTS (SELECT 1 FROM Tipo_Activo_Fijo t WHERE "
                          "t.Ta_Cve_Tipo_Activo_Fijo = a.Ta_Cve_Tipo_Activo_Fijo) OR NOT EXISTS (SELECT 1 FROM Empresa e "
                          "WHERE e.Em_Cve_Empresa = a.Em_Cve_Empresa) OR NOT EXISTS (SELECT 1 FROM Cuenta_Contable k "
                          "WHERE k.Cc_Cve_Cuenta_Contable = a.Af_Cuenta_Contable)"_s).toInt(), 0);
        QCOMPARE(value(c, u"SELECT dbo.Get_Ruta_Cuenta_Contable(Af_Cuenta_Contable) FROM Activo_Fijo "
                          "WHERE Ta_Cve_Tipo_Activo_Fijo = '001' ORDER BY Af_Cve_Activo_Fijo"_s),
                 u"Activo / Activo fijo / Equipo de computo"_s);

        // Both label definitions fill every placeholder of their template.
        const QString asset = u"0000000002"_s;
        auto label = c.Execute(u"SELECT * FROM Etiqueta WHERE Et_Tipo = '01'"_s);
        QVERIFY(!label->Eof());
        QVERIFY(label->Fields(u"Et_Sentencia"_s).toString().contains(u"{PARAMETROS}"_s));
        const QString labelTemplate = label->Fields(u"Et_Valor"_s).toString();
        auto data = c.Execute(label->Fields(u"Et_Sentencia"_s).toString().replace(u"{PARAMETROS}"_s, asset));
        QCOMPARE(data->rowCount(), 1);
        QCOMPARE(unfilled(labelTemplate, data), QStringList());
        label = c.Execute(u"SELECT * FROM Etiqueta WHERE Et_Tipo <> '01'"_s);
        QVERIFY(!label->Eof());
        data = c.Execute(u"EXEC "_s + label->Fields(u"Et_Sentencia"_s).toString() + u" '"_s + asset + u"' "_s);
        QCOMPARE(unfilled(label->Fields(u"Et_Valor"_s).toString(), data), QStringList());
        QCOMPARE(value(c, u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = 'CAT_ETIQUETAS_ACTIVO_FIJO'"_s),
                 value(c, u"SELECT Et_Cve_Etiqueta FROM Etiqueta WHERE Et_Tipo = '01'"_s));

        // The responsibility letter's format names the person responsible.
        auto format = c.Execute(u"SELECT f.* FROM Formato_Impresion f JOIN Variable v ON v.Va_Valor = f.Fi_Cve_Formato "
                                "WHERE v.Va_Cve_Variable = 'FTO_IMP_RESPONSIVA_ACTIVO_FIJO'"_s);
        QVERIFY(!format->Eof());
        data = c.Execute(format->Fields(u"Fi_Sentencia"_s).toString().replace(u"{PARAMETROS}"_s, asset));
        QCOMPARE(unfilled(format->Fields(u"Fi_Plantilla"_s).toString(), data), QStringList());
        QVERIFY(!data->Fields(u"Responsable"_s).toString().trimmed().isEmpty());

        // Loading twice is refused and changes nothing.
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, suite::DemoData::load(c));
        QCOMPARE(value(c, u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt(), suite::DemoData::assetCount());
        QVERIFY(!c.inTransaction());
    }

    void demoIsTheSameEveryTime()
    {
        auto first = TestDatabase::sqlite(true);
        auto second = TestDatabase::sqlite(true);
        for (const QString &table : {u"Activo_Fijo"_s, u"Activo_Fijo_Centro_Costo"_s, u"Activo_Fijo_Depreciacion"_s}) {
            const QString sql = u"SELECT * FROM "_s + table + u" ORDER BY 1, 2"_s;
            QCOMPARE(first->Execute(sql)->rows(), second->Execute(sql)->rows());
        }
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_Schema.moc"
