#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Connection;
using suite::SuiteError;

namespace {

// A small write command: four statements between BEGIN and COMMIT, touching
// rows that exist before it and rows it adds (one with a numbered key).
const QStringList commandStatements = {
    u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Af_Costo_Original, Af_Fecha_Compra) "
    "VALUES ('0000000002', 'Escritorio', 2500.75, '2024-03-05')"_s,
    u"UPDATE Activo_Fijo SET Af_Descripcion = 'Silla giratoria' WHERE Af_Cve_Activo_Fijo = '0000000001'"_s,
    u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) "
    "VALUES ('0000000002', '000001', 100)"_s,
    u"INSERT INTO Bitacora (Bi_Tabla, Bi_Clave, Bi_Texto) VALUES ('Activo_Fijo', '0000000002', 'Alta')"_s,
};

void runCommand(Connection &db)
{
    suite::TransactionGuard transaction(db);
    for (const QString &statement : commandStatements)
        db.Execute(statement);
    transaction.commit();
}

void seed(Connection &db)
{
    db.Execute(u"INSERT INTO Centro_Costo (Cc_Cve_Centro_Costo, Cc_Descripcion) VALUES ('000001', 'Administración')"_s);
    db.Execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Af_Costo_Original) "
               "VALUES ('0000000001', 'Silla', 100.5)"_s);
}

int count(Connection &db, const QString &table)
{
    return db.Execute(u"SELECT COUNT(*) AS n FROM "_s + table)->Fields(u"n"_s).toInt();
}

// BEGIN, the command's statements, COMMIT: what a fault at N = 1, 2, ... hits.
QStringList countedStatements(const Connection &db)
{
    return QStringList{db.dialect().beginSql()} + commandStatements + QStringList{db.dialect().commitSql()};
}

} // namespace

// The fault hook of the connection, used the way tests of write commands use
// it: a fault at every statement in turn, the whole database compared.
class TestFaultInjection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultAtEveryStatementLeavesNothing_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<bool>("loseLink");
        QTest::newRow("sqlite") << u"sqlite"_s << false;
        QTest::newRow("sqlite, link lost") << u"sqlite"_s << true;
        QTest::newRow("postgresql") << u"postgresql"_s << false;
        QTest::newRow("postgresql, link lost") << u"postgresql"_s << true;
    }

    void faultAtEveryStatementLeavesNothing()
    {
        QFETCH(QString, backend);
        QFETCH(bool, loseLink);
        QTemporaryDir dir;
        std::unique_ptr<Connection> db;
        if (backend == u"sqlite"_s && loseLink) {
            db = TestDatabase::sqliteFile(dir.filePath(u"enlace.db"_s)); // closing :memory: would discard it
        } else {
            TALVEXOR_OPEN_OR_SKIP(opened, backend, false);
            db = std::move(opened);
        }
        seed(*db);
        const TableSnapshot before = TableSnapshot::take(*db);
        QSignalSpy fired(db.get(), &Connection::faultFired);

        QStringList struck;
        for (int n = 1;; ++n) {
            // Every other run with a text of the caller's, which replaces the default.
            const QString text = n % 2 == 0 ? u"Disco lleno (%1)"_s.arg(n) : QString();
            loseLink ? db->armLinkLoss(n, text) : db->armFault(n, text);
            QString error;
            try {
                runCommand(*db);
            } catch (const SuiteError &e) {
                error = e.description();
            }
            if (db->faultStatement() == 0) {
                QVERIFY2(error.isEmpty(), qPrintable(error));
                db->disarmFault();
                break;
            }
            QCOMPARE(db->faultStatement(), n);
            struck.append(db->faultSql());
            QCOMPARE(fired.size(), n);
            QCOMPARE(fired.last(), (QVariantList{n, db->faultSql()}));
            const QString where = u"sentencia %1: %2"_s.arg(n).arg(db->faultSql());
            QCOMPARE(error, !text.isEmpty() ? text
                            : loseLink ? u"Se perdió la conexión con la base de datos (falla simulada en la "_s + where + u')'
                                       : u"Falla simulada en la "_s + where);
            QCOMPARE(db->database().isOpen(), !loseLink);
            QVERIFY(!db->inTransaction());
            // A lost link is reopened by the snapshot's first statement.
            const TableSnapshot after = TableSnapshot::take(*db);
            QVERIFY2(after == before, qPrintable(where + u'\n' + before.difference(after)));
        }
        // Each N struck the next statement, up to a COMMIT that then committed
        // nothing; past the last one the command is whole.
        QCOMPARE(struck, countedStatements(*db));
        QVERIFY(TableSnapshot::take(*db) != before);
        QCOMPARE(count(*db, u"Bitacora"_s), 1);
    }

    void countsWhatReachesTheDriver_data() { TestDatabase::addBackendRows(); }

    void countsWhatReachesTheDriver()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        QSignalSpy executed(db.get(), &Connection::statementExecuted);

        // A struck statement never reaches the database, in a transaction or not.
        db->armFault(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES ('P1')"_s));
        QCOMPARE(executed.size(), 0);
        QCOMPARE(count(*db, u"Proveedor"_s), 0);

        // A ROLLBACK is not counted: the fault goes on to the next statement.
        db->armFault(2);
        db->BeginTrans();
        db->RollbackTrans();
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"SELECT 1 AS uno"_s));
        QCOMPARE(db->faultSql(), u"SELECT 1 AS uno"_s);

        // Disarmed, it never fires; a snapshot is refused while one is armed.
        db->armFault(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, TableSnapshot::take(*db));
        db->disarmFault();
        QCOMPARE(db->Execute(u"SELECT 3 AS tres"_s)->Fields(u"tres"_s).toInt(), 3);
        QCOMPARE(db->faultStatement(), 0);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->armFault(0));
    }

    void lostLinkInsideATransaction_data() { TestDatabase::addBackendRows(); }

    void lostLinkInsideATransaction()
    {
        QFETCH(QString, backend);
        QTemporaryDir dir;
        std::unique_ptr<Connection> db;
        if (backend == u"sqlite"_s) {
            QVERIFY_THROWS_EXCEPTION(SuiteError, TestDatabase::sqlite()->armLinkLoss(1));
            db = TestDatabase::sqliteFile(dir.filePath(u"enlace.db"_s));
        } else {
            TALVEXOR_OPEN_OR_SKIP(opened, backend, false);
            db = std::move(opened);
        }
        seed(*db);

        // Later statements fail plainly until the caller rolls back, which
        // does not throw; then the link comes back.
        db->BeginTrans();
        db->armLinkLoss(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"DELETE FROM Activo_Fijo"_s));
        try {
            db->Execute(u"SELECT 1 AS uno"_s);
            QFAIL("a statement ran in a transaction whose link was lost");
        } catch (const SuiteError &e) {
            QVERIFY2(e.description().contains(u"transacción en curso se deshizo"_s), e.what());
        }
        QVERIFY(db->inTransaction());
        db->RollbackTrans();
        QVERIFY(!db->inTransaction());
        QCOMPARE(count(*db, u"Activo_Fijo"_s), 1);

        if (backend != u"sqlite"_s)
            return;
        // A reopen that fails says so and is tried again by the next statement.
        db->armLinkLoss(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"SELECT 1 AS uno"_s));
        const QString away = dir.path() + u"-fuera"_s;
        QVERIFY(QDir().rename(dir.path(), away));
        try {
            db->Execute(u"SELECT 1 AS uno"_s);
            QFAIL("the link reopened on a database that is not there");
        } catch (const SuiteError &e) {
            QVERIFY2(e.description().startsWith(u"No se pudo restablecer la conexión con la base de datos: "_s), e.what());
        }
        QVERIFY(QDir().rename(away, dir.path()));
        QCOMPARE(count(*db, u"Activo_Fijo"_s), 1);
    }

    void snapshotRendersValuesAlikeOnBothBackends_data() { TestDatabase::addBackendRows(); }

    void snapshotRendersValuesAlikeOnBothBackends()
    {
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, false);
        db->Execute(u"INSERT INTO Activo_Fijo_Depreciacion (Af_Cve_Activo_Fijo, Ad_Tipo, Ad_Fecha, Ad_Centro_Costo, "
                    "Ad_Importe, Oper_Alta, Fecha_Alta) VALUES "
                    "('0001', 'CO', '2024-01-31', NULL, 1500, 'ANA', '2024-02-29 13:45:10'), "
                    "('0001', 'FI', '2024-02-29', 'NULL', 12.3456, 'O''Neil', NULL)"_s);
        db->Execute(u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) "
                    "VALUES ('0001', '000002', 33.333333333), ('0001', '000001', 66.666666667)"_s);
        const TableSnapshot before = TableSnapshot::take(*db);

        // The same text on either backend, whatever types its driver returns.
        QCOMPARE(before.rows(u"Activo_Fijo_Depreciacion"_s),
                 (QStringList{u"(1, '0001', 'CO', 'AC', 2024-01-31, NULL, 1500, 'ANA', 2024-02-29 13:45:10.000)"_s,
                              u"(2, '0001', 'FI', 'AC', 2024-02-29, 'NULL', 12.3456, 'O''Neil', NULL)"_s}));
        QCOMPARE(before.rows(u"Activo_Fijo_Centro_Costo"_s),
                 (QStringList{u"('0001', '000001', 66.666666667)"_s, u"('0001', '000002', 33.333333333)"_s}));
        QVERIFY(before.rows(u"Activo_Fijo"_s).isEmpty());
        QVERIFY(TableSnapshot::take(*db) == before);
        QVERIFY(before.difference(TableSnapshot::take(*db)).isEmpty());

        db->Execute(u"UPDATE Activo_Fijo_Depreciacion SET Ad_Importe = 1500.5 WHERE Ad_Tipo = 'CO'"_s);
        db->Execute(u"DELETE FROM Activo_Fijo_Centro_Costo WHERE Cc_Cve_Centro_Costo = '000002'"_s);
        const TableSnapshot after = TableSnapshot::take(*db);
        QVERIFY(after != before);
        const QString difference = before.difference(after);
        const QStringList lines = difference.split(u'\n', Qt::SkipEmptyParts);
        // Only the tables that changed; a changed row is one in and one out.
        const QString stamp = u"Oper_Alta='ANA', Fecha_Alta=2024-02-29 13:45:10.000"_s;
        QCOMPARE(lines, (QStringList{
            u"Activo_Fijo_Centro_Costo:"_s,
            u"  - Af_Cve_Activo_Fijo='0001', Cc_Cve_Centro_Costo='000002', Acc_Porcentaje=33.333333333"_s,
            u"Activo_Fijo_Depreciacion:"_s,
            u"  + Ad_Numero=1, Af_Cve_Activo_Fijo='0001', Ad_Tipo='CO', Es_Cve_Estado='AC', Ad_Fecha=2024-01-31, "
            "Ad_Importe=1500.5, "_s + stamp,
            u"  - Ad_Numero=1, Af_Cve_Activo_Fijo='0001', Ad_Tipo='CO', Es_Cve_Estado='AC', Ad_Fecha=2024-01-31, "
            "Ad_Importe=1500, "_s + stamp}));
    }
};

QTEST_GUILESS_MAIN(TestFaultInjection)
#include "tst_FaultInjection.moc"
