#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/RowStream.h"
#include "suite/data/SqlLexer.h"
#include "suite/data/StatementTrace.h"
#include "suite/data/SuiteError.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;
using suite::Connection;
using suite::SuiteError;

// The connection on each backend: what comes back, transactions and errors,
// the dialect's rewrites as text (of the SQL Server constructs the screens
// use, as each backend must receive them) and what they do on a real server.
class TestConnection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lexerGivesBackItsInput()
    {
        for (const QString &sql : {u"SELECT 'it''s', 'x' + ''''"_s, u"SELECT 'open"_s,
                                   u"-- 'a' + b\nSELECT /* + 'x' */ 1"_s,
                                   u"SELECT [Mi Campo], x::text, \"Q\" FROM t"_s,
                                   u"SELECT 'Año' + Descripción FROM Vehículo"_s})
            QCOMPARE(suite::SqlLexer::join(suite::SqlLexer::tokenize(sql)), sql);
    }

    void translation_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        // (The account path function, on both servers: rewritesRunOnTheServer.)
        for (const QString &driver : {u"QSQLITE"_s, u"QPSQL"_s}) {
            auto row = [&](const char *name) { return &QTest::newRow(qPrintable(driver + u": "_s + QString::fromUtf8(name))); };
            *row("columns only stay arithmetic") << driver << u"SELECT a + b, c+1 FROM t"_s << u"SELECT a + b, c+1 FROM t"_s;
            *row("literal ends a chain of columns") << driver << u"SELECT a + b + 'x' FROM t"_s
                                                    << u"SELECT a || b || 'x' FROM t"_s;
            *row("grouped arithmetic kept") << driver << u"SELECT (a + 1) + 'x' FROM t"_s
                                            << u"SELECT (a + 1) || 'x' FROM t"_s;
            *row("separate expressions") << driver << u"SELECT n + 1, 'x' + b FROM t WHERE m = k + 2 AND c = 'p' + d"_s
                                         << u"SELECT n + 1, 'x' || b FROM t WHERE m = k + 2 AND c = 'p' || d"_s;
            *row("comment untouched") << driver << u"-- 'a' + b\nSELECT 'c' + d"_s << u"-- 'a' + b\nSELECT 'c' || d"_s;
            *row("ISNULL") << driver << u"SELECT ISNULL(a, '') FROM t"_s << u"SELECT COALESCE(a, '') FROM t"_s;
            *row("malformed EXEC passes") << driver << u"EXEC Proc a b"_s << u"EXEC Proc a b"_s;
        }
        QTest::newRow("QSQLITE: GETDATE") << u"QSQLITE"_s << u"SELECT GETDATE()"_s
                                          << u"SELECT strftime('%Y-%m-%dT%H:%M:%S', 'now', 'localtime')"_s;
        QTest::newRow("QPSQL: GETDATE") << u"QPSQL"_s << u"SELECT GETDATE() AS f"_s << u"SELECT LOCALTIMESTAMP(0) AS f"_s;
        QTest::newRow("QPSQL: EXEC one argument") << u"QPSQL"_s << u"EXEC Etiqueta_Activo_Fijo '0000000001' "_s
                                                  << u"SELECT * FROM Etiqueta_Activo_Fijo('0000000001')"_s;
        QTest::newRow("QPSQL: EXEC two arguments") << u"QPSQL"_s << u"exec Dos 'O''Hara', 'x + y';"_s
                                                   << u"SELECT * FROM Dos('O''Hara', 'x + y')"_s;
        QTest::newRow("QPSQL: EXECUTE and numbers") << u"QPSQL"_s << u"EXECUTE Tres 1, -2.5, NULL"_s
                                                    << u"SELECT * FROM Tres(1, -2.5, NULL)"_s;
    }

    void translation()
    {
        QFETCH(QString, driver);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(suite::Dialect::create(driver)->translate(input, QSqlDatabase()), expected);
    }

    void valuesErrorsAndTransactions_data() { TestDatabase::addBackendRows(); }
    void valuesErrorsAndTransactions()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        db->Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Costo_Original, Af_Fecha_Compra, Fecha_Alta) "
                    "VALUES ('0000000001', 1234.5678, '2021-03-05', '2024-02-29 13:45:10')"_s);
        auto rs = db->Execute(u"SELECT * FROM Activo_Fijo"_s);
        // Field names match whatever case the backend reports them in.
        QCOMPARE(rs->Fields(u"AF_COSTO_ORIGINAL"_s).toDouble(), 1234.5678);
        QCOMPARE(rs->Fields(u"af_costo_original"_s).metaType().id(), QMetaType::Double);
        QCOMPARE(rs->Fields(u"Af_Fecha_Compra"_s).metaType().id(), QMetaType::QDate);
        QCOMPARE(rs->Fields(u"Af_Fecha_Compra"_s).toDate(), QDate(2021, 3, 5));
        QCOMPARE(rs->Fields(u"Fecha_Alta"_s).toDateTime(), QDateTime(QDate(2024, 2, 29), QTime(13, 45, 10)));
        // NULL is a null value of a valid type.
        QVERIFY(rs->Fields(u"Af_Marca"_s).isValid() && rs->Fields(u"Af_Marca"_s).isNull());
        QVERIFY_THROWS_EXCEPTION(SuiteError, rs->Fields(u"No_Existe"_s));
        int affected = -1;
        db->Execute(u"UPDATE Activo_Fijo SET Af_Marca = 'X' WHERE Af_Cve_Activo_Fijo = '0000000001'"_s, &affected);
        QCOMPARE(affected, 1);
        db->Execute(u"UPDATE Activo_Fijo SET Af_Marca = 'Y' WHERE Af_Cve_Activo_Fijo = 'none'"_s, &affected);
        QCOMPARE(affected, 0);

        const QString insert = u"INSERT INTO Empresa (Em_Cve_Empresa, Em_Descripcion) VALUES ('%1', 'X')"_s;
        const QString total = u"SELECT COUNT(*) FROM Empresa"_s;
        db->BeginTrans();
        db->Execute(insert.arg(u"0001"_s));
        QCOMPARE(firstValue(*db, total).toInt(), 1); // visible inside the transaction
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->BeginTrans());
        db->RollbackTrans();
        QCOMPARE(firstValue(*db, total).toInt(), 0);
        db->BeginTrans();
        db->Execute(insert.arg(u"0002"_s));
        db->CommitTrans();
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->CommitTrans());
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->RollbackTrans());

        // The backend's own text reaches the caller, and a rollback recovers a
        // transaction a statement failed in (a guard's undoing: tst_fault_injection).
        db->BeginTrans();
        const QString duplicate = errorOf(*db, insert.arg(u"0002"_s));
        QVERIFY2(duplicate.contains(backend == u"sqlite"_s ? u"UNIQUE constraint failed"_s : u"duplicate key"_s),
                 qPrintable(duplicate));
        db->RollbackTrans();
        const QString missing = errorOf(*db, u"SELECT * FROM Tabla_Que_No_Existe"_s);
        QVERIFY2(missing.contains(u"tabla_que_no_existe"_s, Qt::CaseInsensitive)
                     && missing.contains(backend == u"sqlite"_s ? u"no such table"_s : u"does not exist"_s),
                 qPrintable(missing));
        db->Execute(insert.arg(u"0003"_s));
        QCOMPARE(firstValue(*db, total).toInt(), 2);

        // In a unit each command is undone alone (the duplicate), an inner
        // unit with what it holds, and the unit's end keeps or drops the rest.
        db->BeginUnit();
        db->BeginTrans();
        db->Execute(insert.arg(u"0004"_s));
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->BeginUnit());
        db->CommitTrans();
        db->BeginTrans();
        QVERIFY(!errorOf(*db, insert.arg(u"0004"_s)).isEmpty());
        db->RollbackTrans();
        db->BeginUnit();
        db->BeginTrans();
        db->Execute(insert.arg(u"0005"_s));
        db->CommitTrans();
        db->RollbackUnit();
        QCOMPARE(firstValue(*db, total).toInt(), 3);
        db->RollbackUnit();
        QCOMPARE(firstValue(*db, total).toInt(), 2);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->CommitUnit());
        db->BeginUnit();
        db->Execute(insert.arg(u"0004"_s));
        db->CommitUnit();
        QCOMPARE(firstValue(*db, total).toInt(), 3);

        // A stream goes on past its batches while other statements run.
        const QString numbers = u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4500) "
                                "SELECT i AS Numero FROM n ORDER BY i"_s;
        if (backend == u"postgresql"_s)
            QVERIFY_THROWS_EXCEPTION(SuiteError, db->stream(numbers));
        db->BeginUnit(true);
        const std::unique_ptr<suite::RowStream> rows = db->stream(numbers);
        QCOMPARE(rows->columnIndex(u"NUMERO"_s), 0);
        int read = 0;
        while (rows->next()) {
            QCOMPARE(rows->value(0).toInt(), ++read);
            if (read % 1000 == 0)
                QCOMPARE(firstValue(*db, total).toInt(), 3);
        }
        QCOMPARE(read, 4500);
        rows->close();
        db->RollbackUnit();
    }

    void rewritesRunOnTheServer_data() { TestDatabase::addBackendRows(); }
    void rewritesRunOnTheServer()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        db->Execute(u"INSERT INTO Empleado (Em_Cve_Empleado, Em_Nombre, Em_Apellido_Paterno, Em_Apellido_Materno) "
                    "VALUES ('00001', 'José', 'O''Neil', 'Peña')"_s);
        QCOMPARE(firstValue(*db, u"SELECT Em_Nombre + ' ' + Em_Apellido_Paterno + ' ' + Em_Apellido_Materno "
                                 "FROM Empleado WHERE Em_Cve_Empleado='00001' and Es_Cve_Estado <> 'BA'"_s).toString(),
                 u"José O'Neil Peña"_s);
        QCOMPARE(firstValue(*db, u"SELECT '[a + b]' + Em_Cve_Empleado + 'it''s' FROM Empleado"_s).toString(), u"[a + b]00001it's"_s);
        QCOMPARE(firstValue(*db, u"SELECT 2 + 3 + LENGTH(Em_Nombre) FROM Empleado"_s).toInt(), 9);

        // The account path: orphans end the chain, and so does the first account seen twice.
        db->Execute(u"INSERT INTO Cuenta_Contable (Cc_Cve_Cuenta_Contable, Cc_Descripcion, Cc_Cuenta_Padre) VALUES "
                    "('1000', 'Activo', ''), ('1200', 'Activo fijo', '1000'), ('1201', 'Equipo de computo', '1200'), "
                    "('7001', 'Huérfana', '9999'), ('8001', 'Ida', '8002'), ('8002', 'Vuelta', '8001'), "
                    "('8100', 'Ciclo propio', '8100')"_s);
        const QString path = u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION "
                             "FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='%1' and Es_Cve_Estado <> 'BA' "_s;
        QCOMPARE(firstValue(*db, path.arg(u"1201"_s)).toString(), u"Activo / Activo fijo / Equipo de computo"_s);
        QCOMPARE(firstValue(*db, path.arg(u"7001"_s)).toString(), u"Huérfana"_s);
        QCOMPARE(firstValue(*db, path.arg(u"8001"_s)).toString(), u"Vuelta / Ida"_s);
        QCOMPARE(firstValue(*db, path.arg(u"8100"_s)).toString(), u"Ciclo propio"_s);
        QVERIFY(firstValue(*db, u"SELECT dbo.Get_Ruta_Cuenta_Contable('no existe') AS R"_s).isNull());

        // Procedures: each argument its own literal (the label's is tst_printing's).
        if (backend == u"sqlite"_s) {
            db->Execute(u"INSERT INTO Procedimiento (Pr_Nombre, Pr_Sentencia) VALUES "
                        "('Dos', 'SELECT :1 AS Uno, :2 AS Dos, '':1'' AS Fijo')"_s);
            QVERIFY(!errorOf(*db, u"EXEC Dos 'solo uno'"_s).isEmpty());
        } else {
            db->Execute(u"CREATE FUNCTION Dos(a text, b text) RETURNS TABLE (uno text, dos text, fijo text) "
                        "LANGUAGE sql AS $$ SELECT a, b, ':1'::text $$"_s);
        }
        QCOMPARE(db->Execute(u"EXEC Dos 'a''b', 'c + d'"_s)->rows(), (QList<QVariantList>{{u"a'b"_s, u"c + d"_s, u":1"_s}}));
        QVERIFY(errorOf(*db, u"EXEC No_Existe 'x'"_s).contains(u"no_existe"_s, Qt::CaseInsensitive));

        // LIKE with the suite's escape: a backslash is only itself, whatever
        // the case (%, _ and quotes: tst_kit_search).
        db->Execute(u"INSERT INTO Cliente (Cl_Cve_Cliente, Cl_Descripcion) VALUES ('1', 'c\\d'), ('2', 'C\\D'), ('3', 'c%d')"_s);
        QCOMPARE(db->Execute(u"SELECT Cl_Cve_Cliente FROM Cliente WHERE Cl_Descripcion "_s + db->dialect().caseInsensitiveLike()
                             + u" '%"_s + suite::Dialect::likeEscape(u"c\\"_s) + u"%'"_s + suite::Dialect::likeEscapeClause()
                             + u" ORDER BY 1"_s)->rows(),
                 (QList<QVariantList>{{u"1"_s}, {u"2"_s}}));
        const QDateTime now = firstValue(*db, db->dialect().currentDateTimeSql()).toDateTime();
        QVERIFY(now.isValid() && qAbs(now.secsTo(QDateTime::currentDateTime())) < 24 * 3600);
        QCOMPARE(db->Execute(db->dialect().limit(u"SELECT * FROM Cliente ;"_s, 2))->rowCount(), 2);
    }

    // What stops a search's statement from another thread: the statement
    // fails at once, where it would run for half a minute or more, and the
    // link stays usable.
    void interruptedFromAnotherThread_data() { TestDatabase::addBackendRows(); }
    void interruptedFromAnotherThread()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        const std::function<void()> interrupt = db->dialect().interrupter(db->database());
        std::atomic<bool> done{false};
        std::thread stopper([&] {
            while (!done) {
                interrupt();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        const QString endless = backend == u"sqlite"_s
            ? u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300000000) SELECT COUNT(*) FROM n"_s
            : u"SELECT pg_sleep(30)"_s;
        const QString error = errorOf(*db, endless);
        done = true;
        stopper.join();
        QVERIFY(!error.isEmpty());
        QCOMPARE(firstValue(*db, u"SELECT COUNT(*) FROM Empresa"_s).toInt(), 0);
    }

    // A shared file: another process reads the last committed state while a write is open.
    void sharedSqliteFile()
    {
        QTemporaryDir dir;
        auto writer = TestDatabase::sqliteFile(dir.filePath(u"compartida.db"_s));
        auto reader = TestDatabase::sqliteFile(dir.filePath(u"compartida.db"_s));
        QCOMPARE(firstValue(*reader, u"PRAGMA journal_mode"_s).toString(), u"wal"_s);
        writer->BeginTrans();
        writer->Execute(u"INSERT INTO Proyecto (Py_Cve_Proyecto, Py_Descripcion) VALUES ('1', 'Nuevo')"_s);
        QCOMPARE(firstValue(*reader, u"SELECT COUNT(*) FROM Proyecto"_s).toInt(), 0);
        writer->CommitTrans();
        QCOMPARE(firstValue(*reader, u"SELECT COUNT(*) FROM Proyecto"_s).toInt(), 1);
    }

    void traceWritesEveryStatement()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"trace.log"_s);
        qputenv("TALVEXOR_SQL_TRACE", path.toUtf8());
        auto db = TestDatabase::sqlite();
        qunsetenv("TALVEXOR_SQL_TRACE");
        db->Execute(u"SELECT 'a' + Em_Nombre FROM Empleado"_s);
        QVERIFY(!errorOf(*db, u"SELEC mal"_s).isEmpty());

        // As sent to the driver, failures included; nothing without the variable.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() >= 2 && lines.at(lines.size() - 2).endsWith(u" us] SELECT 'a' || Em_Nombre FROM Empleado"_s)
                     && lines.last().startsWith(u"[sql "_s) && lines.last().endsWith(u" us] SELEC mal"_s),
                 qPrintable(lines.join(u'\n')));
        QVERIFY(!TestDatabase::sqlite()->findChild<suite::StatementTrace *>());
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
