// The talvexor host: its scripted mode's pieces in process (line splitting, key combinations, database
// values as JSON, the answering message presenter, the guard against dialogs, the screen opened under the
// host's window), and the real executable end to end: prepared databases, the screenshot, the fault lines, the
// scripted mode's errors and exit statuses, checked through its JSON lines. (What the scripts do to the
// screen: tests/assets.)
#include "suite/data/Connection.h"
#include "suite/host/HostWindow.h"
#include "suite/host/JsonText.h"
#include "suite/host/ModalGuard.h"
#include "suite/host/ScreenHost.h"
#include "suite/host/ScriptLexer.h"
#include "suite/host/ScriptMessagePresenter.h"
#include "suite/host/UserInput.h"
#include "suite/runtime/Registry.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>

#include <unistd.h>

using namespace Qt::StringLiterals;

class tst_Host : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // (Blanks inside quotes and an unclosed quote, through the host: tst_hostile's texts, badLines.)
    void splitsLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<bool>("ok");

        QTest::newRow("plain") << u"  type   txtA  abc "_s << QStringList{u"type"_s, u"txtA"_s, u"abc"_s} << true;
        QTest::newRow("tabs separate") << u"key\t-\tReturn"_s << QStringList{u"key"_s, u"-"_s, u"Return"_s} << true;
        QTest::newRow("escapes") << u"type x \"q\\\" b\\\\ t\\t n\\n\""_s
                                 << QStringList{u"type"_s, u"x"_s, u"q\" b\\ t\t n\n"_s} << true;
        QTest::newRow("empty quoted") << u"choose \"\""_s << QStringList{u"choose"_s, QString()} << true;
        QTest::newRow("backslash outside quotes") << u"set x y C:\\a\\n"_s
                                                  << QStringList{u"set"_s, u"x"_s, u"y"_s, u"C:\\a\\n"_s} << true;
        QTest::newRow("quote inside a word") << u"type x a\"b"_s << QStringList{u"type"_s, u"x"_s, u"a\"b"_s} << true;
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

        QTest::newRow("Shift+Alt+1") << u"Shift+Alt+1"_s << true << int(Qt::Key_1) << int(Qt::ShiftModifier | Qt::AltModifier);
        QTest::newRow("Shift+Tab is Backtab") << u"Shift+Tab"_s << true << int(Qt::Key_Backtab) << int(Qt::ShiftModifier);
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

    // A database NULL of any type is null; dates as ISO dates; texts stay texts. (Members in the order
    // written, nested, escaped, one event a line: the fault lines and the dumps below.)
    void jsonValuesOfTheDatabase()
    {
        QVERIFY(suite::JsonText::fromVariant(QVariant(QMetaType::fromType<QString>())).isNull());
        QCOMPARE(suite::JsonText::fromVariant(QDate(2024, 3, 5)).toString(), u"2024-03-05"_s);
        QCOMPARE(suite::JsonText::fromVariant(u"0.25"_s).toString(), u"0.25"_s);
    }

    void presentersAnswerFromTheirQueues()
    {
        QStringList lines;
        auto sink = [&lines](const suite::JsonText &event) { lines.append(event.toString()); };
        suite::ScriptMessagePresenter messages(sink, [](const QString &) {});

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

    // The host opens the screen under its window, which names the transaction; an upgrade that could not
    // complete (serial numbers repeated in all but letter case) is said above the screen, the clashing assets
    // named, until they are corrected.
    void hostOpensTheScreenUnderItsWindow()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        db->execute(u"DROP INDEX UX_Activo_Fijo_Serie_Caso"_s);
        db->execute(u"UPDATE Activo_Fijo SET Af_Numero_Serie = CASE Af_Cve_Activo_Fijo WHEN '0000000001' THEN 'Señal-1' "
                    "ELSE 'SEÑAL-1' END WHERE Af_Cve_Activo_Fijo IN ('0000000001', '0000000002')"_s);
        suite::HostOptions options;
        options.databaseUrl = db->url();
        options.user = u"PRUEBA"_s;
        auto noticeShown = [&] {
            suite::ScreenHost host(options);
            host.openDatabase();
            host.openScreen();
            [&] {
                QCOMPARE(host.window()->property("Transaccion").toString(), u"XB733"_s);
                QCOMPARE(host.form()->property("Padre").value<QObject *>(), host.window());
            }();
            const auto *notice = host.window()->findChild<QLabel *>(u"avisoEsquema"_s);
            return notice && notice->isVisible() ? notice->text() : QString();
        };
        const QString notice = noticeShown();
        QVERIFY2(notice.startsWith(u"Aviso: Activo_Fijo.Af_Numero_Serie no admite repetidos"_s)
                     && notice.contains(u"0000000001 («Señal-1»), 0000000002 («SEÑAL-1»)"_s),
                 qPrintable(notice));
        db->execute(u"UPDATE Activo_Fijo SET Af_Numero_Serie = 'Señal-2' WHERE Af_Cve_Activo_Fijo = '0000000002'"_s);
        QCOMPARE(noticeShown(), QString());
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

    void preparesADatabaseAndPicturesTheScreen_data() { TestDatabase::addBackendRows(); }
    void preparesADatabaseAndPicturesTheScreen()
    {
        QFETCH(QString, backend);
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, false);
        // The schema is safe to create again; the demo goes into an empty database only.
        const HostRun init = runTalvexor({u"--db"_s, db->url(), u"--init-db"_s});
        QVERIFY2(init.exitCode == 0, qPrintable(init.errorOutput));
        QCOMPARE(runTalvexor({u"--db"_s, db->url(), u"--demo"_s}).exitCode, 0);
        QVERIFY(db->value(u"SELECT COUNT(*) FROM Activo_Fijo"_s).toInt() > 0);
        const HostRun again = runTalvexor({u"--db"_s, db->url(), u"--demo"_s});
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(!again.errorOutput.isEmpty(), "no reason given for refusing the demo data");

        QTemporaryDir dir;
        const QString png = dir.filePath(u"screen.png"_s);
        const HostRun shot = runTalvexor({u"--db"_s, db->url(), u"--screenshot"_s, png});
        QVERIFY2(shot.exitCode == 0, qPrintable(shot.errorOutput));
        const QImage image(png);
        // The design client size, 11745 x 8250 twips, at 96 DPI, with the status line under it, and drawn:
        // captions and fields give many colours.
        QCOMPARE(image.width(), 783);
        QVERIFY2(image.height() > 550 && image.height() < 600, qPrintable(QString::number(image.height())));
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        QVERIFY2(colours.size() > 20, qPrintable(QString::number(colours.size())));
        // The host registered the component it found beside itself.
        const QString library = suite::Registry().find(u"XB733.Pantalla"_s).library;
        QCOMPARE(QFileInfo(library).fileName(), u"xb733.so"_s);
        QVERIFY(QFileInfo::exists(library));
    }

    void withoutADatabaseTheDemoIsMadeOnFirstUse()
    {
        const QString demo = qEnvironmentVariable("XDG_DATA_HOME") + u"/Talvexor/demo.db"_s;
        QFile::remove(demo);
        QTemporaryDir dir;
        // Two first starts at once: the second waits for the first to make it, and finds it made.
        auto other = std::async(std::launch::async, [] { return runTalvexor({u"--script"_s, u"-"_s}, "dump ssTabKit\n"); });
        const HostRun first = runTalvexor({u"--screenshot"_s, dir.filePath(u"first-use.png"_s)});
        const HostRun second = other.get();
        QVERIFY2(first.exitCode == 0, qPrintable(first.errorOutput));
        QVERIFY2(second.exitCode == 0, qPrintable(second.errorOutput));
        QVERIFY(QFile::exists(demo));
        // A later run works on it as it is (loading the demo again would be refused).
        const HostRun later = runTalvexor({u"--script"_s, u"-"_s}, "sql SELECT COUNT(*) AS n FROM Activo_Fijo\n");
        QVERIFY2(later.exitCode == 0, qPrintable(later.errorOutput));
        QVERIFY(later.of(u"sql"_s).value(0).value(u"rows"_s).toArray().at(0).toArray().at(0).toInteger() > 0);
    }

    // Each refused line is reported with its number and the run goes on, to
    // exit status 1; nothing was pressed by a refused toolbar line.
    void badLinesAreReportedAndTheRunGoesOn()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        const HostRun run = runTalvexor({u"--db"_s, db->url(), u"--script"_s, u"-"_s},
                                     "dump txt_Af_Cve_Activo_Fijo\n"
                                     "# comentario\n"
                                     "\n"
                                     "type txt_Af_Cve_Activo_Fijo \"sin cerrar\n"
                                     "bailar\n"
                                     "click txtNoExiste\n"
                                     "toolbar Aceptar\n"
                                     "toolbar Volar\n"
                                     "key - Ctrl+Nada\n"
                                     "tab 9\n"
                                     "set txt_Af_Cve_Activo_Fijo noexiste 1\n"
                                     "type txt_Af_Descripcion hola\n"
                                     "type txt_Af_Cve_Activo_Fijo\n"
                                     "cell 0 Clave 1\n"
                                     "sql SELECT * FROM Tabla_Que_No_Existe\n"
                                     "key txt_Af_Cve_Activo_Fijo F2\n"
                                     "dump txt_Af_Cve_Activo_Fijo\n"
                                     "toolbar Nuevo\n"
                                     "toolbar Nuevo\n"
                                     "tab 1\n"
                                     "cell 9 Clave 1\n"
                                     "cell 0 Nada 1\n"
                                     "dump ssDetalle\n");
        QCOMPARE(run.exitCode, 1);
        // Member order is part of the output format.
        QVERIFY(run.output.startsWith(R"({"event":"dump","form":{"width":11745,"height":8250},"tab":0,"focus":)"));
        const QList<QJsonObject> errors = run.of(u"error"_s);
        const QList<QPair<int, QString>> expected{
            {4, u"comillas"_s},  {5, u"bailar"_s},     {6, u"txtNoExiste"_s},         {7, u"Aceptar"_s},
            {8, u"Volar"_s},     {9, u"Ctrl+Nada"_s},  {10, u"pestaña 9"_s},          {11, u"noexiste"_s},
            {12, u"txt_Af_Descripcion"_s},             {13, u"type CONTROL TEXT"_s},  {14, u"ssDetalle"_s},
            {15, u"tabla_que_no_existe"_s},            {19, u"Nuevo"_s},              {21, u"renglón 9"_s},
            {22, u"Nada"_s}};
        QCOMPARE(errors.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QString text = errors.at(i).value(u"text"_s).toString();
            QCOMPARE(errors.at(i).value(u"line"_s).toInt(), expected.at(i).first);
            QVERIFY2(text.contains(expected.at(i).second, Qt::CaseInsensitive), qPrintable(text));
        }
        // A search with no answer queued chooses nothing.
        QCOMPARE(run.of(u"consulta"_s).value(0).value(u"chosen"_s).toString(u"absent"_s), QString());
        QCOMPARE(run.of(u"dump"_s).size(), 3);
        QCOMPARE(run.dump(1).value(u"toolbar"_s).toObject().value(u"editando"_s).toBool(true), false);
        QCOMPARE(run.events.last().value(u"event"_s).toString(), u"dump"_s);
    }

    void screenThatCannotOpenEndsWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QStringList script{u"--script"_s, u"-"_s};
        QTest::newRow("sqlite folder missing") << QStringList{u"--db"_s, u"sqlite:/no/existe/talvexor.db"_s} + script
                                               << u"no se pudo abrir la base de datos"_s;
        // A mistyped path makes no new, empty database; --init-db is how to make one.
        QTest::newRow("sqlite file missing") << QStringList{u"--db"_s, u"sqlite:TEMP/talvexr.db"_s} + script
                                             << u"--init-db"_s;
        QTest::newRow("sqlite file missing, demo data") << QStringList{u"--db"_s, u"sqlite:TEMP/talvexr.db"_s, u"--demo"_s}
                                                        << u"no existe"_s;
        QTest::newRow("damaged file") << QStringList{u"--db"_s, u"sqlite:TEMP/danado.db"_s} + script << u"dañado"_s;
        QTest::newRow("no tables") << QStringList{u"--db"_s, u"sqlite:TEMP/vacio.db"_s} + script << u"--init-db"_s;
        QTest::newRow("no server") << QStringList{u"--db"_s, u"postgresql://nadie@127.0.0.1:1/nada"_s} + script
                                   << u"no se pudo abrir la base de datos"_s;
        QTest::newRow("unknown scheme") << QStringList{u"--db"_s, u"oracle://x"_s} + script << u"oracle://x"_s;
        QTest::newRow("missing script") << QStringList{u"--db"_s, u"DEMO"_s, u"--script"_s, u"/no/existe/guion.txt"_s}
                                        << u"guion.txt"_s;
        QTest::newRow("unknown option") << QStringList{u"--volar"_s} << u"volar"_s;
        QTest::newRow("missing list of keys") << QStringList{u"--db"_s, u"DEMO"_s, u"--labels"_s, u"/no/existe/claves.txt"_s,
                                                             u"--print-dir"_s, u"TEMP"_s} << u"claves.txt"_s;
        QTest::newRow("labels and a script") << QStringList{u"--db"_s, u"DEMO"_s, u"--labels"_s, u"-"_s} + script << u"no van juntos"_s;
    }

    void screenThatCannotOpenEndsWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        QTemporaryDir temp;
        arguments.replaceInStrings(u"DEMO"_s, db->url()).replaceInStrings(u"TEMP"_s, temp.path());
        QFile damaged(temp.filePath(u"danado.db"_s));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(QByteArray(4096, 'x')) == 4096);
        damaged.close();
        QFile empty(temp.filePath(u"vacio.db"_s));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        const HostRun run = runTalvexor(arguments, "dump\n");
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errorOutput.contains(expected, Qt::CaseInsensitive), qPrintable(run.errorOutput));
        QVERIFY(run.events.isEmpty());
        QVERIFY(!QFile::exists(temp.filePath(u"talvexr.db"_s)));
    }

    // A database that takes no writes opens for looking up only: an asset is shown, its letter and labels are
    // offered, and nothing that writes (new, edit, deactivate, generate) is.
    void databaseThatTakesNoWritesIsForLookingUp_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("taken"); // what is made read-only
        QTest::newRow("sqlite file") << u"sqlite"_s << u"file"_s;
        QTest::newRow("sqlite folder") << u"sqlite"_s << u"folder"_s;
        QTest::newRow("postgresql") << u"postgresql"_s << u"database"_s;
    }
    void databaseThatTakesNoWritesIsForLookingUp()
    {
        QFETCH(QString, backend);
        QFETCH(QString, taken);
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
        QString path; // made read-only, and writable again at the end
        if (backend == u"postgresql"_s) {
            db->execute(u"ALTER DATABASE "_s + db->value(u"SELECT current_database()"_s) + u" SET default_transaction_read_only = on"_s);
        } else {
            const QFileInfo file(db->url().mid(7));
            path = taken == u"file"_s ? file.absoluteFilePath() : file.absolutePath();
            // Root writes whatever the mode says, unless the file is immutable.
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser | QFile::ExeOwner);
            if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
                QProcess::execute(u"chattr"_s, {u"+i"_s, path});
            if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
                QSKIP("neither the mode nor chattr makes the database read-only for this user");
        }
        const HostRun run = runTalvexor({u"--db"_s, db->url(), u"--script"_s, u"-"_s},
                                        "dump Controles\n"
                                        "set txt_Af_Cve_Activo_Fijo text 0000000007\nkey txt_Af_Cve_Activo_Fijo Return\n"
                                        "dump Controles txt_Af_Descripcion\n"
                                        "toolbar Nuevo\n");
        if (!path.isEmpty()) {
            QProcess::execute(u"chattr"_s, {u"-i"_s, path});
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QVERIFY2(run.exitCode == 1, qPrintable(run.errorOutput));
        auto offered = [&](int dump) { return run.dump(dump).value(u"toolbar"_s).toObject().value(u"offered"_s).toVariant().toStringList(); };
        QCOMPARE(offered(0), QStringList{u"Salir"_s});
        QCOMPARE(offered(1), (QStringList{u"Informacion"_s, u"Salir"_s, u"B1"_s, u"B2"_s}));
        QCOMPARE(dumpedControl(run.dump(1), u"txt_Af_Descripcion"_s).value(u"text"_s).toString(), u"Servidor de rack 2U"_s);
        QCOMPARE(run.errors(), QStringList{u"line 5: La barra no ofrece Nuevo ahora."_s});
    }

    void runsWithoutADisplay()
    {
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s})
            bare.remove(name);
        const HostRun scripted = runTalvexor({u"--db"_s, db->url(), u"--script"_s, u"-"_s}, "dump ssTabKit\n", bare);
        QVERIFY2(scripted.exitCode == 0, qPrintable(scripted.errorOutput));
        QCOMPARE(scripted.of(u"dump"_s).size(), 1);

        // A window for a person needs a display: the host says how to do without.
        const HostRun window = runTalvexor({u"--db"_s, db->url()}, {}, bare);
        QCOMPARE(window.exitCode, 1);
        QVERIFY2(window.errorOutput.contains(u"QT_QPA_PLATFORM=offscreen"_s), qPrintable(window.errorOutput));
        QVERIFY2(window.errorOutput.contains(u"Xvfb"_s), qPrintable(window.errorOutput));
    }
};

QTEST_MAIN(tst_Host)
#include "tst_host.moc"
