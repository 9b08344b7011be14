#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/services/AdditionalFields.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "suite/session/Session.h"
#include "tests/support/TestSession.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Every case runs on SQLite and, when TALVEXOR_PG_URL names a server, on
// PostgreSQL. Registering movements and the audit trail inside a save, the
// configuration's look-up and the server's dates are covered end to end.
class ServicesDatabaseTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { TestDatabase::addBackendRows(); }
    void init()
    {
        QFETCH_GLOBAL(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(connection, backend, false)
        m_test = std::make_unique<TestSession>(std::move(connection));
    }
    void cleanup() { m_test.reset(); }

    // A variable set or missing (its default), start-up refusing an unreadable
    // one, and an option of this user and component, another component's not,
    // are covered end to end; here another user's option, quotes and Null.
    void variablesAndOptions()
    {
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('CAT_MARCA', ''), ('FTO_VEHICULO', NULL), "
             "('O''NEIL', 'it''s'), ('O''NEILX', 'otra'), ('NUM', '12.5'), ('TXT', 'abc')"_s);
        suite::Entorno entorno;
        auto read = [&](const QString &name, const QString &typeCode, const QString &defaultValue) {
            const QVariant v = entorno.LeeVariable(name, 0, typeCode, defaultValue);
            return !v.isValid() ? u"Empty"_s : v.isNull() ? u"Null"_s : QString::fromLatin1(v.typeName()) + u':' + v.toString();
        };
        QCOMPARE(read(u"CAT_MARCA"_s, u"T"_s, {}), u"QString:"_s);             // stored empty text
        QCOMPARE(read(u"FTO_CLIENTE"_s, {}, {}), u"Empty"_s);                   // missing, no default
        QCOMPARE(read(u"FTO_VEHICULO"_s, u"T"_s, u"0000000000"_s), u"Null"_s); // Null beats the default
        QCOMPARE(read(u"O'NEIL"_s, u"T"_s, {}), u"QString:it's"_s);
        QCOMPARE(entorno.LeeVariable(u"NUM"_s, 0, u"N"_s, {}).toDouble(), 12.5);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, entorno.LeeVariable(u"TXT"_s, 0, u"N"_s, {}));
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, entorno.LeeVariable(u"TXT"_s, 0, u"Z"_s, {}));

        exec(u"INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, Op_Valor) VALUES "
             "('PRUEBA', 'XB733', 'CAT001', 'SI'), ('OTRO', 'XB733', 'CAT001', 'NO'), ('PRUEBA', 'XB733', 'CAT002', NULL), "
             "('PRUEBA', 'XB733', 'CAT003', 'quizá'), ('O''HARA', 'XB733', 'CAT001', '-1')"_s);
        const QString text = u"No disponible"_s;
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT002"_s, text), false); // Null
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, entorno.LeeOpcion(u"XB733"_s, u"CAT003"_s, text));
        m_test->session().setUser(u"OTRO"_s);
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT001"_s, text), false);
        m_test->session().setUser(u"O'HARA"_s);
        QCOMPARE(entorno.LeeOpcion(u"XB733"_s, u"CAT001"_s, text), true);
    }

    // Keys hand-typed in any width are skipped; one counter per table, in the
    // caller's transaction. That no issued key needs a scan of its table is
    // covered by the index-use test.
    void keys()
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
        QCOMPARE(next, -1);
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM Clave_Siguiente"_s), u"3"_s);

        // A key wider than its column is refused and the counter is left as it was.
        exec(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('9998', 'A')"_s);
        QCOMPARE(nextKey(u"Empresa"_s, u"Em_Cve_Empresa"_s), 9999);
        exec(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('9999', 'B')"_s);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, nextKey(u"Empresa"_s, u"Em_Cve_Empresa"_s));
        QCOMPARE(scalar(u"SELECT Cs_Ultima FROM Clave_Siguiente WHERE UPPER(Cs_Tabla) = 'EMPRESA'"_s), u"9999"_s);
        QVERIFY(!db().inTransaction());
    }

    // Values match exactly (quoted ones: the saving scenarios), except in the
    // schema's case-blind columns, which fold ASCII and accented letters alike
    // on both backends, in the look-up and in their unique index; names
    // regardless of case and accents, as the screen's own look-ups show end to end.
    void lookups()
    {
        suite::Utilerias utilerias;
        // A first look-up before the tables below fill (and one is made) must not leave a stale catalogue.
        QCOMPARE(utilerias.BuscaValor(u"Empresa"_s, u"Em_Cve_Empresa"_s, u"0001"_s, u"Em_Descripcion"_s), QString());
        exec(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Af_Numero_Serie) "
             "VALUES ('0000000010', 'Camioneta', 'SN-1'), ('0000000011', NULL, 'O''SERIE'), "
             "('0000000012', 'Señal', 'Señal-ö δ')"_s);
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('A', 'B')"_s);
        exec(u"CREATE TABLE Marca_Extra (Mx_Clave VARCHAR(4), Mx_Nombre VARCHAR(20))"_s);
        exec(u"INSERT INTO Marca_Extra VALUES ('01', 'Acme')"_s);
        const QString key = u"Af_Cve_Activo_Fijo"_s, serial = u"Af_Numero_Serie"_s;
        const struct { QString table, column, value, result, expected; } found[] = {
            {u"Activo_Fijo"_s, key, u"0000000011"_s, u"Af_Descripcion"_s, QString()},   // Null
            {u"Activo_Fijo"_s, serial, u"sn-1"_s, key, u"0000000010"_s},                // case-blind
            {u"Activo_Fijo"_s, serial, u"SEÑAL-Ö δ"_s, key, u"0000000012"_s},
            {u"Activo_Fijo"_s, serial, u"SEÑAL-Ö Δ"_s, key, QString()},                 // other letters: exact
            {u"Variable"_s, u"Va_Cve_Variable"_s, u"a"_s, u"Va_Valor"_s, QString()},    // elsewhere case matters
            {u"Activo_Fijo"_s, key, u"x' OR '1'='1"_s, key, QString()},
            {u"MARCA_EXTRA"_s, u"mx_clave"_s, u"01"_s, u"MX_NOMBRE"_s, u"Acme"_s},       // made after the first look-up
        };
        for (const auto &c : found)
            QCOMPARE(utilerias.BuscaValor(c.table, c.column, c.value, c.result, 0, {}, {}, {}), c.expected);
        // Unknown names are refused, naming them, and run nothing.
        const struct { QString table, column, result, named; } refused[] = {
            {u"Activos_Fijos"_s, key, u"Af_Descripcion"_s, u"Activos_Fijos"_s},
            {u"Activo_Fijo"_s, u"Af_Clave"_s, u"Af_Descripcion"_s, u"Af_Clave"_s},
            {u"Activo_Fijo"_s, key, u"Af_Nombre"_s, u"Af_Nombre"_s},
            {u"Variable; DELETE FROM Variable"_s, u"Va_Cve_Variable"_s, u"Va_Valor"_s, u"DELETE"_s},
        };
        for (const auto &c : refused) {
            QVERIFY_THROWS_EXCEPTION(suite::SuiteError, utilerias.BuscaValor(c.table, c.column, u"A"_s, c.result));
            QVERIFY2(utilerias.RegistraError().contains(c.named), qPrintable(utilerias.RegistraError()));
        }
        QCOMPARE(scalar(u"SELECT COUNT(*) FROM Variable"_s), u"1"_s);
        // The unique index finds the same repeats as the look-up.
        for (const QString &serialNumber : {u"sn-1"_s, u"señal-Ö δ"_s})
            QVERIFY2(!errorOf(db(), u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Numero_Serie) VALUES ('X', '%1')"_s
                                        .arg(serialNumber)).isEmpty(), qPrintable(serialNumber));
        QCOMPARE(errorOf(db(), u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Numero_Serie) VALUES ('X', 'SEÑAL-Ö Δ')"_s),
                 QString());
    }

    // A record's additional fields are written back whole: NULL, empty and
    // quoted values read as they were stored; a definition is its table's.
    void additionalFields()
    {
        exec(u"INSERT INTO Campo_Adicional (Ca_Tabla, Ca_Campo, Ca_Titulo, Ca_Orden) VALUES "
             "('Activo_Fijo', 'POLIZA', 'Póliza', 2), ('Activo_Fijo', 'GARANTIA', NULL, 1), ('Empleado', 'TALLA', 'Talla', 1)"_s);
        const suite::AdditionalFields fields(db());
        QCOMPARE(fields.definitions(u"Activo_Fijo"_s),
                 (suite::AdditionalFields::Definitions{{u"GARANTIA"_s, QString()}, {u"POLIZA"_s, u"Póliza"_s}}));
        const QVariant null(QMetaType::fromType<QString>());
        fields.store(u"Activo_Fijo"_s, u"0000000001"_s, {{u"POLIZA"_s, u"P-77 de O'Neil"_s}, {u"VACIO"_s, u""_s}, {u"NULO"_s, null}});
        fields.store(u"Activo_Fijo"_s, u"0000000002"_s, {{u"POLIZA"_s, u"otra"_s}});
        const suite::AdditionalFields::Values back = fields.values(u"Activo_Fijo"_s, u"0000000001"_s);
        QCOMPARE(back.keys(), (QStringList{u"NULO"_s, u"POLIZA"_s, u"VACIO"_s}));
        QVERIFY(back.value(u"NULO"_s).isNull() && !back.value(u"VACIO"_s).isNull());
        QCOMPARE(back.value(u"POLIZA"_s).toString() + back.value(u"VACIO"_s).toString(), u"P-77 de O'Neil"_s);
        fields.store(u"Activo_Fijo"_s, u"0000000001"_s, {{u"POLIZA"_s, u"P-78"_s}});
        QCOMPARE(fields.values(u"Activo_Fijo"_s, u"0000000001"_s).keys(), QStringList{u"POLIZA"_s});
        QCOMPARE(fields.values(u"Activo_Fijo"_s, u"0000000002"_s).value(u"POLIZA"_s).toString(), u"otra"_s);
        // A read that fails is raised, never taken for "no fields".
        db().armFault(1);
        QVERIFY_THROWS_EXCEPTION(suite::SuiteError, fields.values(u"Activo_Fijo"_s, u"0000000002"_s));
    }

    // Registering inside the save's transaction, and a vetoed or failed one
    // stopping the save, are covered end to end; here the variable's list.
    void registrationVetoes()
    {
        suite::Utilerias utilerias;
        bool ok = true;
        exec(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('BITACORA_BLOQUEADA', 'Equipo; activo_fijo,Vehículo')"_s);
        utilerias.RegistraBitacora(u"Activo_Fijo"_s, u"0000000007"_s, QString(), ok);
        QVERIFY(!ok);
        QVERIFY2(utilerias.RegistraError().contains(u"Activo_Fijo"_s), qPrintable(utilerias.RegistraError()));
        QVERIFY(utilerias.RegistraError().contains(u"BITACORA_BLOQUEADA"_s));
        utilerias.RegistraBitacora(u"Vehiculo"_s, u"0000000001"_s, QString(), ok);
        QVERIFY(!ok);
        utilerias.RegistraBitacora(u"Equipos"_s, u"0000000001"_s, QString(), ok);
        QVERIFY(ok); // only the tables listed
        QCOMPARE(scalar(u"SELECT Bi_Tabla FROM Bitacora"_s), u"Equipos"_s);
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
#include "tst_services_database.moc"
