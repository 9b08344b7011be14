#include "suite/data/Dialect.h"
#include "suite/data/SqlLexer.h"

#include <QtTest/QTest>

using namespace Qt::StringLiterals;
using suite::Dialect;

// Rewrites that need no database: the SQL Server constructs the screens use,
// as each backend must receive them (run on real servers: tst_Connection).
class TestDialect : public QObject
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

        const QString account = u"SELECT dbo.Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION "
                                "FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable='1201'"_s;
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
        QTest::newRow("QSQLITE: account function") << u"QSQLITE"_s << account
            << u"SELECT Get_Ruta_Cuenta_Contable(Cc_Cve_Cuenta_Contable) AS DESCRIPCION FROM Cuenta_Contable "
               "WHERE Cc_Cve_Cuenta_Contable='1201'"_s;
        QTest::newRow("QPSQL: account function") << u"QPSQL"_s << account << account;
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
        QCOMPARE(Dialect::create(driver)->translate(input, QSqlDatabase()), expected);
    }
};

QTEST_GUILESS_MAIN(TestDialect)
#include "tst_Dialect.moc"
