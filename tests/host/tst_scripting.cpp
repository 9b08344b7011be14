// The scripted mode's pieces, in process: line splitting, key combinations,
// the ordered JSON, the answering message presenter, the guard against
// dialogs, the screen opened under the host's window; and the fault lines
// through the real executable. (The runner on the real screen, up to the exit
// command ending the run: tests/assets.)
#include "suite/host/JsonText.h"
#include "suite/host/HostWindow.h"
#include "suite/host/ModalGuard.h"
#include "suite/host/ScreenHost.h"
#include "suite/host/ScriptLexer.h"
#include "suite/host/ScriptMessagePresenter.h"
#include "suite/host/UserInput.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Scripting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitsLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("ok");

        QTest::newRow("plain") << u"  type   txtA  abc "_s << QStringList{u"type"_s, u"txtA"_s, u"abc"_s} << true;
        QTest::newRow("tabs separate") << u"key\t-\tReturn"_s << QStringList{u"key"_s, u"-"_s, u"Return"_s} << true;
        QTest::newRow("quoted blanks") << u"type x \"a b  c\""_s << QStringList{u"type"_s, u"x"_s, u"a b  c"_s} << true;
        QTest::newRow("escapes") << u"type x \"q\\\" b\\\\ t\\t n\\n\""_s
                                 << QStringList{u"type"_s, u"x"_s, u"q\" b\\ t\t n\n"_s} << true;
        QTest::newRow("empty quoted") << u"choose \"\""_s << QStringList{u"choose"_s, QString()} << true;
        QTest::newRow("backslash outside quotes") << u"set x y C:\\a\\n"_s
                                                  << QStringList{u"set"_s, u"x"_s, u"y"_s, u"C:\\a\\n"_s} << true;
        QTest::newRow("quote inside a word") << u"type x a\"b"_s << QStringList{u"type"_s, u"x"_s, u"a\"b"_s} << true;
        QTest::newRow("unterminated") << u"type x \"abc"_s << QStringList() << false;
        QTest::newRow("unknown escape") << u"type x \"a\\qb\""_s << QStringList() << false;
        QTest::newRow("glued after quote") << u"type x \"a\"b"_s << QStringList() << false;
    }

    void splitsLines()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QFETCH(bool, ok);
        QStringList got;
        QString error;
        QCOMPARE(suite::ScriptLexer::split(line, got, error), ok);
        if (ok)
            QCOMPARE(got, words);
        else
            QVERIFY(!error.isEmpty());
    }

    void readsKeyCombinations_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");

        QTest::newRow("Shift+Alt+1") << u"Shift+Alt+1"_s << true << int(Qt::Key_1)
                                     << int(Qt::ShiftModifier | Qt::AltModifier);
        QTest::newRow("Shift+Tab is Backtab") << u"Shift+Tab"_s << true << int(Qt::Key_Backtab)
                                              << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Del") << u"Ctrl+Del"_s << true << int(Qt::Key_Delete) << int(Qt::ControlModifier);
        QTest::newRow("two combinations") << u"Ctrl+A, Ctrl+B"_s << false << 0 << 0;
        QTest::newRow("empty") << u""_s << false << 0 << 0;
    }

    void readsKeyCombinations()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QKeyCombination combination;
        QCOMPARE(suite::UserInput::parseKeys(text, combination), ok);
        if (!ok)
            return;
        QCOMPARE(int(combination.key()), key);
        QCOMPARE(int(combination.keyboardModifiers()), modifiers);
    }

    void writesJsonInOrder()
    {
        suite::JsonText inner;
        inner.add(u"z"_s, 1).add(u"a"_s, QJsonValue(QJsonValue::Null));
        suite::JsonText event;
        event.add(u"event"_s, u"mensaje"_s).add(u"prompt"_s, u"Línea \"uno\"\ny ñ"_s).add(u"inner"_s, inner);
        // In the order added, on one line, and JSON that reads back to what went in.
        const QString text = event.toString();
        QCOMPARE(text.section(u"\"prompt\""_s, 0, 0), u"{\"event\":\"mensaje\","_s);
        QVERIFY2(text.endsWith(u"\"inner\":{\"z\":1,\"a\":null}}"_s) && !text.contains(u'\n'), qPrintable(text));
        QCOMPARE(QJsonDocument::fromJson(text.toUtf8()).object().value(u"prompt"_s).toString(), u"Línea \"uno\"\ny ñ"_s);
        // A database NULL of any type is null; dates as ISO dates; texts stay texts.
        QVERIFY(suite::JsonText::fromVariant(QVariant(QMetaType::fromType<QString>())).isNull());
        QCOMPARE(suite::JsonText::fromVariant(QDate(2024, 3, 5)).toString(), u"2024-03-05"_s);
        QCOMPARE(suite::JsonText::fromVariant(u"0.25"_s).toString(), u"0.25"_s);
    }

    void presentersAnswerFromTheirQueues()
    {
        QStringList lines;
        auto sink = [&lines](const suite::JsonText &event) { lines.append(event.toString()); };
        suite::ScriptMessagePresenter messages(sink);

        messages.queueAnswer(6);
        suite::MessageRequest warning{u"Falta la descripción"_s, 48, u"Talvexor"_s, u"XB733"_s, u"ERR-ID:7500002"_s};
        QCOMPARE(messages.show(warning), 1); // not a question: the queued answer waits
        suite::MessageRequest question{u"¿Desactivar?"_s, 36, u"Eliminar"_s, u"XB733"_s, u"ERR-ID:7500040"_s};
        QCOMPARE(messages.show(question), 6);
        QCOMPARE(messages.show(question), 7); // nothing queued: No

        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), uR"({"event":"mensaje","prompt":"Falta la descripción","style":48,"title":"Talvexor","id":"ERR-ID:7500002"})"_s);
        QCOMPARE(lines.at(1), uR"({"event":"mensaje","prompt":"¿Desactivar?","style":36,"title":"Eliminar","id":"ERR-ID:7500040","answer":6})"_s);
        QVERIFY(lines.at(2).endsWith(u"\"answer\":7}"_s));
    }

    void guardClosesDialogsThatWaitForAPerson()
    {
        suite::ModalGuard guard;
        QSignalSpy dismissed(&guard, &suite::ModalGuard::dismissed);
        QDialog dialog;
        dialog.setWindowTitle(u"Propiedades"_s);
        // Returns only because the guard closes it.
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dismissed.size(), 1);
        QVERIFY(dismissed.at(0).at(0).toString().contains(u"Propiedades"_s));

        QWidget plain; // an ordinary window is left alone
        plain.show();
        QCoreApplication::processEvents();
        QVERIFY(plain.isVisible());
        QCOMPARE(dismissed.size(), 1);
    }

    // The host opens the screen under its window, which names the transaction.
    void hostOpensTheScreenUnderItsWindow()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        suite::HostOptions options;
        options.databaseUrl = db->url();
        options.user = u"PRUEBA"_s;
        suite::ScreenHost host(options);
        host.openDatabase();
        host.openScreen();
        QCOMPARE(host.window()->property("Transaccion").toString(), u"XB733"_s);
        QCOMPARE(host.form()->property("Padre").value<QObject *>(), host.window());
    }

    void faultLinesReportWhereTheyStrike()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        // Struck at once; off before it strikes; the second statement after
        // its line; the link lost, then back for the next line; a bad number.
        const HostRun run = runHost(db->url(), uR"(fault 1
sql SELECT COUNT(*) AS n FROM Variable
fault 1
fault off
sql SELECT 1 AS uno
fault 2 "Disco lleno"
sql SELECT 2 AS dos
sql SELECT 3 AS tres
fault lose 1
sql SELECT 4 AS cuatro
sql SELECT 5 AS cinco
fault lose x
)"_s);
        QVERIFY2(run.exitCode == 1, qPrintable(run.errorOutput));
        const QStringList lines = QString::fromUtf8(run.output).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines, (QStringList{
            uR"({"event":"fault","statement":1,"sql":"SELECT COUNT(*) AS n FROM Variable"})"_s,
            uR"({"event":"error","line":2,"text":"Falla simulada en la sentencia 1: SELECT COUNT(*) AS n FROM Variable"})"_s,
            uR"({"event":"sql","columns":["uno"],"rows":[[1]]})"_s,
            uR"({"event":"sql","columns":["dos"],"rows":[[2]]})"_s,
            uR"({"event":"fault","statement":2,"sql":"SELECT 3 AS tres"})"_s,
            uR"({"event":"error","line":8,"text":"Disco lleno"})"_s,
            uR"({"event":"fault","statement":1,"sql":"SELECT 4 AS cuatro"})"_s,
            uR"x({"event":"error","line":10,"text":"Se perdió la conexión con la base de datos (falla simulada en la sentencia 1: SELECT 4 AS cuatro)"})x"_s,
            uR"({"event":"sql","columns":["cinco"],"rows":[[5]]})"_s,
            uR"({"event":"error","line":12,"text":"La sentencia debe ser un número entero: x"})"_s,
        }));
    }
};

QTEST_MAIN(tst_Scripting)
#include "tst_scripting.moc"
