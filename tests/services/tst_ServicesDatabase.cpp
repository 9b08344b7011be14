#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/Session.h"
#include "tests/support/TestSession.h"

#include <QTest>

using namespace Qt::StringLiterals;
using suite::sqlEscape;

namespace {
const QVariant empty;
const QVariant null = QVariant(QMetaType::fromType<QString>());
QString literal(const QVariant &v) { return v.isNull() ? u"NULL"_s : u"'"_s + sqlEscape(v.toString()) + u"'"_s; }
} // namespace

// Every case runs on SQLite and, when TALVEXOR_PG_URL names a server, on PostgreSQL.
class ServicesDatabaseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data()
    {
        TestDatabase::addBackendRows();
    }

    void init()
    {
        QFETCH_GLOBAL(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(connection, backend, false)
        m_test = std::make_unique<TestSession>(std::move(connection));
    }

    void cleanup()
    {
        m_test.reset();
    }

    void variables_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("stored"); // Empty: no row
        QTest::addColumn<QString>("typeCode");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QVariant>("expected"); // Empty / Null / a text

        const QString pattern = u"0000000000"_s;
        QTest::newRow("present") << u"FTO_ACTIVO_FIJO"_s << QVariant(u"00000"_s) << u"T"_s << pattern << QVariant(u"00000"_s);
        QTest::newRow("stored empty text") << u"CAT_MARCA"_s << QVariant(u""_s) << u"T"_s << QString() << QVariant(u""_s);
        QTest::newRow("missing, default") << u"FTO_EQUIPO"_s << empty << u"T"_s << pattern << QVariant(pattern);
        QTest::newRow("missing, no default") << u"FTO_CLIENTE"_s << empty << QString() << QString() << empty;
        QTest::newRow("null beats the default") << u"FTO_VEHICULO"_s << null << u"T"_s << pattern << null;
        QTest::newRow("quote in name and value") << u"O'NEIL"_s << QVariant(u"it's"_s) << u"T"_s << QString() << QVariant(u"it's"_s);
        QTest::newRow("accents") << u"CAT_DEPRECIACIÓN"_s << QVariant(u"Línea recta"_s) << u"T"_s << QString() << QVariant(u"Línea recta"_s);
    }

    void variables()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, stored);
        QFETCH(QString, typeCode);
        QFETCH(QString, defaultValue);
        QFETCH(QVariant, expected);
        if (stored.isValid())
            exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('%1', %2)"_s.arg(sqlEscape(name), literal(stored)));
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('%1X', 'otra')"_s.arg(sqlEscape(name)));

        suite::Entorno entorno;
        const QVariant value = entorno.LeeVariable(name, 0, typeCode, defaultValue);
        QCOMPARE(value.isValid(), expected.isValid());
        QCOMPARE(value.isNull(), expected.isNull());
        if (expected.isValid() && !expected.isNull()) {
            QCOMPARE(value.metaType(), QMetaType::fromType<QString>());
            QCOMPARE(value.toString(), expected.toString());
        }
        // Other type codes convert the stored text or refuse it.
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('NUM', '12.5'), ('SINO', 'Sí'), ('TXT', 'abc')"_s);
        QCOMPARE(entorno.LeeVariable(u"NUM"_s, 0, u"N"_s, {}).toDouble(), 12.5);
        QCOMPARE(entorno.LeeVariable(u"SINO"_s, 0, u"B"_s, {}), QVariant(true));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, entorno.LeeVariable(u"TXT"_s, 0, u"N"_s, {}));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, entorno.LeeVariable(u"TXT"_s, 0, u"Z"_s, {}));
    }

    void optionsAndSession()
    {
        exec(u"INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, Op_Valor) VALUES "
             "('PRUEBA', 'XB733', 'CAT001', 'SI'), ('OTRO', 'XB733', 'CAT001', 'NO'), "
             "('PRUEBA', 'XB734', 'CAT001', 'NO'), ('PRUEBA', 'XB733', 'CAT002', NULL), "
             "('PRUEBA', 'XB733', 'CAT003', 'quizá'), ('O''HARA', 'XB733', 'CAT001', '-1')"_s);
        suite::Entorno entorno;
        const QString text = u"No disponible"_s;
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT001"_s, text), true);
        QCOMPARE(entorno.LeeOpcion(u"XB734"_s, u"CAT001"_s, text), false);
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT009"_s, text), false); // missing
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT002"_s, text), false); // Null
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, entorno.LeeOpcion(u"XB733"_s, u"CAT003"_s, text));
        m_test->session().setUser(u"OTRO"_s);
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT001"_s, text), false);
        m_test->session().setUser(u"O'HARA"_s);
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT001"_s, text), true);

        // An object given its own session keeps to it, whatever is current.
        suite::Session other;
        other.setUser(u"OTRA"_s);
        suite::Entorno own(&other);
        QCOMPARE(own.Usuario(), u"OTRA"_s);
        QCOMPARE(entorno.Usuario(), u"O'HARA"_s);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, own.Conexion());
        own.ForzarMayusculas(true);
        QVERIFY(other.forceUpperCase() && !m_test->session().forceUpperCase());
        entorno.ForzarMayusculas(true);
        QVERIFY(m_test->session().forceUpperCase());
    }

    void keysSkipHandTypedOnes()
    {
        // 1 to 6 are taken, in several widths; the first key is 7 whatever order they sort in.
        for (const auto &key : {u"0000000001"_s, u"0000000002"_s, u"0000000003"_s, u"4"_s, u"00005"_s, u"0000000006"_s, u"ABC"_s})
            exec(u"INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) VALUES ('%1', 'P')"_s.arg(key));
        QCOMPARE(nextKey(u"Proveedor"_s, u"Pv_Cve_Proveedor"_s), 7);
        QCOMPARE(nextKey(u"Proveedor"_s, u"Pv_Cve_Proveedor"_s), 8);
        // Typed by hand after the counter passed: skipped as well.
        exec(u"INSERT INTO Proveedor (Pv_Cve_Proveedor, Pv_Descripcion) VALUES ('9', 'P'), ('000010', 'P')"_s);
        QCOMPARE(nextKey(u"Proveedor"_s, u"Pv_Cve_Proveedor"_s), 11);
        QCOMPARE(scalar(u"SELECT Cs_Ultima FROM Clave_Siguiente WHERE UPPER(Cs_Tabla) = 'PROVEEDOR'"_s), u"11"_s);
    }

    void keysFollowTheCallersTransactionNamesAndWidth()
    {
        QCOMPARE(nextKey(u"Activo_fijo"_s, u"Af_Cve_Activo_fijo"_s), 1);
        db().BeginTrans();
        QCOMPARE(nextKey(u"ACTIVO_FIJO"_s, u"af_cve_activo_fijo"_s), 2); // one counter per table, any case
        QVERIFY(db().inTransaction());
        db().RollbackTrans();
        QCOMPARE(nextKey(u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s), 2); // the counter rolled back too
        exec(u"INSERT INTO Vehiculo (Vh_Cve_Vehiculo) VALUES ('0000000001'), ('000000000000002')"_s);
        QCOMPARE(nextKey(u"Vehículo"_s, u"Vh_Cve_Vehiculo"_s), 3);

        suite::Utilerias utilerias;
        int next = -1;
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.SiguienteClave(u"Activos"_s, u"Af_Cve_Activo_Fijo"_s, {}, {}, {}, {}, {}, {}, {}, next));
        QVERIFY(utilerias.RegistraError().contains(u"Activos"_s));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.SiguienteClave(u"Activo_Fijo"_s, u"Af_Clave"_s, {}, {}, {}, {}, {}, {}, {}, next));
        QCOMPARE(next, -1);
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM Clave_Siguiente"_s), u"2"_s);

        // A key wider than its column is refused and the counter is left as it was.
        exec(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('9998', 'A')"_s);
        QCOMPARE(nextKey(u"Empresa"_s, u"Em_Cve_Empresa"_s), 9999);
        exec(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('9999', 'B')"_s);
        try {
            nextKey(u"Empresa"_s, u"Em_Cve_Empresa"_s);
            QFAIL("a key wider than the column was issued");
        } catch (const suite::SuiteError &error) {
            QVERIFY2(error.description().contains(u"Em_Cve_Empresa"_s, Qt::CaseInsensitive), error.what());
        }
        QCOMPARE(scalar(u"SELECT Cs_Ultima FROM Clave_Siguiente WHERE UPPER(Cs_Tabla) = 'EMPRESA'"_s), u"9999"_s);
        QVERIFY(!db().inTransaction());
    }

    void lookups_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("expected"); // starting with "!": refused, naming the rest

        const QString key = u"Af_Cve_Activo_Fijo"_s;
        QTest::newRow("accented table") << u"Vehículo"_s << key << u"0000000010"_s << key << u"0000000010"_s;
        QTest::newRow("odd case columns") << u"tipo_activo_fijo"_s << u"TA_CVE_TIPO_ACTIVO_FIJO"_s << u"EQ"_s << u"ta_equipo"_s << u"SI"_s;
        QTest::newRow("empty text") << u"Tipo_Activo_Fijo"_s << u"Ta_Cve_Tipo_Activo_Fijo"_s << u"EQ"_s << u"Ta_Tipo_Vehiculo"_s << QString();
        QTest::newRow("quote in value") << u"Activo_Fijo"_s << u"Af_Numero_Serie"_s << u"O'SERIE"_s << key << u"0000000011"_s;
        QTest::newRow("quote in result") << u"Activo_Fijo"_s << key << u"0000000010"_s << u"Af_Descripcion"_s << u"Camioneta O'Brien"_s;
        QTest::newRow("null result") << u"Activo_Fijo"_s << key << u"0000000011"_s << u"Af_Descripcion"_s << QString();
        QTest::newRow("value case matters") << u"Activo_Fijo"_s << u"Af_Numero_Serie"_s << u"sn-1"_s << key << QString();
        QTest::newRow("injection") << u"Activo_Fijo"_s << key << u"x' OR '1'='1"_s << key << QString();
        QTest::newRow("table made later") << u"MARCA_EXTRA"_s << u"mx_clave"_s << u"01"_s << u"MX_NOMBRE"_s << u"Acme"_s;
        QTest::newRow("unknown table") << u"Activos_Fijos"_s << key << u"A"_s << u"Af_Descripcion"_s << u"!Activos_Fijos"_s;
        QTest::newRow("unknown search column") << u"Activo_Fijo"_s << u"Af_Clave"_s << u"A"_s << u"Af_Descripcion"_s << u"!Af_Clave"_s;
        QTest::newRow("unknown result column") << u"Activo_Fijo"_s << key << u"A"_s << u"Af_Nombre"_s << u"!Af_Nombre"_s;
        QTest::newRow("statement as a name") << u"Variable; DELETE FROM Variable"_s << u"Va_Cve_Variable"_s << u"A"_s
                                             << u"Va_Valor"_s << u"!DELETE"_s;
    }

    void lookups()
    {
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, result);
        QFETCH(QString, expected);
        suite::Utilerias utilerias;
        // A first look-up before the tables below fill (and one is made) must not leave a stale catalogue.
        QCOMPARE(utilerias.BuscaValor(u"Empresa"_s, u"Em_Cve_Empresa"_s, u"0001"_s, u"Em_Descripcion"_s), QString());
        exec(u"INSERT INTO Tipo_Activo_Fijo (Ta_Cve_Tipo_Activo_Fijo, Ta_Descripcion, Ta_Equipo, Ta_Tipo_Vehiculo) "
             "VALUES ('EQ', 'Equipo de cómputo', 'SI', ''), ('VH', 'Vehículos', 'NO', 'AUTO')"_s);
        exec(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Af_Numero_Serie) "
             "VALUES ('0000000010', 'Camioneta O''Brien', 'SN-1'), ('0000000011', NULL, 'O''SERIE')"_s);
        exec(u"INSERT INTO Vehiculo (Vh_Cve_Vehiculo, Af_Cve_Activo_Fijo) VALUES ('0000000001', '0000000010')"_s);
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('A', 'B')"_s);
        exec(u"CREATE TABLE Marca_Extra (Mx_Clave VARCHAR(4), Mx_Nombre VARCHAR(20))"_s);
        exec(u"INSERT INTO Marca_Extra VALUES ('01', 'Acme')"_s);

        if (!expected.startsWith(u'!')) {
            QCOMPARE(utilerias.BuscaValor(table, column, value, result, 0, {}, {}, {}), expected);
            return;
        }
        try {
            utilerias.BuscaValor(table, column, value, result);
            QFAIL("an unknown name was accepted");
        } catch (const suite::SuiteError &error) {
            QVERIFY2(error.description().contains(expected.mid(1)), error.what());
            QCOMPARE(utilerias.RegistraError(), error.description());
        }
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM Variable"_s), u"1"_s);
    }

    void registrationFollowsTheTransaction()
    {
        suite::Utilerias utilerias;
        bool ok = false;
        db().BeginTrans();
        utilerias.RegistraBitacora(u"Activo_Fijo"_s, u"0000000007"_s, QString(), ok);
        QVERIFY(ok);
        db().RollbackTrans();
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM Bitacora"_s), u"0"_s);

        ok = false;
        db().BeginTrans();
        utilerias.RegistraBitacora(u"Activo_Fijo"_s, u"00'7"_s, u"Baja"_s, ok);
        db().CommitTrans();
        QVERIFY(ok);
        auto row = db().Execute(u"SELECT Bi_Tabla, Bi_Clave, Bi_Texto, Bi_Operador, Bi_Fecha FROM Bitacora"_s);
        QCOMPARE(row->rowCount(), 1);
        QCOMPARE(row->rows().constFirst().mid(0, 4), (QVariantList{u"Activo_Fijo"_s, u"00'7"_s, u"Baja"_s, u"PRUEBA"_s}));
        const QDateTime stamp = row->Fields(u"Bi_Fecha"_s).toDateTime();
        QVERIFY(stamp.isValid() && stamp.secsTo(utilerias.FechaServidor()) < 24 * 3600); // the server's stamp
    }

    void registrationVetoes()
    {
        suite::Utilerias utilerias;
        bool ok = true;
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('BITACORA_BLOQUEADA', 'Equipo; activo_fijo,Vehículo')"_s);
        db().BeginTrans();
        utilerias.RegistraBitacora(u"Activo_Fijo"_s, u"0000000007"_s, QString(), ok);
        QVERIFY(!ok);
        QVERIFY2(utilerias.RegistraError().contains(u"Activo_Fijo"_s), qPrintable(utilerias.RegistraError()));
        QVERIFY(utilerias.RegistraError().contains(u"BITACORA_BLOQUEADA"_s));
        utilerias.RegistraBitacora(u"Vehiculo"_s, u"0000000001"_s, QString(), ok);
        QVERIFY(!ok);
        utilerias.RegistraBitacora(u"Equipos"_s, u"0000000001"_s, QString(), ok);
        QVERIFY(ok); // only the tables listed
        db().CommitTrans();
        QCOMPARE(scalar(u"SELECT Bi_Tabla FROM Bitacora"_s), u"Equipos"_s);

        // The database's own failure is a refusal too, with the database's words.
        exec(u"DROP TABLE Bitacora"_s);
        db().BeginTrans();
        exec(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo) VALUES ('0000000007')"_s);
        utilerias.RegistraBitacora(u"Equipo_Nuevo"_s, u"0000000007"_s, QString(), ok);
        QVERIFY(!ok);
        QVERIFY2(utilerias.RegistraError().contains(u"bitacora"_s, Qt::CaseInsensitive), qPrintable(utilerias.RegistraError()));
        db().RollbackTrans();
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM Activo_Fijo"_s), u"0"_s);
    }

    void movementsConfigurationAndDates()
    {
        suite::Utilerias utilerias;
        utilerias.RegistraMovimiento(u"ACTIVO_FIJO"_s, u"0000000007"_s, u"Reactivación"_s);
        auto row = db().Execute(u"SELECT Mo_Entidad, Mo_Clave, Mo_Accion, Mo_Operador, Mo_Fecha FROM Movimiento"_s);
        QCOMPARE(row->rowCount(), 1);
        QCOMPARE(row->rows().constFirst().mid(0, 4), (QVariantList{u"ACTIVO_FIJO"_s, u"0000000007"_s, u"Reactivación"_s, u"PRUEBA"_s}));
        QVERIFY(!row->fieldValue(4).isNull());
        exec(u"DROP TABLE Movimiento"_s);
        try {
            utilerias.RegistraMovimiento(u"ACTIVO_FIJO"_s, u"0000000007"_s, u"Baja"_s);
            QFAIL("a failed movement was not reported");
        } catch (const suite::SuiteError &error) {
            QCOMPARE(utilerias.RegistraError(), error.description());
        }

        exec(u"INSERT INTO Configuracion (Cf_Sistema, Cf_Clave, Cf_Valor) VALUES ('Talvexor', 'ALTA', 'Póliza'), "
             "('Otro', 'ALTA', 'X'), ('Talvexor', 'O''K', 'comilla'), ('Talvexor', 'NULO', NULL)"_s);
        QCOMPARE(utilerias.LeeConfiguracion(u"ALTA"_s, u"Talvexor"_s), u"Póliza"_s);
        QCOMPARE(utilerias.LeeConfiguracion(u"ALTA"_s, u"Otro"_s), u"X"_s);
        QCOMPARE(utilerias.LeeConfiguracion(u"O'K"_s, u"Talvexor"_s), u"comilla"_s);
        QCOMPARE(utilerias.LeeConfiguracion(u"NULO"_s, u"Talvexor"_s), QString());

        // Date literals the database accepts and reads back as written.
        const QDateTime leap(QDate(2024, 2, 29), QTime(23, 5, 9));
        QCOMPARE(utilerias.FechaTexto(leap), u"2024-02-29 23:05:09"_s);
        QCOMPARE(utilerias.FechaSql(QDate(1999, 12, 31)), u"1999-12-31"_s);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.FechaSql(QDate()));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.FechaTexto(QDateTime()));
        QVERIFY(qAbs(utilerias.FechaServidor().secsTo(QDateTime::currentDateTime())) < 24 * 3600); // local time, not an epoch
        exec(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Fecha_Compra, Fecha_Alta) VALUES ('1', '%1', '%2')"_s
                 .arg(utilerias.FechaSql(leap), utilerias.FechaTexto(leap)));
        row = db().Execute(u"SELECT Af_Fecha_Compra, Fecha_Alta FROM Activo_Fijo"_s);
        QCOMPARE(row->fieldValue(0).toDate(), QDate(2024, 2, 29));
        QCOMPARE(row->fieldValue(1).toDateTime(), leap);
    }

private:
    suite::Connection &db() { return m_test->connection(); }
    void exec(const QString &statement) { db().Execute(statement); }

    QString scalar(const QString &statement)
    {
        auto row = db().Execute(statement);
        return row->Eof() || row->fieldValue(0).isNull() ? u"<none>"_s : row->fieldValue(0).toString();
    }

    int nextKey(const QString &table, const QString &column)
    {
        int next = -1;
        suite::Utilerias().SiguienteClave(table, column, {}, {}, {}, {}, {}, {}, {}, next);
        return next;
    }

    std::unique_ptr<TestSession> m_test;
};

QTEST_GUILESS_MAIN(ServicesDatabaseTest)
#include "tst_ServicesDatabase.moc"
