// The talvexor executable end to end: prepared databases, the screenshot,
// the scripted mode's errors and exit statuses, checked through its JSON
// lines. (What the scripts do to the screen: tests/assets.)
#include "suite/data/Connection.h"
#include "suite/runtime/Registry.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Host : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        // The design client size, 11745 x 8250 twips, at 96 DPI, and drawn: captions and fields give many colours.
        QCOMPARE(image.size(), QSize(783, 550));
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
        const HostRun first = runTalvexor({u"--screenshot"_s, dir.filePath(u"first-use.png"_s)});
        QVERIFY2(first.exitCode == 0, qPrintable(first.errorOutput));
        QVERIFY(QFile::exists(demo));
        // The second run works on it as it is (loading the demo again would be refused).
        const HostRun second = runTalvexor({u"--script"_s, u"-"_s}, "sql SELECT COUNT(*) AS n FROM Activo_Fijo\n");
        QVERIFY2(second.exitCode == 0, qPrintable(second.errorOutput));
        QVERIFY(second.of(u"sql"_s).value(0).value(u"rows"_s).toArray().at(0).toArray().at(0).toInteger() > 0);
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
        QTest::newRow("no server") << QStringList{u"--db"_s, u"postgresql://nadie@127.0.0.1:1/nada"_s} + script
                                   << u"no se pudo abrir la base de datos"_s;
        QTest::newRow("unknown scheme") << QStringList{u"--db"_s, u"oracle://x"_s} + script << u"oracle://x"_s;
        QTest::newRow("missing script") << QStringList{u"--db"_s, u"DEMO"_s, u"--script"_s, u"/no/existe/guion.txt"_s}
                                        << u"guion.txt"_s;
        QTest::newRow("unknown option") << QStringList{u"--volar"_s} << u"volar"_s;
    }

    void screenThatCannotOpenEndsWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"sqlite"_s, true);
        arguments.replaceInStrings(u"DEMO"_s, db->url());
        const HostRun run = runTalvexor(arguments, "dump\n");
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errorOutput.contains(expected, Qt::CaseInsensitive), qPrintable(run.errorOutput));
        QVERIFY(run.events.isEmpty());
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

QTEST_GUILESS_MAIN(tst_Host)
#include "tst_host.moc"
