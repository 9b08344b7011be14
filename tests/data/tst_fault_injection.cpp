#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"
#include "tests/support/HostScript.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QSignalSpy>
#include <QFileInfo>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Connection;
using suite::SuiteError;

namespace {

// A small write command: four statements between BEGIN and COMMIT, touching
// a row that exists before it (the seed) and rows it adds.
const QString Seed = u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion) VALUES ('0000000001', 'Silla')"_s;
const QStringList commandStatements = {
    u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Af_Costo_Original) VALUES ('0000000002', 'Escritorio', 2500.75)"_s,
    u"UPDATE Activo_Fijo SET Af_Descripcion = 'Silla giratoria' WHERE Af_Cve_Activo_Fijo = '0000000001'"_s,
    u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) VALUES ('0000000002', '000001', 100)"_s,
    u"INSERT INTO Bitacora (Bi_Tabla, Bi_Clave, Bi_Texto) VALUES ('Activo_Fijo', '0000000002', 'Alta')"_s,
};

} // namespace

// The fault hook of the connection, used the way tests of write commands use
// it: a fault at every statement in turn, the whole database compared. (Its
// texts through the host are tst_host's; a real save's, tst_saving's;
// the snapshot's values alike on both backends, tst_lifecycle's.)
class TestFaultInjection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultAtEveryStatementLeavesNothing_data() { TestDatabase::addBackendRows(); }
    void faultAtEveryStatementLeavesNothing()
    {
        QFETCH(QString, backend);
        for (const bool loseLink : {false, true}) {
            TALVEXOR_HOST_DATABASE_OR_SKIP(host, backend, false); // SQLite on a file: a lost link closes it
            Connection *db = &host->connection();
            db->Execute(Seed);
            const TableSnapshot before = TableSnapshot::take(*db);
            QStringList struck;
            for (int n = 1;; ++n) {
                loseLink ? db->armLinkLoss(n) : db->armFault(n);
                QString error;
                try {
                    suite::TransactionGuard transaction(*db);
                    for (const QString &statement : commandStatements)
                        db->Execute(statement);
                    transaction.commit();
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
                QVERIFY2(error.contains(u"sentencia %1: %2"_s.arg(n).arg(db->faultSql())), qPrintable(error));
                QCOMPARE(db->database().isOpen(), !loseLink);
                QVERIFY(!db->inTransaction());
                // A lost link is reopened by the snapshot's first statement.
                const TableSnapshot after = TableSnapshot::take(*db);
                QVERIFY2(after == before, qPrintable(u"statement %1\n"_s.arg(n) + before.difference(after)));
            }
            // Each N struck the next statement, up to a COMMIT that then
            // committed nothing; past the last one the command is whole.
            QCOMPARE(struck, QStringList{db->dialect().beginSql()} + commandStatements + QStringList{db->dialect().commitSql()});
            QCOMPARE(firstValue(*db, u"SELECT COUNT(*) FROM Bitacora"_s).toInt(), 1);
            // The snapshot sees it, and the smallest change a money column keeps.
            const TableSnapshot whole = TableSnapshot::take(*db);
            QVERIFY(whole != before);
            db->Execute(u"UPDATE Activo_Fijo SET Af_Costo_Original = 2500.7501 WHERE Af_Cve_Activo_Fijo = '0000000002'"_s);
            QVERIFY(TableSnapshot::take(*db) != whole);
        }
    }

    void countsAndLosesTheLink_data() { TestDatabase::addBackendRows(); }
    void countsAndLosesTheLink()
    {
        QFETCH(QString, backend);
        TALVEXOR_HOST_DATABASE_OR_SKIP(host, backend, false);
        Connection *db = &host->connection();
        db->Execute(Seed);
        QSignalSpy executed(db, &Connection::statementExecuted);

        // A struck statement never reaches the database.
        db->armFault(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"INSERT INTO Proveedor (Pv_Cve_Proveedor) VALUES ('P1')"_s));
        QCOMPARE(executed.size(), 0);

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
        QVERIFY_THROWS_EXCEPTION(SuiteError, TestDatabase::sqlite()->armLinkLoss(1)); // :memory: would be lost

        // Later statements fail plainly until the caller rolls back, which
        // does not throw; then the link comes back.
        db->BeginTrans();
        db->armLinkLoss(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"DELETE FROM Activo_Fijo"_s));
        const QString later = errorOf(*db, u"SELECT 1 AS uno"_s);
        QVERIFY2(later.contains(u"transacción en curso se deshizo"_s), qPrintable(later));
        QVERIFY(db->inTransaction());
        db->RollbackTrans();
        QCOMPARE(firstValue(*db, u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt(), 1);
        if (backend != u"sqlite"_s)
            return;

        // A reopen that fails says so and is tried again by the next statement.
        db->armLinkLoss(1);
        QVERIFY_THROWS_EXCEPTION(SuiteError, db->Execute(u"SELECT 1 AS uno"_s));
        const QString folder = QFileInfo(host->url().mid(7)).absolutePath(), away = folder + u"-fuera"_s;
        QVERIFY(QDir().rename(folder, away));
        const QString reopen = errorOf(*db, u"SELECT 1 AS uno"_s);
        QVERIFY2(reopen.startsWith(u"No se pudo restablecer la conexión con la base de datos: "_s), qPrintable(reopen));
        QVERIFY(QDir().rename(away, folder));
        QCOMPARE(firstValue(*db, u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFaultInjection)
#include "tst_fault_injection.moc"
