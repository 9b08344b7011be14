// The screen driven as a user would, through the host's scripted mode: the
// real executable, the component loaded by its ProgID, a database file.
#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "tests/support/TestDatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_screen_e2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void designState();
    void startUpWithAndWithoutVariables();
    void altDigitAndFrames();
    void responsibleSwitch();
    void resizeFigures();

private:
    // Runs the script on the test's database; the dumps it printed, in order.
    QList<QJsonObject> run(const QString &script);
    void setVariable(const QString &name, const QString &value);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_url;
};

namespace {

QJsonObject control(const QJsonObject &dump, const char *name)
{
    return dump.value(u"controls"_s).toObject().value(QString::fromLatin1(name)).toObject();
}

QStringList enabledFrames(const QJsonObject &dump)
{
    QStringList out;
    for (const char *frame : {"Fr0", "Fr1", "Fr2", "Fr3"}) {
        if (control(dump, frame).value(u"enabled"_s).toBool())
            out << QString::fromLatin1(frame);
    }
    return out;
}

} // namespace

void tst_screen_e2e::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString path = m_dir->filePath(u"xb733.db"_s);
    QVERIFY(TestDatabase::sqliteFile(path));
    m_url = u"sqlite:"_s + path;
}

void tst_screen_e2e::setVariable(const QString &name, const QString &value)
{
    auto connection = suite::Connection::open(m_url);
    connection->Execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('"_s + suite::sqlEscape(name)
                        + u"', '"_s + suite::sqlEscape(value) + u"')"_s);
}

QList<QJsonObject> tst_screen_e2e::run(const QString &script)
{
    QProcess process;
    process.start(qEnvironmentVariable("TALVEXOR_BIN_DIR") + u"/talvexor"_s,
                  {u"--db"_s, m_url, u"--usuario"_s, u"PRUEBA"_s, u"--script"_s, u"-"_s});
    if (!process.waitForStarted())
        qFatal("talvexor did not start: %s", qPrintable(process.errorString()));
    process.write(script.toUtf8());
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
    }
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QList<QJsonObject> dumps;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject event = QJsonDocument::fromJson(line).object();
        if (event.value(u"event"_s).toString() == u"dump"_s)
            dumps << event;
        else if (event.value(u"event"_s).toString() != u"consulta"_s) // a search the script cancels
            qWarning("unexpected output: %s", line.constData());
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qWarning("talvexor exit %d: %s", process.exitCode(), qPrintable(err));
    return dumps;
}

void tst_screen_e2e::designState()
{
    const QList<QJsonObject> dumps = run(u"dump\n"_s);
    QCOMPARE(dumps.size(), 1);
    const QJsonObject dump = dumps[0];
    QCOMPARE(dump.value(u"focus"_s).toString(), u"txt_Af_Cve_Activo_Fijo"_s);
    QCOMPARE(dump.value(u"tab"_s).toInt(), 0);

    // Inputs are the controls that show a text, a choice, a date or rows.
    const QJsonObject controls = dump.value(u"controls"_s).toObject();
    QStringList enabledInputs;
    int inputs = 0;
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        const bool input = c.contains(u"valor"_s) || c.contains(u"value"_s) || c.contains(u"date"_s)
            || c.contains(u"rows"_s);
        if (!input)
            continue;
        ++inputs;
        if (c.value(u"enabled"_s).toBool())
            enabledInputs << it.key();
    }
    QCOMPARE(inputs, 49);
    QCOMPARE(enabledInputs, QStringList{u"txt_Af_Cve_Activo_Fijo"_s});
    QVERIFY(control(dump, "txt_Af_Cve_Activo_Fijo").value(u"effective"_s).toBool());
    QVERIFY(!control(dump, "frmCliente").value(u"visible"_s).toBool());
    QVERIFY(control(dump, "frmEmpleado").value(u"visible"_s).toBool());

    // A sample of each tab's configuration, as the host reads it.
    auto value = [&](const char *name, const char *property) {
        return control(dump, name).value(QString::fromLatin1(property)).toVariant();
    };
    QCOMPARE(value("txtVidaUtil", "text"), u"0"_s);
    QCOMPARE(value("txtVidaUtil", "tag"), u"1"_s);
    QCOMPARE(value("txt_Af_Cve_Activo_Fijo", "tag"), QString());
    QCOMPARE(value("Etiqueta6", "caption"), u"Número económico:"_s);
    QCOMPARE(value("Etiqueta6", "width"), 2175.0);
    QCOMPARE(value("txtNCuentacontable2", "left"), 4320.0);
    QCOMPARE(value("ssDetalle", "tag"), u"5"_s);
    QCOMPARE(value("ssDetalle", "top"), 2760.0);
    QCOMPARE(value("txt_Costo_Original", "text"), u"$0.0000"_s);
    QCOMPARE(value("txtDepreciacionContableFactor", "text"), u"0.00%"_s);
    QCOMPARE(value("txtUser3", "text"), u"0"_s);
    QCOMPARE(value("dpUser6", "width"), 1575.0);
}

void tst_screen_e2e::startUpWithAndWithoutVariables()
{
    const QString script = uR"(set txtMarca enabled true
type txtMarca "acme ñu"
dump txt_Af_Cve_Activo_Fijo txtEmpresa txtMarca lvActivoFijoContable lvActivoFijoFiscal opEmpleado opCliente ssTabKit
)"_s;
    const QJsonObject unset = run(script).value(0);
    QVERIFY(!unset.isEmpty());
    QCOMPARE(control(unset, "txt_Af_Cve_Activo_Fijo").value(u"formatoclave"_s).toString(), u"0000000000"_s);
    QCOMPARE(control(unset, "txtMarca").value(u"text"_s).toString(), u"acme ñu"_s);
    const QStringList columns = {u"Número"_s, u"Fecha"_s, u"Ce.Co"_s, u"Importe"_s};
    QCOMPARE(control(unset, "lvActivoFijoContable").value(u"columns"_s).toVariant().toStringList(), columns);
    QCOMPARE(control(unset, "lvActivoFijoFiscal").value(u"columns"_s).toVariant().toStringList(), columns);
    QVERIFY(control(unset, "opEmpleado").value(u"value"_s).toBool());
    QVERIFY(!control(unset, "opCliente").value(u"value"_s).toBool());
    QCOMPARE(unset.value(u"tab"_s).toInt(), 0);

    setVariable(u"FTO_ACTIVO_FIJO"_s, u"000000"_s);
    setVariable(u"CAT_FORZAR_MAYUSCULAS"_s, u"SI"_s);
    const QJsonObject set = run(script).value(0);
    QVERIFY(!set.isEmpty());
    QCOMPARE(control(set, "txt_Af_Cve_Activo_Fijo").value(u"formatoclave"_s).toString(), u"000000"_s);
    QCOMPARE(control(set, "txtMarca").value(u"text"_s).toString(), u"ACME ÑU"_s);
    QCOMPARE(control(set, "lvActivoFijoContable").value(u"columns"_s).toVariant().toStringList(), columns);
}

void tst_screen_e2e::altDigitAndFrames()
{
    const QList<QJsonObject> dumps = run(uR"(key - Alt+2
dump Fr0
key - Shift+Alt+3
dump Fr0
key - Ctrl+Alt+3
dump Fr0
key - Alt+Num+3
dump Fr0
key - 3
dump Fr0
tab 3
dump Fr0
key - Alt+1
dump Fr0
)"_s);
    QCOMPARE(dumps.size(), 7);
    const QList<int> tabs = {1, 1, 1, 1, 1, 3, 0};
    for (int i = 0; i < dumps.size(); ++i) {
        QCOMPARE(dumps[i].value(u"tab"_s).toInt(), tabs[i]);
    }
    // The frame of the tab shown is the only one enabled.
    const QList<QJsonObject> frames = run(u"key - Alt+3\ndump Fr0 Fr1 Fr2 Fr3\ntab 1\ndump Fr0 Fr1 Fr2 Fr3\n"_s);
    QCOMPARE(frames.size(), 2);
    QCOMPARE(enabledFrames(frames[0]), QStringList{u"Fr2"_s});
    QCOMPARE(enabledFrames(frames[1]), QStringList{u"Fr1"_s});

    // After a search cancelled from the key box and a click on a tab.
    const QList<QJsonObject> after =
        run(u"key txt_Af_Cve_Activo_Fijo F2\ntab 3\nkey - Alt+1\ndump Fr0 Fr1 Fr2 Fr3\n"_s);
    QCOMPARE(after.size(), 1);
    QCOMPARE(after[0].value(u"tab"_s).toInt(), 0);
    QCOMPARE(enabledFrames(after[0]), QStringList{u"Fr0"_s});
    // The same key again, after a click moved the tab, is a new key.
    QCOMPARE(run(u"key - Alt+2\ntab 3\nkey - Alt+2\ndump Fr0\n"_s).value(0).value(u"tab"_s).toInt(), 1);
}

void tst_screen_e2e::responsibleSwitch()
{
    const QList<QJsonObject> dumps = run(uR"(set opCliente enabled true
set opEmpleado enabled true
set txtClaveEmpleado text E001
set txtDescripcionEmpleado text "Ana Pérez"
click opCliente
dump opCliente frmEmpleado frmCliente txtClaveEmpleado txtDescripcionEmpleado
set txtClaveCliente text C001
click opEmpleado
dump frmEmpleado frmCliente txtClaveCliente txtDescripcionCliente
)"_s);
    QCOMPARE(dumps.size(), 2);
    const QJsonObject client = dumps[0];
    QVERIFY(control(client, "opCliente").value(u"value"_s).toBool());
    QCOMPARE(control(client, "txtClaveEmpleado").value(u"text"_s).toString(), QString());
    QCOMPARE(control(client, "txtDescripcionEmpleado").value(u"text"_s).toString(), QString());
    QVERIFY(!control(client, "frmEmpleado").value(u"visible"_s).toBool());
    QVERIFY(!control(client, "frmEmpleado").value(u"enabled"_s).toBool());
    QVERIFY(control(client, "frmCliente").value(u"visible"_s).toBool());
    QVERIFY(control(client, "frmCliente").value(u"enabled"_s).toBool());

    const QJsonObject employee = dumps[1];
    QCOMPARE(control(employee, "txtClaveCliente").value(u"text"_s).toString(), QString());
    QVERIFY(control(employee, "frmEmpleado").value(u"visible"_s).toBool());
    QVERIFY(!control(employee, "frmCliente").value(u"visible"_s).toBool());
}

void tst_screen_e2e::resizeFigures()
{
    const QString names = u"ssTabKit Fr0 Fr1 Fr2 Fr3 Sh0 lvActivoFijoContable lvActivoFijoFiscal ssDetalle Controles"_s;
    const QList<QJsonObject> dumps =
        run(u"dump %1\nresize 150 600\ndump %1\nresize 14745 900\ndump %1\nresize 15000 9000\ndump %1\n"_s.arg(names));
    QCOMPARE(dumps.size(), 4);
    auto size = [](const QJsonObject &dump, const char *name) {
        const QJsonObject c = control(dump, name);
        return QSizeF(c.value(u"width"_s).toDouble(), c.value(u"height"_s).toDouble());
    };

    const QJsonObject design = dumps[0];
    QCOMPARE(size(design, "ssTabKit"), QSizeF(11505, 6950));
    for (const char *frame : {"Fr0", "Fr1", "Fr2", "Fr3"})
        QCOMPARE(size(design, frame), QSizeF(11505, 6590));
    QCOMPARE(size(design, "Sh0"), QSizeF(11505, 135));
    QCOMPARE(size(design, "lvActivoFijoContable"), QSizeF(6495, 4760));
    QCOMPARE(size(design, "lvActivoFijoFiscal"), QSizeF(6495, 4760));
    QCOMPARE(size(design, "ssDetalle"), QSizeF(11505, 3680));

    // A tiny window: every size refused, nothing moves, no message.
    const QJsonObject tiny = dumps[1];
    QCOMPARE(tiny.value(u"form"_s).toObject().value(u"width"_s).toDouble(), 150.0);
    for (const char *name : {"ssTabKit", "Fr0", "Fr3", "Sh0", "lvActivoFijoContable", "lvActivoFijoFiscal", "ssDetalle"})
        QCOMPARE(size(tiny, name), size(design, name));

    const QJsonObject large = dumps[3];
    QCOMPARE(size(large, "ssTabKit"), QSizeF(14760, 7700));
    QCOMPARE(size(large, "Fr2"), QSizeF(14760, 7340));
    QCOMPARE(size(large, "lvActivoFijoFiscal"), QSizeF(6495, 5510));
    QCOMPARE(size(large, "ssDetalle"), QSizeF(14760, 4430));
    QCOMPARE(size(large, "Controles"), QSizeF(11745, 960));
    QCOMPARE(control(large, "lvActivoFijoFiscal").value(u"left"_s).toDouble(), 7080.0);
    QCOMPARE(control(large, "ssDetalle").value(u"top"_s).toDouble(), 2760.0);

    // Wide but too short: the strip's height is refused, every width still follows.
    const QJsonObject wide = dumps[2];
    QCOMPARE(size(wide, "ssTabKit"), QSizeF(14505, 6950));
    QCOMPARE(size(wide, "Fr2"), QSizeF(14505, 6590));
    QCOMPARE(size(wide, "Sh0"), QSizeF(14505, 135));
    QCOMPARE(size(wide, "lvActivoFijoContable"), QSizeF(6495, 4760));
    QCOMPARE(size(wide, "ssDetalle"), QSizeF(14505, 3680));
}

QTEST_MAIN(tst_screen_e2e)
#include "tst_screen_e2e.moc"
