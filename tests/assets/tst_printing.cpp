// The shown asset's responsibility letter and label, printed as a user
// prints them, through the real host on both backends; the documents are
// read back with poppler and zbar, as a person would read the paper.
#include "bench/generate/CatalogueGenerator.h"
#include "suite/data/Connection.h"
#include "tests/support/HostScript.h"
#include "tests/support/PdfReading.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Printing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lettersAndLabels_data() { TestDatabase::addBackendRows(); }
    void lettersAndLabels();
    void definitions_data() { TestDatabase::addBackendRows(); }
    void definitions();
    void labelsInBulk_data() { TestDatabase::addBackendRows(); }
    void labelsInBulk();
};

namespace {

// Every value of this asset holds a quote, and its description characters
// that rich text would read as markup and that a template would read as
// directives: they print as they are.
const QString QuotedKey = u"D'AF-01"_s;
const QString QuotedDescription = u"Silla 'Ejecutiva' 24\" & <b> {QR:X} {FECHA}"_s;
const QString QuotedClient = u"Grupo D'Alba"_s;

QJsonArray args(const QJsonObject &event) { return event.value(u"args"_s).toArray(); }
int pagesOf(const QString &file) { return pdfInfo(file, u"Pages"_s).toInt(); }

// The asset keys a page (or all of them, page 0) prints after "ACTIVO FIJO", in order.
QStringList keysPrinted(const QString &file, int page = 0)
{
    static const QRegularExpression label(u"ACTIVO FIJO (\\S+)"_s);
    const QStringList range = page ? QStringList{u"-f"_s, QString::number(page), u"-l"_s, QString::number(page)} : QStringList();
    QStringList keys;
    for (auto it = label.globalMatch(toolOutput(u"pdftotext"_s, range + QStringList{file, u"-"_s})); it.hasNext();)
        keys << it.next().captured(1);
    return keys;
}
QString sqlText(QString value) { return u"'"_s + value.replace(u'\'', u"''"_s) + u"'"_s; }

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

// Runs the script with its documents printed into `dir`.
HostRun print(HostDatabase &db, const QTemporaryDir &dir, const QString &script)
{
    HostRun run = runHost(db.url(), script, {u"--print-dir"_s, dir.path()});
    if (run.exitCode != 0 || !run.errors().isEmpty())
        qWarning("%s", qPrintable(run.errors().join(u'\n') + run.errorOutput));
    return run;
}

} // namespace

// An employee's asset (1), a client's (8) and the quoted one: the letter and
// the label of each, with its template filled (a label from a procedure:
// definitions), holding what a reader needs, its code reading the key.
void tst_Printing::lettersAndLabels()
{
    if (const QString tool = missingPdfTool(); !tool.isEmpty())
        QSKIP(qPrintable(tool + u" is not installed"_s));
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    addQuotedAsset(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QStringList keys = {u"0000000001"_s, u"0000000008"_s, QuotedKey};
    QString script;
    for (const QString &key : keys)
        script += loadLines(key) + u"dump\ntoolbar B1\ntoolbar B2\ndump\n"_s;
    const QTemporaryDir printDir;
    const HostRun run = print(*db, printDir, script);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.messageIds(), QStringList());
    QCOMPARE(run.dump(1), run.dump(0)); // printing changes nothing on the screen
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));

    const QList<QJsonObject> reports = run.of(u"reporte"_s);
    QCOMPARE(reports.size(), 6);
    QStringList said, printed;
    for (const QJsonObject &status : run.of(u"estado"_s))
        said << status.value(u"text"_s).toString();
    for (const QString &key : keys)
        printed << u"Activo fijo %1: carta responsiva impresa"_s.arg(key) << u"Activo fijo %1: etiqueta impresa"_s.arg(key);
    QCOMPARE(said, printed);
    for (int i = 0; i < reports.size(); ++i) {
        const QString &key = keys.at(i / 2);
        const bool letter = i % 2 == 0;
        const auto asset = db->connection().Execute(
            u"SELECT a.Af_Descripcion, COALESCE(p.Em_Nombre || ' ' || p.Em_Apellido_Paterno || ' ' || "
            "p.Em_Apellido_Materno, c.Cl_Descripcion), a.Af_Numero_Serie, a.Af_Marca, e.Em_Descripcion "
            "FROM Activo_Fijo a JOIN Empresa e ON e.Em_Cve_Empresa = a.Em_Cve_Empresa "
            "LEFT JOIN Empleado p ON a.Af_Tipo_Responsable = 'EM' AND p.Em_Cve_Empleado = a.Af_Responsable "
            "LEFT JOIN Cliente c ON a.Af_Tipo_Responsable = 'CL' AND c.Cl_Cve_Cliente = a.Af_Responsable "
            "WHERE a.Af_Cve_Activo_Fijo = "_s + sqlText(key));
        // The letter: key, description and who answers for it. The label: the
        // description, serial, brand and company, as the suite's printer takes it.
        QStringList wanted = letter ? QStringList{key, asset->fieldValue(0).toString(), asset->fieldValue(1).toString()}
                                    : QStringList{u"ACTIVO FIJO "_s + key, asset->fieldValue(0).toString()};
        for (int f = 2; !letter && f < asset->fieldCount(); ++f)
            wanted << asset->fieldValue(f).toString();
        QJsonArray call = args(reports[i]);
        const QString filled = letter ? QString() : call.takeAt(0).toString();
        QCOMPARE(reports[i].value(u"op"_s).toString(), letter ? u"Imprime"_s : u"ImprimeTexto"_s);
        QCOMPARE(call, (letter ? QJsonArray{u"RESPONSIVA_AF"_s, key, u""_s, 0, 0, u""_s} : QJsonArray{u""_s, 0, 0, -1, -1, 7, -1}));
        QVERIFY2(!filled.contains(u'['), qPrintable(u"a placeholder left: "_s + filled));
        const QString file = reports[i].value(u"file"_s).toString();
        const QString text = pdfText(file);
        for (const QString &w : std::as_const(wanted))
            QVERIFY2(!w.isEmpty() && text.contains(w), qPrintable(w + u" not in "_s + text));
        QCOMPARE(qrOf(file), key);
    }
}

// The label's template and statement, one definition after another in one
// run (each press reads the definition again), then the definitions and
// formats that cannot print: each says why and prints nothing.
void tst_Printing::definitions()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString description = db->value(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000008'"_s);
    const QString lastKey = db->value(u"SELECT MAX(Af_Cve_Activo_Fijo) FROM Activo_Fijo"_s);
    QVERIFY(lastKey != u"0000000008"_s);
    auto label = [](const QString &templateText, const QString &statement, const QString &type) {
        return u"sql UPDATE Etiqueta SET Et_Valor = %1, Et_Sentencia = %2, Et_Tipo = %3 WHERE Et_Cve_Etiqueta = 'AF01'\n"
               "toolbar B2\n"_s.arg(sqlText(templateText), sqlText(statement), sqlText(type));
    };
    const QList<std::pair<QString, QString>> printing = {
        // Only the capitalised name is a placeholder; every occurrence is filled; a name no field has stays.
        {label(u"[AF_DESCRIPCION]|[Af_Descripcion]|[AF_DESCRIPCION]|[SIN_CAMPO]"_s,
               u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '{PARAMETROS}'"_s, u"01"_s),
         description + u"|[Af_Descripcion]|"_s + description + u"|[SIN_CAMPO]"_s},
        // Only the first row is used.
        {label(u"[AF_CVE_ACTIVO_FIJO]"_s, u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo <> "
                                          "'{PARAMETROS}' ORDER BY Af_Cve_Activo_Fijo DESC"_s, u"01"_s), lastKey},
        // The marker is replaced everywhere, and only as written.
        {label(u"[CLAVE]/[OTRA]/[DE_NUEVO]"_s,
               u"SELECT '{PARAMETROS}' AS Clave, '{parametros}' AS Otra, '{PARAMETROS}' AS De_Nuevo"_s, u"01"_s),
         u"0000000008/{parametros}/0000000008"_s},
        // A statement without the marker runs as it is.
        {label(u"[FIJO]"_s, u"SELECT 'sin marcador' AS Fijo"_s, u"01"_s), u"sin marcador"_s},
        // Any other type calls the procedure with the key.
        {label(u"[AF_CVE_ACTIVO_FIJO] [AF_DESCRIPCION]"_s, u"Etiqueta_Activo_Fijo"_s, u"PR"_s),
         u"0000000008 "_s + description},
    };
    auto format = [](const QString &value) {
        return u"sql UPDATE Variable SET Va_Valor = %1 WHERE Va_Cve_Variable = 'FTO_IMP_RESPONSIVA_ACTIVO_FIJO'\n"
               "toolbar B1\n"_s.arg(value);
    };
    auto definition = [](const QString &assignments) {
        return u"sql UPDATE Etiqueta SET %1 WHERE Et_Cve_Etiqueta = 'AF01'\ntoolbar B2\n"_s.arg(assignments);
    };
    // Each message as "id|style|title|prompt"; "*": the database's own text, whatever it says.
    const QString letter = u"|Carta responsiva|"_s, labels = u"ERR-ID:7500033|16|Controles_B2Click()|"_s;
    const QString null = u"Uso no válido de Null"_s;
    const QList<std::pair<QString, QString>> refused = {
        {format(u"''"_s),
         u"ERR-ID:7500029|48"_s + letter + u"Debe especificar un formato de impresión para la responsiva del activo fijo"_s},
        {format(u"'NO_EXISTE'"_s), u"ERR-ID:7500030|16"_s + letter + u"No existe el formato de impresión \"NO_EXISTE\"."_s},
        {format(u"NULL"_s), u"ERR-ID:7500030|16"_s + letter + null},
        {definition(u"Et_Valor = NULL"_s), labels + null},
        {definition(u"Et_Valor = '[AF_DESCRIPCION]', Et_Sentencia = 'SELECT Af_Descripcion FROM Activo_Fijo "
                    "WHERE Af_Cve_Activo_Fijo = ''{parametros}'''"_s),
         labels + u"BOF o EOF es True, o el registro actual se eliminó"_s},
        {definition(u"Et_Sentencia = 'SELECT Af_Descripcion, NULL AS Nada FROM Activo_Fijo "
                    "WHERE Af_Cve_Activo_Fijo = ''{PARAMETROS}'''"_s), labels + null},
        {definition(u"Et_Sentencia = 'SELECT Sin_Columna FROM Activo_Fijo'"_s), labels + u"*"_s},
        {definition(u"Et_Sentencia = 'No_Existe', Et_Tipo = '02'"_s), labels + u"*"_s},
        {definition(u"Et_Valor = '', Et_Sentencia = 'Etiqueta_Activo_Fijo'"_s),
         labels + u"La etiqueta no tiene texto que imprimir."_s},
    };
    QString script = loadLines(u"0000000008"_s);
    QStringList expectedPrints, expectedMessages;
    for (const auto &[lines, message] : refused) {
        script += lines;
        expectedMessages << message;
    }
    // Each of these sets the whole definition.
    for (const auto &[lines, printed] : printing) {
        script += lines;
        expectedPrints << printed;
    }
    const QTemporaryDir printDir;
    QList<HostRun> runs{print(*db, printDir, script)};
    // CAT_ETIQUETAS_ACTIVO_FIJO is read at start-up: one run for each value.
    for (const auto &[value, message] :
         {std::pair{u"''"_s, u"ERR-ID:7500031|48|Talvexor|Debe configurar correctamente la variabla<CAT_ETIQUETAS_ACTIVO_FIJO> "_s},
          std::pair{u"'ZZ99'"_s, u"ERR-ID:7500032|48|Talvexor|La clave de la etiqueta es incorrecta"_s}}) {
        db->execute(u"UPDATE Variable SET Va_Valor = %1 WHERE Va_Cve_Variable = 'CAT_ETIQUETAS_ACTIVO_FIJO'"_s.arg(value));
        runs << print(*db, printDir, loadLines(u"0000000008"_s) + u"toolbar B2\n"_s);
        expectedMessages << message;
    }

    QStringList printed, messages;
    for (const HostRun &run : std::as_const(runs)) {
        QCOMPARE(run.exitCode, 0);
        for (const QJsonObject &e : run.of(u"reporte"_s))
            printed << args(e).at(0).toString();
        for (const QString &m : run.messages()) {
            const bool any = expectedMessages.value(messages.size()).endsWith(u"|*"_s) && !m.section(u'|', 3).isEmpty();
            messages << (any ? m.section(u'|', 0, 2) + u"|*"_s : m);
        }
    }
    QCOMPARE(printed, expectedPrints);
    QCOMPARE(QDir(printDir.path()).entryList({u"*.pdf"_s}, QDir::Files).size(), expectedPrints.size());
    QCOMPARE(messages, expectedMessages);
}

// Rows marked in the asset search, and a list of keys as a person scans it
// (the host's --labels): one document, one label per key in its order, each
// with its own code; a deactivated or unknown key printed on no label and
// listed after. Then a thousand keys on a sheet of 3 x 8: 42 pages, in
// order; the same from the 23rd position of a half-used sheet; and a sheet
// its labels do not fit.
void tst_Printing::labelsInBulk()
{
    if (const QString tool = missingPdfTool(); !tool.isEmpty())
        QSKIP(qPrintable(tool + u" is not installed"_s));
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, false);
    bench::GeneratorOptions options;
    options.assets = 1100;
    options.assetsPerTransaction = options.assets;
    options.costCentres = 1000;
    bench::CatalogueGenerator(db->connection(), options).run();
    QStringList active, deactivated;
    const suite::RecordsetPtr assets = db->connection().Execute(u"SELECT Af_Cve_Activo_Fijo, Es_Cve_Estado FROM Activo_Fijo ORDER BY 1"_s);
    for (const auto &row : assets->rows())
        (row[1].toString() == u"BA"_s ? deactivated : active) << row[0].toString();
    QVERIFY(active.size() > 1000 && !deactivated.isEmpty());
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QTemporaryDir dir;
    auto labels = [&](const QByteArray &keys) {
        return runTalvexor({u"--db"_s, db->url(), u"--labels"_s, u"-"_s, u"--print-dir"_s, dir.path()}, keys);
    };

    // One label a page, each reading its key in words and in its code.
    auto rollHolds = [&](const QString &roll, const QStringList &keys) {
        QCOMPARE(pagesOf(roll), int(keys.size()));
        for (int page = 1; page <= keys.size(); ++page) {
            QCOMPARE(keysPrinted(roll, page), QStringList{keys[page - 1]});
            QCOMPARE(qrOf(roll, page), keys[page - 1]);
        }
    };

    // Marked in the asset search (F2 on the key box), in this order.
    const QStringList marked = {active[5], active[1], active[9]};
    const HostRun searched = runHost(db->url(), u"mark \"Imprimir etiquetas\" %1\nkey txt_Af_Cve_Activo_Fijo F2\n"_s.arg(marked.join(u' ')),
                                     {u"--print-dir"_s, dir.path()});
    QCOMPARE(searched.exitCode, 0);
    QCOMPARE(searched.of(u"consulta"_s).value(0).value(u"marked"_s).toVariant().toStringList(), marked);
    QCOMPARE(searched.of(u"reporte"_s).size(), 1);
    rollHolds(searched.of(u"reporte"_s)[0].value(u"file"_s).toString(), marked);

    // Scanned: two keys, a deactivated one, a short key as the key box fills it, an unknown one.
    const QString unknown = u"NO-EXISTE"_s;
    const HostRun scanned = labels((active[7] + u"\n\n "_s + active[2] + u"\n"_s + deactivated[0] + u"\n"_s
                                    + QString::number(active[0].toInt()) + u"\n"_s + unknown + u"\n"_s).toUtf8());
    QCOMPARE(scanned.exitCode, 0);
    const QList<QJsonObject> printed = scanned.of(u"reporte"_s);
    QCOMPARE(printed.size(), 1);
    QCOMPARE(args(printed[0]), (QJsonArray{3, u"rollo"_s, u""_s, 7}));
    rollHolds(printed[0].value(u"file"_s).toString(), {active[7], active[2], active[0]});
    QCOMPARE(scanned.messageIds(), QStringList{u"ERR-ID:7500080"_s});
    QCOMPARE(scanned.of(u"mensaje"_s)[0].value(u"prompt"_s).toString(),
             u"No se imprimió la etiqueta de estas claves:\n%1: el activo fijo está dado de baja\n%2: no hay un activo fijo con "
             "esta clave"_s.arg(deactivated[0], unknown));
    QCOMPARE(scanned.of(u"estado"_s).value(0).value(u"text"_s).toString(), u"3 etiquetas impresas"_s);

    // A thousand on sheets; then from the 23rd place of the first sheet; then a sheet with no columns.
    const QStringList thousand = active.mid(0, 1000);
    const QByteArray list = thousand.join(u'\n').toUtf8();
    db->execute(u"UPDATE Variable SET Va_Valor = 'AF03' WHERE Va_Cve_Variable = 'CAT_ETIQUETAS_ACTIVO_FIJO'"_s);
    const QString sheet = u"UPDATE Etiqueta SET %1 WHERE Et_Cve_Etiqueta = 'AF03'"_s;
    for (const auto &[change, pages, first] : {std::tuple{u"Et_Posicion_Inicial = 1"_s, 42, 24}, {u"Et_Posicion_Inicial = 23"_s, 43, 2}}) {
        db->execute(sheet.arg(change));
        const HostRun run = labels(list);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.messageIds(), QStringList());
        const QString file = run.of(u"reporte"_s).value(0).value(u"file"_s).toString();
        QCOMPARE(pagesOf(file), pages);
        QCOMPARE(keysPrinted(file, 1).size(), first);
        QCOMPARE(keysPrinted(file), thousand);
    }
    db->execute(sheet.arg(u"Et_Columnas = 0"_s));
    const HostRun unfit = labels(list);
    QCOMPARE(unfit.messageIds(), QStringList{u"ERR-ID:7500081"_s});
    QVERIFY(unfit.of(u"mensaje"_s)[0].value(u"prompt"_s).toString().startsWith(u"La hoja de etiquetas A4 necesita"_s));
    QVERIFY(unfit.of(u"reporte"_s).isEmpty());
    db->execute(sheet.arg(u"Et_Columnas = 3"_s));

    // Printing wrote nothing.
    db->execute(u"UPDATE Variable SET Va_Valor = 'AF01' WHERE Va_Cve_Variable = 'CAT_ETIQUETAS_ACTIVO_FIJO'"_s);
    db->execute(sheet.arg(u"Et_Posicion_Inicial = 1"_s));
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));
}

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
