#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SqlText.h"
#include "suite/data/StatementTrace.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Connection;
using suite::SuiteError;

namespace {

QString scalarText(Connection &c, const QString &sql)
{
    auto rs = c.Execute(sql);
    return rs->Eof() ? u"<no row>"_s : rs->fieldValue(0).toString();
}

int count(Connection &c, const QString &sql)
{
    return c.Execute(sql)->fieldValue(0).toInt();
}

} // namespace

// The connection on each backend: what comes back, what the dialect makes
// of the suite's statements, transactions and errors.
class TestConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesComeBackTyped_data() { TestDatabase::addBackendRows(); }

    void valuesComeBackTyped()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);

        const QString name = u"Sillón de piel d'Ávila"_s;
        db->Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Af_Costo_Original, Af_Vida_Util, "
                    "Af_Fecha_Compra, Fecha_Alta, Af_UserDef_3) VALUES ('0000000001', '"_s + suite::sqlEscape(name)
                    + u"', 1234.5678, 7, '2021-03-05', '2024-02-29 13:45:10', 0.25)"_s);
        auto rs = db->Execute(u"SELECT * FROM Activo_Fijo"_s);
        QVERIFY(!rs->Eof());
        QCOMPARE(rs->Fields(u"Af_Descripcion"_s).toString(), name);
        // Field names match whatever case the backend reports them in.
        QCOMPARE(rs->Fields(u"AF_COSTO_ORIGINAL"_s).toDouble(), 1234.5678);
        QCOMPARE(rs->Fields(u"af_costo_original"_s).metaType().id(), QMetaType::Double);
        QCOMPARE(rs->Fields(u"Af_UserDef_3"_s).toDouble(), 0.25);
        QCOMPARE(rs->Fields(u"Af_Vida_Util"_s).toInt(), 7);
        QCOMPARE(rs->Fields(u"Af_Fecha_Compra"_s).toDate(), QDate(2021, 3, 5));
        QCOMPARE(rs->Fields(u"Af_Fecha_Compra"_s).metaType().id(), QMetaType::QDate);
        QCOMPARE(rs->Fields(u"Fecha_Alta"_s).toDateTime(), QDateTime(QDate(2024, 2, 29), QTime(13, 45, 10)));
        // NULL is a null value of a valid type; a default applies where declared.
        const QVariant brand = rs->Fields(u"Af_Marca"_s);
        QVERIFY(brand.isValid() && brand.isNull());
        QVERIFY(rs->Fields(u"Af_Ultima_Depreciacion"_s).isValid() && rs->Fields(u"Af_Ultima_Depreciacion"_s).isNull());
        QCOMPARE(rs->Fields(u"Es_Cve_Estado"_s).toString(), u"AC"_s);
        QCOMPARE(rs->Fields(u"Af_Depreciacion_Acumulada_Contable"_s).toDouble(), 0.0);
        QVERIFY_THROWS_EXCEPTION(SuiteError, rs->Fields(u"No_Existe"_s));

        int affected = -1;
        db->Execute(u"UPDATE Activo_Fijo SET Af_Marca = 'X' WHERE Af_Cve_Activo_Fijo = '0000000001'"_s, &affected);
        QCOMPARE(affected, 1);
        db->Execute(u"UPDATE Activo_Fijo SET Af_Marca = 'Y' WHERE Af_Cve_Activo_Fijo = 'none'"_s, &affected);
        QCOMPARE(affected, 0);
        QVERIFY(db->Execute(u"DELETE FROM Activo_Fijo WHERE 1 = 0"_s)->Eof());
    }
    void concatenationRuns_data() { TestDatabase::addBackendRows(); }

    void concatenationRuns()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);

        db->Execute(u"INSERT INTO Empleado (Em_Cve_Empleado, Em_Nombre, Em_Apellido_Paterno, Em_Apellido_Materno) "
                    "VALUES ('00001', 'José', 'O''Neil', 'Peña')"_s);
        QCOMPARE(scalarText(*db, u"SELECT Em_Nombre + ' ' + Em_Apellido_Paterno + ' ' + Em_Apellido_Materno "
                                 "FROM Empleado WHERE Em_Cve_Empleado='00001' and Es_Cve_Estado <> 'BA'"_s),
                 u"José O'Neil Peña"_s);
        QCOMPARE(scalarText(*db, u"SELECT '[a + b]' + Em_Cve_Empleado + 'it''s' FROM Empleado"_s),
                 u"[a + b]00001it's"_s);
        // Numbers still add up.
        QCOMPARE(scalarText(*db, u"SELECT 2 + 3 + LENGTH(Em_Nombre) FROM Empleado"_s).toInt(), 9);
    }
    void accountPath_data() { TestDatabase::addBackendRows(); }

    void accountPath()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);

        db->Execute(u"INSERT INTO Cuenta_Contable (Cc_Cve_Cuenta_Contable, Cc_Descripcion, Cc_Cuenta_Padre) VALUES "
                    "('1000', 'Activo', ''), ('1200', 'Activo fijo', '1000'), ('1201', 'Equipo de computo', '1200'), "
                    "('7001', 'Huérfana', '9999'), ('8001', 'Ida', '8002'), ('8002', 'Vuelta', '8001'), "
                    "('8100', 'Ciclo propio', '8100')"_s);
        const QString lookup = u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION "
                               "FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='%1' and Es_Cve_Estado <> 'BA' "_s;
        QCOMPARE(scalarText(*db, lookup.arg(u"1201"_s)), u"Activo / Activo fijo / Equipo de computo"_s);
        QCOMPARE(scalarText(*db, lookup.arg(u"1000"_s)), u"Activo"_s);
        QCOMPARE(scalarText(*db, lookup.arg(u"7001"_s)), u"Huérfana"_s);
        // Parent chains that loop end at the first account seen twice.
        QCOMPARE(scalarText(*db, lookup.arg(u"8001"_s)), u"Vuelta / Ida"_s);
        QCOMPARE(scalarText(*db, lookup.arg(u"8100"_s)), u"Ciclo propio"_s);
        QVERIFY(db->Execute(u"SELECT dbo.Get_Ruta_Cuenta_Contable('no existe') AS R"_s)->Fields(u"R"_s).isNull());
    }
    void storedProcedures_data() { TestDatabase::addBackendRows(); }

    void storedProcedures()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);

        db->Execute(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('0001', 'Industrias Norte')"_s);
        db->Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Em_Cve_Empresa, Af_Numero_Serie, "
                    "Af_Marca, Af_Modelo) VALUES ('0000000007', 'Torno CNC', '0001', 'MQ-77', 'Metalmec', 'CNC-1600'), "
                    "('O''X', 'Con comilla', '0001', 'Q', '', '')"_s);

        auto rs = db->Execute(u"EXEC Etiqueta_Activo_Fijo '0000000007' "_s);
        QCOMPARE(rs->rowCount(), 1);
        QCOMPARE(rs->Fields(u"AF_DESCRIPCION"_s).toString(), u"Torno CNC"_s);
        QCOMPARE(rs->Fields(u"Em_Descripcion"_s).toString(), u"Industrias Norte"_s);
        // A quote in the argument is data, not statement.
        QCOMPARE(db->Execute(u"EXEC Etiqueta_Activo_Fijo 'O''X'"_s)->Fields(u"Af_Descripcion"_s).toString(),
                 u"Con comilla"_s);
        QCOMPARE(db->Execute(u"EXEC Etiqueta_Activo_Fijo '0000000099'"_s)->rowCount(), 0);

        // Two arguments, each substituted as its own literal.
        if (backend == u"sqlite"_s) {
            db->Execute(u"INSERT INTO Procedimiento (Pr_Nombre, Pr_Sentencia) VALUES "
                        "('Dos', 'SELECT :1 AS Uno, :2 AS Dos, '':1'' AS Fijo')"_s);
            QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"EXEC Dos 'solo uno'"_s));
        } else {
            db->Execute(u"CREATE FUNCTION Dos(a text, b text) RETURNS TABLE (uno text, dos text, fijo text) "
                        "LANGUAGE sql AS $$ SELECT a, b, ':1'::text $$"_s);
        }
        rs = db->Execute(u"EXEC Dos 'a''b', 'c + d'"_s);
        QCOMPARE(rs->Fields(u"Uno"_s).toString(), u"a'b"_s);
        QCOMPARE(rs->Fields(u"Dos"_s).toString(), u"c + d"_s);
        QCOMPARE(rs->Fields(u"Fijo"_s).toString(), u":1"_s);

        try {
            db->Execute(u"EXEC No_Existe 'x'"_s);
            QFAIL("an unknown procedure ran");
        } catch (const SuiteError &error) {
            QVERIFY2(error.description().contains(u"no_existe"_s, Qt::CaseInsensitive), error.what());
        }
    }
    void transactions_data() { TestDatabase::addBackendRows(); }

    void transactions()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        const QString insert = u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('%1', 'X')"_s;
        const QString total = u"SELECT COUNT(*) FROM Empresa"_s;

        db->BeginTrans();
        QVERIFY(db->inTransaction());
        db->Execute(insert.arg(u"0001"_s));
        QCOMPARE(count(*db, total), 1); // visible inside the transaction
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->BeginTrans());
        db->RollbackTrans();
        QVERIFY(!db->inTransaction());
        QCOMPARE(count(*db, total), 0);

        db->BeginTrans();
        db->Execute(insert.arg(u"0002"_s));
        db->CommitTrans();
        QCOMPARE(count(*db, total), 1);

        QVERIFY_THROWS_EXCEPTION(SuiteError, db->CommitTrans());
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->RollbackTrans());

        // A guard that is not committed undoes everything, also when an error
        // leaves the command early.
        try {
            suite::TransactionGuard guard(*db);
            db->Execute(insert.arg(u"0003"_s));
            db->Execute(insert.arg(u"0002"_s)); // duplicate key
            guard.commit();
            QFAIL("a duplicate key was accepted");
        } catch (const SuiteError &) {
        }
        QVERIFY(!db->inTransaction());
        QCOMPARE(count(*db, total), 1);
        {
            suite::TransactionGuard guard(*db);
            db->Execute(insert.arg(u"0004"_s));
            guard.commit();
        }
        QCOMPARE(count(*db, total), 2);
    }
    void databaseErrorsReachTheCaller_data() { TestDatabase::addBackendRows(); }

    void databaseErrorsReachTheCaller()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);

        try {
            db->Execute(u"SELECT * FROM Tabla_Que_No_Existe"_s);
            QFAIL("a missing table was read");
        } catch (const SuiteError &error) {
            const QString text = error.description();
            QVERIFY2(text.contains(u"tabla_que_no_existe"_s, Qt::CaseInsensitive), error.what());
            QVERIFY2(text.contains(backend == u"sqlite"_s ? u"no such table"_s : u"does not exist"_s), error.what());
        }
        db->Execute(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('0001', 'A')"_s);
        try {
            db->Execute(u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('0001', 'B')"_s);
            QFAIL("a duplicate key was accepted");
        } catch (const SuiteError &error) {
            QVERIFY2(error.description().contains(backend == u"sqlite"_s ? u"UNIQUE constraint failed"_s
                                                                        : u"duplicate key"_s),
                     error.what());
        }
        // After a failed statement inside a transaction the connection recovers
        // with a rollback.
        db->BeginTrans();
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"SELECT Columna_Falsa FROM Empresa"_s));
        db->RollbackTrans();
        QCOMPARE(scalarText(*db, u"SELECT Em_Descripcion FROM Empresa"_s), u"A"_s);
    }
    void helpersRunOnTheServer_data() { TestDatabase::addBackendRows(); }

    void helpersRunOnTheServer()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        const auto &dialect = db->dialect();

        const QDateTime now = db->Execute(dialect.currentDateTimeSql())->fieldValue(0).toDateTime();
        QVERIFY2(now.isValid(), qPrintable(db->Execute(dialect.currentDateTimeSql())->fieldValue(0).toString()));
        QVERIFY(qAbs(now.secsTo(QDateTime::currentDateTime())) < 24 * 3600);

        const QStringList descriptions = {u"50% menos"_s, u"50 menos"_s, u"a_b"_s, u"axb"_s, u"c\\d"_s, u"C\\D"_s,
                                          u"O'Hara"_s};
        int n = 0;
        for (const QString &d : descriptions) {
            db->Execute(u"INSERT INTO Cliente (Cl_Cve_Cliente, Cl_Descripcion) VALUES ('%1', '%2')"_s
                            .arg(++n).arg(suite::sqlEscape(d)));
        }
        auto matches = [&](const QString &filter) {
            const QString sql = u"SELECT Cl_Descripcion FROM Cliente WHERE Cl_Descripcion "_s + dialect.caseInsensitiveLike()
                + u" '%"_s + suite::sqlEscape(suite::Dialect::likeEscape(filter)) + u"%'"_s + suite::Dialect::likeEscapeClause()
                + u" ORDER BY Cl_Cve_Cliente"_s;
            QStringList found;
            for (auto rs = db->Execute(sql); !rs->Eof(); rs->MoveNext())
                found.append(rs->fieldValue(0).toString());
            return found;
        };
        QCOMPARE(matches(u"0%"_s), QStringList{u"50% menos"_s});
        QCOMPARE(matches(u"a_"_s), QStringList{u"a_b"_s});
        QCOMPARE(matches(u"c\\"_s), (QStringList{u"c\\d"_s, u"C\\D"_s}));
        QCOMPARE(matches(u"'h"_s), QStringList{u"O'Hara"_s});

        QCOMPARE(db->Execute(dialect.limit(u"SELECT * FROM Cliente ORDER BY Cl_Cve_Cliente"_s, 3))->rowCount(), 3);
        QVERIFY(db->tableExists(u"ACTIVO_FIJO"_s));
        QVERIFY(!db->tableExists(u"Activo"_s));
        QVERIFY(db->columnNames(u"activo_fijo_centro_costo"_s).contains(u"Acc_Porcentaje"_s, Qt::CaseInsensitive));
    }

    void recordsetCursor()
    {
        suite::Recordset rs({u"A"_s, u"B"_s}, {{1, u"x"_s}, {2, u"y"_s}});
        QCOMPARE(rs.rowCount(), 2);
        QCOMPARE(rs.Fields(u"b"_s).toString(), u"x"_s);
        rs.MoveNext();
        QCOMPARE(rs.Fields(u"a"_s).toInt(), 2);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QVERIFY_THROWS_EXCEPTION(SuiteError, rs.Fields(u"A"_s));
        QVERIFY_THROWS_EXCEPTION(SuiteError, rs.MoveNext());
        rs.MoveFirst();
        QCOMPARE(rs.fieldValue(1).toString(), u"x"_s);
        QVERIFY_THROWS_EXCEPTION(SuiteError, rs.fieldValue(2));
        rs.Close();
        QVERIFY(rs.Eof());
        QVERIFY_THROWS_EXCEPTION(SuiteError, rs.Fields(u"A"_s));
        QVERIFY(suite::Recordset().Eof());
    }

    void badUrlsAreRefused()
    {
        QVERIFY_THROWS_EXCEPTION(SuiteError, Connection::open(u"mysql://x@y/z"_s));
        QVERIFY_THROWS_EXCEPTION(SuiteError, Connection::open(u"sqlite:"_s));
        QVERIFY_THROWS_EXCEPTION(SuiteError, Connection::open(u"sqlite:/no/such/dir/x.db"_s));
        // Every connection has its own name: two in-memory databases are apart.
        auto a = TestDatabase::sqlite();
        auto b = TestDatabase::sqlite();
        a->Execute(u"INSERT INTO Empresa (Em_Cve_Empresa) VALUES ('0001')"_s);
        QCOMPARE(count(*b, u"SELECT COUNT(*) FROM Empresa"_s), 0);
        QVERIFY(a->database().connectionName() != b->database().connectionName());
    }

    void sharedSqliteFile()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"compartida.db"_s);
        auto writer = TestDatabase::sqliteFile(path);
        auto reader = TestDatabase::sqliteFile(path);
        QCOMPARE(scalarText(*reader, u"PRAGMA journal_mode"_s), u"wal"_s);

        writer->BeginTrans();
        writer->Execute(u"INSERT INTO Proyecto (Py_Cve_Proyecto, Py_Descripcion) VALUES ('1', 'Nuevo')"_s);
        // The other process reads the last committed state while a write is open.
        QCOMPARE(count(*reader, u"SELECT COUNT(*) FROM Proyecto"_s), 0);
        writer->CommitTrans();
        QCOMPARE(count(*reader, u"SELECT COUNT(*) FROM Proyecto"_s), 1);
    }

    void traceWritesEveryStatement()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"trace.log"_s);
        qputenv("TALVEXOR_SQL_TRACE", path.toUtf8());
        auto db = TestDatabase::sqlite();
        qunsetenv("TALVEXOR_SQL_TRACE");
        db->Execute(u"SELECT 'a' + Em_Nombre FROM Empleado"_s);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"SELEC mal"_s));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        // Statements are traced as sent to the driver, failures included.
        QVERIFY(lines.size() >= 2);
        QVERIFY2(lines.at(lines.size() - 2).endsWith(u"SELECT 'a' || Em_Nombre FROM Empleado"_s), qPrintable(lines.join(u'\n')));
        QVERIFY(lines.last().endsWith(u"SELEC mal"_s));
        QVERIFY(lines.last().startsWith(u"[sql "_s));
        QVERIFY(lines.last().contains(u" us] "_s));
        // Without the variable nothing is attached.
        auto quiet = TestDatabase::sqlite();
        QVERIFY(!quiet->findChild<suite::StatementTrace *>());
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_Connection.moc"
