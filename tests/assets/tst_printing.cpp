// The shown asset's responsibility letter and label, printed as a user
// prints them, through the real host on both backends; the documents are
// read back with poppler and zbar, as a person would read the paper.
#include "suite/data/Connection.h"
#include "tests/support/HostScript.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Printing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void letter_data() { TestDatabase::addBackendRows(); }
    void letter();
    void labelsOfEachKind_data();
    void labelsOfEachKind();
    void labelPlaceholders_data() { TestDatabase::addBackendRows(); }
    void labelPlaceholders();
    void failures_data() { TestDatabase::addBackendRows(); }
    void failures();

private:
    HostRun print(HostDatabase &db, const QString &script);
    QStringList printedFiles() const;
    std::unique_ptr<QTemporaryDir> m_printDir;
};

namespace {

// Every value of this asset holds a quote, and its description characters
// that rich text would read as markup.
const QString QuotedKey = u"D'AF-01"_s;
const QString QuotedDescription = u"Silla 'Ejecutiva' 24\" & <b>"_s;
const QString QuotedClient = u"Grupo D'Alba"_s;

QString loadLines(const QString &key)
{
    return u"set txt_Af_Cve_Activo_Fijo text \"%1\"\nkey txt_Af_Cve_Activo_Fijo Return\n"_s.arg(
        QString(key).replace(u'"', u"\\\""_s));
}

QString tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(program), arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Ligatures folded ("ﬁ" reads "fi") and line breaks as blanks.
QString pdfText(const QString &file)
{
    return tool(u"pdftotext"_s, {file, u"-"_s}).normalized(QString::NormalizationForm_KC).simplified();
}

QString qrOf(const QString &file)
{
    const QString png = file + u"-page"_s;
    tool(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"150"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s, file, png});
    return tool(u"zbarimg"_s, {u"--raw"_s, u"-q"_s, png + u".png"_s}).trimmed();
}

QJsonArray args(const QJsonObject &event)
{
    return event.value(u"args"_s).toArray();
}

QString sqlText(const QString &value)
{
    return u"'"_s + QString(value).replace(u'\'', u"''"_s) + u"'"_s;
}

// A copy of demo asset 8 (a client's) whose key and values hold quotes, its
// client renamed with one too.
void addQuotedAsset(HostDatabase &db)
{
    db.execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Ta_Cve_Tipo_Activo_Fijo, "
               "Em_Cve_Empresa, Af_Numero_Serie, Af_Marca, Af_Modelo, Af_Tipo_Responsable, Af_Responsable, "
               "Af_Costo_Original, Es_Cve_Estado) SELECT %1, %2, Ta_Cve_Tipo_Activo_Fijo, Em_Cve_Empresa, "
               "'S''N-1', 'O''Hara', 'M''1', 'CL', Af_Responsable, 10, 'AC' FROM Activo_Fijo "
               "WHERE Af_Cve_Activo_Fijo = '0000000008'"_s.arg(sqlText(QuotedKey), sqlText(QuotedDescription)));
    db.execute(u"UPDATE Cliente SET Cl_Descripcion = %1 WHERE Cl_Cve_Cliente = (SELECT Af_Responsable FROM "
               "Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000008')"_s.arg(sqlText(QuotedClient)));
}

void requireTools()
{
    for (const QString &t : {u"pdftotext"_s, u"pdftoppm"_s, u"zbarimg"_s}) {
        if (QStandardPaths::findExecutable(t).isEmpty())
            QSKIP(qPrintable(t + u" is not installed"_s));
    }
}

} // namespace

void tst_Printing::init()
{
    m_printDir = std::make_unique<QTemporaryDir>();
}

HostRun tst_Printing::print(HostDatabase &db, const QString &script)
{
    HostRun run = runHost(db.url(), script, {u"--print-dir"_s, m_printDir->path()});
    if (run.exitCode != 0 || !run.errors().isEmpty())
        qWarning("%s", qPrintable(run.errors().join(u'\n') + run.errorOutput));
    return run;
}

QStringList tst_Printing::printedFiles() const
{
    return QDir(m_printDir->path()).entryList({u"*.pdf"_s}, QDir::Files);
}

void tst_Printing::letter()
{
    requireTools();
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    addQuotedAsset(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());

    // An employee's asset (1), with a dump on each side of both commands; a
    // client's (8); the quoted one.
    const HostRun run = print(*db, loadLines(u"0000000001"_s) + u"dump\ntoolbar B1\ntoolbar B2\ndump\n"_s
                                       + loadLines(u"0000000008"_s) + u"toolbar B1\n"_s + loadLines(QuotedKey)
                                       + u"toolbar B1\n"_s);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messageIds(), QStringList());
    QCOMPARE(run.dump(1), run.dump(0));
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));

    QList<QJsonObject> letters = run.of(u"reporte"_s);
    QCOMPARE(letters.size(), 4);
    QCOMPARE(letters.takeAt(1).value(u"op"_s).toString(), u"ImprimeTexto"_s);
    const auto employee = db->connection().Execute(
        u"SELECT p.Em_Nombre, p.Em_Apellido_Paterno, p.Em_Apellido_Materno FROM Empleado p JOIN Activo_Fijo a "
        "ON a.Af_Responsable = p.Em_Cve_Empleado WHERE a.Af_Cve_Activo_Fijo = '0000000001'"_s);
    const QString employeeName = QStringList{employee->fieldValue(0).toString(), employee->fieldValue(1).toString(),
                                             employee->fieldValue(2).toString()}.join(u' ');
    const QString clientName = db->value(u"SELECT c.Cl_Descripcion FROM Cliente c JOIN Activo_Fijo a ON "
                                         "a.Af_Responsable = c.Cl_Cve_Cliente WHERE a.Af_Cve_Activo_Fijo = '0000000008'"_s);
    const QList<std::pair<QString, QString>> expected = {
        {u"0000000001"_s, employeeName}, {u"0000000008"_s, clientName}, {QuotedKey, QuotedClient}};
    for (int i = 0; i < expected.size(); ++i) {
        const auto &[key, responsible] = expected.at(i);
        QCOMPARE(letters.at(i).value(u"op"_s).toString(), u"Imprime"_s);
        QCOMPARE(args(letters.at(i)), (QJsonArray{u"RESPONSIVA_AF"_s, key, u""_s, 0, 0, u""_s}));
        const QString file = letters.at(i).value(u"file"_s).toString();
        const QString text = pdfText(file);
        const QString description = db->value(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = "_s
                                              + sqlText(key));
        for (const QString &wanted : {key, description, responsible})
            QVERIFY2(text.contains(wanted), qPrintable(wanted + u" not in the letter: "_s + text));
        QCOMPARE(qrOf(file), key);
    }
}

void tst_Printing::labelsOfEachKind_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("label");
    for (const QString &backend : {u"sqlite"_s, u"postgresql"_s}) {
        QTest::newRow(qPrintable(backend + u"/statement"_s)) << backend << u"AF01"_s;
        QTest::newRow(qPrintable(backend + u"/procedure"_s)) << backend << u"AF02"_s;
    }
}

void tst_Printing::labelsOfEachKind()
{
    requireTools();
    QFETCH(QString, backend);
    QFETCH(QString, label);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    addQuotedAsset(*db);
    db->execute(u"UPDATE Variable SET Va_Valor = '%1' WHERE Va_Cve_Variable = 'CAT_ETIQUETAS_ACTIVO_FIJO'"_s.arg(label));

    const QStringList keys = {u"0000000008"_s, QuotedKey};
    const HostRun run = print(*db, loadLines(keys.at(0)) + u"toolbar B2\n"_s + loadLines(keys.at(1)) + u"toolbar B2\n"_s);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messageIds(), QStringList());
    const QList<QJsonObject> labels = run.of(u"reporte"_s);
    QCOMPARE(labels.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        QCOMPARE(labels.at(i).value(u"op"_s).toString(), u"ImprimeTexto"_s);
        QJsonArray numbers = args(labels.at(i));
        const QString filled = numbers.takeAt(0).toString();
        QCOMPARE(numbers, (QJsonArray{u""_s, 0, 0, -1, -1, 7, -1}));
        QVERIFY2(!filled.contains(u'['), qPrintable(u"a placeholder left: "_s + filled));

        const auto asset = db->connection().Execute(
            u"SELECT a.Af_Descripcion, a.Af_Numero_Serie, a.Af_Marca, e.Em_Descripcion FROM Activo_Fijo a JOIN "
            "Empresa e ON e.Em_Cve_Empresa = a.Em_Cve_Empresa WHERE a.Af_Cve_Activo_Fijo = "_s + sqlText(keys.at(i)));
        const QString file = labels.at(i).value(u"file"_s).toString();
        const QString text = pdfText(file);
        QStringList wanted{u"ACTIVO FIJO "_s + keys.at(i)};
        for (int f = 0; f < asset->fieldCount(); ++f)
            wanted << asset->fieldValue(f).toString();
        for (const QString &w : std::as_const(wanted))
            QVERIFY2(text.contains(w), qPrintable(w + u" not on the label: "_s + text));
        QCOMPARE(qrOf(file), keys.at(i));
    }
}

// The template and the statement's rules, one definition after another in
// one run: each press reads the definition again.
void tst_Printing::labelPlaceholders()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString description = db->value(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000008'"_s);
    const QString lastKey = db->value(u"SELECT MAX(Af_Cve_Activo_Fijo) FROM Activo_Fijo"_s);
    QVERIFY(lastKey != u"0000000008"_s);

    struct Definition { QString templateText, statement, type, printed; };
    const QList<Definition> definitions = {
        // Only the capitalised name is a placeholder; every occurrence is filled;
        // a name no field has stays.
        {u"[AF_DESCRIPCION]|[Af_Descripcion]|[AF_DESCRIPCION]|[SIN_CAMPO]"_s,
         u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '{PARAMETROS}'"_s, u"01"_s,
         description + u"|[Af_Descripcion]|"_s + description + u"|[SIN_CAMPO]"_s},
        // Only the first row is used.
        {u"[AF_CVE_ACTIVO_FIJO]"_s,
         u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo <> '{PARAMETROS}' "
         "ORDER BY Af_Cve_Activo_Fijo DESC"_s, u"01"_s, lastKey},
        // The marker is replaced everywhere, and only as written.
        {u"[CLAVE]/[OTRA]/[DE_NUEVO]"_s,
         u"SELECT '{PARAMETROS}' AS Clave, '{parametros}' AS Otra, '{PARAMETROS}' AS De_Nuevo"_s, u"01"_s,
         u"0000000008/{parametros}/0000000008"_s},
        // A statement without the marker runs as it is.
        {u"[FIJO]"_s, u"SELECT 'sin marcador' AS Fijo"_s, u"01"_s, u"sin marcador"_s},
        // Any other type calls the procedure with the key.
        {u"[AF_CVE_ACTIVO_FIJO] [AF_DESCRIPCION]"_s, u"Etiqueta_Activo_Fijo"_s, u"PR"_s,
         u"0000000008 "_s + description},
    };
    QString script = loadLines(u"0000000008"_s);
    QStringList expected;
    for (const Definition &d : definitions) {
        script += u"sql UPDATE Etiqueta SET Et_Valor = %1, Et_Sentencia = %2, Et_Tipo = %3 "
                  "WHERE Et_Cve_Etiqueta = 'AF01'\ntoolbar B2\n"_s.arg(sqlText(d.templateText), sqlText(d.statement),
                                                                       sqlText(d.type));
        expected << d.printed;
    }
    const HostRun run = print(*db, script);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messageIds(), QStringList());
    QStringList printed;
    for (const QJsonObject &e : run.of(u"reporte"_s))
        printed << args(e).at(0).toString();
    QCOMPARE(printed, expected);
}

void tst_Printing::failures()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString Letter = u"Carta responsiva"_s;
    const QString Labels = u"Controles_B2Click()"_s;
    const QString Null = u"Uso no válido de Null"_s;
    const QString NoRow = u"BOF o EOF es True, o el registro actual se eliminó"_s;
    auto format = [](const QString &value) {
        return u"sql UPDATE Variable SET Va_Valor = %1 WHERE Va_Cve_Variable = 'FTO_IMP_RESPONSIVA_ACTIVO_FIJO'\n"
               "toolbar B1\n"_s.arg(value);
    };
    auto definition = [](const QString &assignments) {
        return u"sql UPDATE Etiqueta SET %1 WHERE Et_Cve_Etiqueta = 'AF01'\ntoolbar B2\n"_s.arg(assignments);
    };
    struct Shown { QString id, title, prompt; int style; };
    // An empty prompt: the database's own text, whatever it says.
    const QList<std::pair<QString, Shown>> steps = {
        {format(u"''"_s), {u"ERR-ID:7500029"_s, Letter,
                          u"Debe especificar un formato de impresión para la responsiva del activo fijo"_s, 48}},
        {format(u"'NO_EXISTE'"_s), {u"ERR-ID:7500030"_s, Letter, u"No existe el formato de impresión \"NO_EXISTE\"."_s, 16}},
        {format(u"NULL"_s), {u"ERR-ID:7500030"_s, Letter, Null, 16}},
        {definition(u"Et_Valor = NULL"_s), {u"ERR-ID:7500033"_s, Labels, Null, 16}},
        {definition(u"Et_Valor = '[AF_DESCRIPCION]', Et_Sentencia = 'SELECT Af_Descripcion FROM Activo_Fijo "
                    "WHERE Af_Cve_Activo_Fijo = ''{parametros}'''"_s), {u"ERR-ID:7500033"_s, Labels, NoRow, 16}},
        {definition(u"Et_Sentencia = 'SELECT Af_Descripcion, NULL AS Nada FROM Activo_Fijo "
                    "WHERE Af_Cve_Activo_Fijo = ''{PARAMETROS}'''"_s), {u"ERR-ID:7500033"_s, Labels, Null, 16}},
        {definition(u"Et_Sentencia = 'SELECT Sin_Columna FROM Activo_Fijo'"_s), {u"ERR-ID:7500033"_s, Labels, {}, 16}},
        {definition(u"Et_Sentencia = 'No_Existe', Et_Tipo = '02'"_s), {u"ERR-ID:7500033"_s, Labels, {}, 16}},
        {definition(u"Et_Valor = '', Et_Sentencia = 'Etiqueta_Activo_Fijo'"_s),
         {u"ERR-ID:7500033"_s, Labels, u"La etiqueta no tiene texto que imprimir."_s, 16}},
    };
    QString script = loadLines(u"0000000008"_s);
    for (const auto &step : steps)
        script += step.first;
    QList<HostRun> runs{print(*db, script)};
    QList<Shown> expected;
    for (const auto &step : steps)
        expected << step.second;

    // CAT_ETIQUETAS_ACTIVO_FIJO is read at start-up: one run for each value.
    for (const auto &[value, shown] : {std::pair{u"''"_s, Shown{u"ERR-ID:7500031"_s, u"Talvexor"_s,
                                                u"Debe configurar correctamente la variabla<CAT_ETIQUETAS_ACTIVO_FIJO> "_s, 48}},
                                       std::pair{u"'ZZ99'"_s, Shown{u"ERR-ID:7500032"_s, u"Talvexor"_s,
                                                u"La clave de la etiqueta es incorrecta"_s, 48}}}) {
        db->execute(u"UPDATE Variable SET Va_Valor = %1 WHERE Va_Cve_Variable = 'CAT_ETIQUETAS_ACTIVO_FIJO'"_s.arg(value));
        runs << print(*db, loadLines(u"0000000008"_s) + u"toolbar B2\n"_s);
        expected << shown;
    }

    QList<QJsonObject> messages;
    for (const HostRun &run : std::as_const(runs)) {
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.of(u"reporte"_s).size(), 0);
        messages << run.of(u"mensaje"_s);
    }
    QCOMPARE(printedFiles(), QStringList());
    QCOMPARE(messages.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const Shown &want = expected.at(i);
        const QJsonObject &got = messages.at(i);
        const QString where = u"message %1 (%2)"_s.arg(i).arg(want.id);
        QCOMPARE(got.value(u"id"_s).toString() + u" "_s + where, want.id + u" "_s + where);
        QCOMPARE(got.value(u"title"_s).toString() + u" "_s + where, want.title + u" "_s + where);
        QCOMPARE(got.value(u"style"_s).toInt(), want.style);
        const QString prompt = got.value(u"prompt"_s).toString();
        QVERIFY2(want.prompt.isEmpty() ? !prompt.isEmpty() : prompt == want.prompt, qPrintable(where + u": "_s + prompt));
    }
}

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
