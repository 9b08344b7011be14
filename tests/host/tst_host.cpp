// The talvexor executable end to end: prepared databases, the screenshot,
// and scripts run as a user would, checked through their JSON lines and
// the database.
#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "suite/runtime/Registry.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QList<QJsonObject> events;
    QString err;
    QByteArray out;

    QList<QJsonObject> of(const QString &kind) const
    {
        QList<QJsonObject> found;
        for (const QJsonObject &e : events) {
            if (e.value(u"event"_s).toString() == kind)
                found.append(e);
        }
        return found;
    }
};

QString program()
{
    return qEnvironmentVariable("TALVEXOR_BIN_DIR") + u"/talvexor"_s;
}

Run talvexor(const QStringList &arguments, const QByteArray &input = {},
             const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program(), arguments);
    Run run;
    if (!process.waitForStarted()) {
        run.err = process.errorString();
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    // A generous bound so a hang fails the test instead of stalling the suite.
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        run.err = u"talvexor did not finish"_s;
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    for (const QByteArray &line : run.out.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            run.events.append(QJsonObject{{u"event"_s, u"UNPARSABLE"_s}, {u"line"_s, QString::fromUtf8(line)}});
            continue;
        }
        run.events.append(document.object());
    }
    return run;
}

// url empty: the host's default database.
Run script(const QString &url, const QByteArray &lines, const QStringList &extra = {})
{
    const QStringList db = url.isEmpty() ? QStringList() : QStringList{u"--db"_s, url};
    return talvexor(db + QStringList{u"--script"_s, u"-"_s} + extra, lines);
}

QJsonObject control(const QJsonObject &dump, const QString &name)
{
    return dump.value(u"controls"_s).toObject().value(name).toObject();
}

QStringList strings(const QJsonValue &array)
{
    QStringList list;
    for (const QJsonValue &v : array.toArray())
        list.append(v.toString());
    return list;
}

} // namespace

class tst_Host : public QObject
{
    Q_OBJECT

private:
    // A database with the schema and the demo data, made by the host itself
    // on SQLite; a fresh server database on PostgreSQL. Empty: skip.
    QString database(const QString &backend)
    {
        if (backend == u"sqlite"_s) {
            const QString url = u"sqlite:"_s + m_dir.filePath(u"demo-%1.db"_s.arg(++m_databases));
            const Run init = talvexor({u"--db"_s, url, u"--init-db"_s});
            const Run demo = talvexor({u"--db"_s, url, u"--demo"_s});
            if (init.exitCode != 0 || demo.exitCode != 0)
                qWarning("preparing %s failed: %s %s", qPrintable(url), qPrintable(init.err), qPrintable(demo.err));
            return url;
        }
        QString reason;
        auto server = TestDatabase::postgres(false, &reason);
        if (!server) {
            m_skipReason = reason;
            return {};
        }
        const QString url = server->url();
        m_postgres.push_back(std::move(server));
        const Run demo = talvexor({u"--db"_s, url, u"--demo"_s});
        if (demo.exitCode != 0)
            qWarning("preparing %s failed: %s", qPrintable(url), qPrintable(demo.err));
        return url;
    }

    void backends()
    {
        TestDatabase::addBackendRows();
    }

#define OPEN_DATABASE_OR_SKIP(url)                                                       \
    QFETCH(QString, backend);                                                            \
    const QString url = database(backend);                                               \
    if (url.isEmpty()) {                                                                 \
        if (TestDatabase::postgresRequired())                                            \
            QFAIL(qPrintable(m_skipReason));                                             \
        QSKIP(qPrintable(m_skipReason));                                                 \
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFile::exists(program()), qPrintable(program()));
    }

    void preparesADatabaseAndPicturesTheScreen_data() { backends(); }
    void preparesADatabaseAndPicturesTheScreen()
    {
        OPEN_DATABASE_OR_SKIP(url);

        // The demo goes into an empty database only.
        const Run again = talvexor({u"--db"_s, url, u"--demo"_s});
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(!again.err.isEmpty(), "no reason given for refusing the demo data");
        // The schema is safe to create again.
        QCOMPARE(talvexor({u"--db"_s, url, u"--init-db"_s}).exitCode, 0);

        const QString png = m_dir.filePath(u"screen-%1.png"_s.arg(backend));
        const Run shot = talvexor({u"--db"_s, url, u"--screenshot"_s, png});
        QVERIFY2(shot.exitCode == 0, qPrintable(shot.err));
        const QImage image(png);
        QVERIFY(!image.isNull());
        // The design client size, 11745 x 8250 twips, at 96 DPI.
        QCOMPARE(image.size(), QSize(783, 550));
        // Something was drawn: the captions and fields give many colours.
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
        const QString png = m_dir.filePath(u"first-use.png"_s);
        const Run first = talvexor({u"--screenshot"_s, png});
        QVERIFY2(first.exitCode == 0, qPrintable(first.err));
        QVERIFY(QFile::exists(demo));
        QVERIFY(!QImage(png).isNull());

        // The second run works on it as it is (loading the demo again would be refused).
        const Run second = script(QString(), "sql SELECT COUNT(*) AS n FROM Activo_Fijo\n");
        QVERIFY2(second.exitCode == 0, qPrintable(second.err));
        QCOMPARE(second.of(u"sql"_s).size(), 1);
        const QJsonArray rows = second.of(u"sql"_s).constFirst().value(u"rows"_s).toArray();
        QVERIFY(rows.at(0).toArray().at(0).toInteger() > 0);
    }

    void scriptStartsInTheIdleState_data() { backends(); }
    void scriptStartsInTheIdleState()
    {
        OPEN_DATABASE_OR_SKIP(url);
        const Run run = script(url, "dump\n");
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.of(u"dump"_s).size(), 1);
        const QJsonObject dump = run.of(u"dump"_s).constFirst();

        // Member order is part of the output format.
        QVERIFY(run.out.startsWith(R"({"event":"dump","form":{"width":11745,"height":8250},"tab":0,"focus":)"));
        QCOMPARE(dump.value(u"focus"_s).toString(), u"txt_Af_Cve_Activo_Fijo"_s);
        const QJsonObject toolbar = dump.value(u"toolbar"_s).toObject();
        QCOMPARE(toolbar.value(u"editando"_s).toBool(true), false);
        QCOMPARE(toolbar.value(u"estadoinicial"_s).toBool(false), true);
        QCOMPARE(strings(toolbar.value(u"offered"_s)), (QStringList{u"Nuevo"_s, u"Salir"_s}));

        // The screen's own state is the screen tests' business; here, that the dump carries it.
        const QJsonObject key = control(dump, u"txt_Af_Cve_Activo_Fijo"_s);
        QVERIFY(key.contains(u"formatoclave"_s));
        QCOMPARE(key.value(u"effective"_s).toBool(false), true);
        QCOMPARE(control(dump, u"txt_Af_Descripcion"_s).value(u"effective"_s).toBool(true), false);
        const QJsonObject grid = control(dump, u"ssDetalle"_s);
        QVERIFY(grid.value(u"rows"_s).isArray());
        QVERIFY(grid.value(u"current"_s).isObject());
    }

    void badLinesAreReportedAndTheRunGoesOn()
    {
        const QString url = database(u"sqlite"_s);
        const Run run = script(url,
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
                               "cell 99 Clave 1\n"
                               "dump txt_Af_Cve_Activo_Fijo\n");
        QCOMPARE(run.exitCode, 1);
        const QList<QJsonObject> errors = run.of(u"error"_s);
        const QList<QPair<int, QString>> expected{
            {3, u"comillas"_s},   {4, u"bailar"_s},    {5, u"txtNoExiste"_s},
            {6, u"Aceptar"_s},    {7, u"Volar"_s},     {8, u"Ctrl+Nada"_s},
            {9, u"pestaña 9"_s},  {10, u"noexiste"_s}, {11, u"txt_Af_Descripcion"_s},
            {12, u"type CONTROL TEXT"_s},              {13, u"ssDetalle"_s}};
        QCOMPARE(errors.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(errors.at(i).value(u"line"_s).toInt(), expected.at(i).first);
            const QString text = errors.at(i).value(u"text"_s).toString();
            QVERIFY2(text.contains(expected.at(i).second), qPrintable(text));
        }
        // Nothing was pressed by the refused toolbar line, and the run went on.
        QCOMPARE(run.of(u"dump"_s).size(), 1);
        QCOMPARE(run.events.last().value(u"event"_s).toString(), u"dump"_s);
        const QJsonObject toolbar = run.of(u"dump"_s).constFirst().value(u"toolbar"_s).toObject();
        QCOMPARE(toolbar.value(u"editando"_s).toBool(true), false);
    }

    void typingLookupsAndStatements_data() { backends(); }
    void typingLookupsAndStatements()
    {
        OPEN_DATABASE_OR_SKIP(url);
        const Run run = script(url,
                               "set txt_Af_Descripcion enabled true\n"
                               "type txt_Af_Descripcion \"Camión señor ñandú\"\n"
                               "dump txt_Af_Descripcion\n"
                               "choose 000003\n"
                               "key txt_Af_Cve_Activo_Fijo F2\n"
                               "key txt_Af_Cve_Activo_Fijo F2\n"
                               "dump txt_Af_Cve_Activo_Fijo\n"
                               "sql UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\n"
                               "sql SELECT Va_Cve_Variable, Va_Valor FROM Variable WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\n"
                               "sql SELECT * FROM Tabla_Que_No_Existe\n");
        QCOMPARE(run.exitCode, 1);

        const QList<QJsonObject> dumps = run.of(u"dump"_s);
        QCOMPARE(dumps.size(), 2);
        // Every character arrived as a key event, accents and ñ included
        // (the demo configuration upper-cases what is typed).
        const QString typed = control(dumps.at(0), u"txt_Af_Descripcion"_s).value(u"text"_s).toString();
        QCOMPARE(typed.toUpper(), u"CAMIÓN SEÑOR ÑANDÚ"_s);
        QCOMPARE(dumps.at(0).value(u"focus"_s).toString(), u"txt_Af_Descripcion"_s);

        const QList<QJsonObject> searches = run.of(u"consulta"_s);
        QCOMPARE(searches.size(), 2);
        QCOMPARE(searches.at(0).value(u"id"_s).toString(), u"ACTIVO_FIJO"_s);
        QCOMPARE(searches.at(0).value(u"chosen"_s).toString(), u"000003"_s);
        QCOMPARE(searches.at(1).value(u"chosen"_s).toString(), QString());
        QCOMPARE(control(dumps.at(1), u"txt_Af_Cve_Activo_Fijo"_s).value(u"text"_s).toString(), u"000003"_s);

        const QList<QJsonObject> results = run.of(u"sql"_s);
        QCOMPARE(results.size(), 2);
        const QJsonArray rows = results.at(1).value(u"rows"_s).toArray();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.at(0).toArray().at(1).toString(), u"NO"_s);
        QCOMPARE(strings(results.at(1).value(u"columns"_s)).size(), 2);
        const QList<QJsonObject> errors = run.of(u"error"_s);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.at(0).value(u"line"_s).toInt(), 10);
        QVERIFY2(errors.at(0).value(u"text"_s).toString().contains(u"tabla_que_no_existe"_s, Qt::CaseInsensitive),
                 qPrintable(errors.at(0).value(u"text"_s).toString()));

        // The statement ran on the screen's own connection and was kept.
        auto db = suite::Connection::open(url);
        const auto value = db->Execute(u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'"_s);
        QCOMPARE(value->Fields(u"Va_Valor"_s).toString(), u"NO"_s);
    }

    void toolbarOffersFollowTheState()
    {
        const QString url = database(u"sqlite"_s);
        const Run run = script(url,
                               "toolbar Nuevo\n"
                               "dump Controles\n"
                               "toolbar Nuevo\n"
                               "toolbar Cancelar\n"
                               "dump Controles\n");
        QCOMPARE(run.exitCode, 1); // the second Nuevo is not offered while editing
        const QList<QJsonObject> dumps = run.of(u"dump"_s);
        QCOMPARE(dumps.size(), 2);
        const QJsonObject editing = dumps.at(0).value(u"toolbar"_s).toObject();
        QCOMPARE(editing.value(u"editando"_s).toBool(), true);
        QVERIFY(strings(editing.value(u"offered"_s)).contains(u"Aceptar"_s));
        QVERIFY(!strings(editing.value(u"offered"_s)).contains(u"Nuevo"_s));
        QCOMPARE(run.of(u"error"_s).size(), 1);
        QCOMPARE(run.of(u"error"_s).constFirst().value(u"line"_s).toInt(), 3);
        QCOMPARE(dumps.at(1).value(u"toolbar"_s).toObject().value(u"editando"_s).toBool(true), false);
    }

    void gridCellsTakeTypedText()
    {
        const QString url = database(u"sqlite"_s);
        QString centre;
        {
            auto db = suite::Connection::open(url);
            const auto row = db->Execute(
                u"SELECT MIN(Cc_Cve_Centro_Costo) AS clave FROM Centro_Costo WHERE Es_Cve_Estado = 'AC' "
                "AND Cc_Cve_Centro_Costo NOT IN (SELECT Cc_Acumula FROM Centro_Costo)"_s);
            centre = row->Fields(u"clave"_s).toString();
        }
        QVERIFY(!centre.isEmpty());

        // The grid takes input only on its tab and while a record is edited.
        const Run run = script(url, "cell 0 Clave 1\n"
                                    "toolbar Nuevo\n"
                                    "tab 1\n"
                                    "cell 0 Clave " + centre.toUtf8() + "\n"
                                    "cell 0 Porcentaje 25.5\n"
                                    "key - Return\n"
                                    "cell 9 Clave 1\n"
                                    "cell 0 Nada 1\n"
                                    "dump ssDetalle\n");
        QCOMPARE(run.exitCode, 1);
        const QList<QJsonObject> errors = run.of(u"error"_s);
        QCOMPARE(errors.size(), 3);
        QCOMPARE(errors.at(0).value(u"line"_s).toInt(), 1);
        QCOMPARE(errors.at(1).value(u"line"_s).toInt(), 7);
        QCOMPARE(errors.at(2).value(u"line"_s).toInt(), 8);

        const QJsonObject grid = control(run.of(u"dump"_s).constFirst(), u"ssDetalle"_s);
        const QJsonArray rows = grid.value(u"rows"_s).toArray();
        QVERIFY(!rows.isEmpty());
        const QJsonObject first = rows.at(0).toObject();
        QCOMPARE(first.value(u"Clave"_s).toString(), centre);
        QCOMPARE(first.value(u"Porcentaje"_s).toDouble(), 25.5);
        QVERIFY(first.value(u"Descripción"_s).isString());
        // Enter in the last cell moved on, as TAB does, to the new-row line.
        QCOMPARE(grid.value(u"current"_s).toObject().value(u"row"_s).toInt(), 1);
    }

    void screenThatCannotOpenEndsWithStatusTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("sqlite folder missing")
            << QStringList{u"--db"_s, u"sqlite:/no/existe/talvexor.db"_s, u"--script"_s, u"-"_s}
            << u"no se pudo abrir la base de datos"_s;
        QTest::newRow("no server")
            << QStringList{u"--db"_s, u"postgresql://nadie@127.0.0.1:1/nada"_s, u"--script"_s, u"-"_s}
            << u"no se pudo abrir la base de datos"_s;
        QTest::newRow("unknown scheme")
            << QStringList{u"--db"_s, u"oracle://x"_s, u"--script"_s, u"-"_s} << u"oracle://x"_s;
        QTest::newRow("missing script")
            << QStringList{u"--db"_s, u"DEMO"_s, u"--script"_s, u"/no/existe/guion.txt"_s} << u"guion.txt"_s;
        QTest::newRow("start-up fails")
            << QStringList{u"--db"_s, u"BROKEN"_s, u"--script"_s, u"-"_s} << u"No se pudo iniciar la pantalla"_s;
        QTest::newRow("unknown option") << QStringList{u"--volar"_s} << u"volar"_s;
    }

    void screenThatCannotOpenEndsWithStatusTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const int db = arguments.indexOf(u"--db"_s) + 1;
        if (db > 0 && arguments.at(db) == u"DEMO"_s) {
            arguments[db] = database(u"sqlite"_s);
        } else if (db > 0 && arguments.at(db) == u"BROKEN"_s) {
            arguments[db] = database(u"sqlite"_s);
            // A variable that cannot be read as a Boolean stops start-up.
            auto connection = suite::Connection::open(arguments.at(db));
            connection->Execute(u"DELETE FROM Variable WHERE Va_Cve_Variable = 'CAT_FORZAR_MAYUSCULAS'"_s);
            connection->Execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('CAT_FORZAR_MAYUSCULAS', 'QUIZAS')"_s);
        }
        const Run run = talvexor(arguments, "dump\n");
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(expected, Qt::CaseInsensitive), qPrintable(run.err));
        QVERIFY(run.events.isEmpty());
    }

    void runsWithoutADisplay()
    {
        const QString url = database(u"sqlite"_s);
        QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s})
            bare.remove(name);

        const Run scripted = talvexor({u"--db"_s, url, u"--script"_s, u"-"_s}, "dump ssTabKit\n", bare);
        QVERIFY2(scripted.exitCode == 0, qPrintable(scripted.err));
        QCOMPARE(scripted.of(u"dump"_s).size(), 1);

        // A window for a person needs a display: the host says how to do without.
        const Run window = talvexor({u"--db"_s, url}, {}, bare);
        QCOMPARE(window.exitCode, 1);
        QVERIFY2(window.err.contains(u"QT_QPA_PLATFORM=offscreen"_s), qPrintable(window.err));
        QVERIFY2(window.err.contains(u"Xvfb"_s), qPrintable(window.err));
    }

private:
    QTemporaryDir m_dir;
    int m_databases = 0;
    QString m_skipReason;
    std::vector<std::unique_ptr<suite::Connection>> m_postgres;
};

QTEST_GUILESS_MAIN(tst_Host)
#include "tst_host.moc"
