// Hostile input in every field a user can type, paste or pick, in the configuration and in print templates, through
// the real host on both backends: each value is stored and read back as the screen held it, or refused in words with
// the input left on the screen and nothing stored. The same test runs under AddressSanitizer and UBSan
// (TALVEXOR_SANITIZE).
#include "suite/data/Schema.h"
#include "tests/reliability/AttemptScript.h"
#include "tests/support/TableSnapshot.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

class tst_Hostile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyField_data() { TestDatabase::addBackendRows(); }
    void everyField();
    void configurationAndTemplates_data() { TestDatabase::addBackendRows(); }
    void configurationAndTemplates();
};

namespace {

// Quotes, SQL, NUL and other controls, line breaks, right-to-left and combining text, characters beyond the BMP
// (5,000 after an odd one, so a box's length falls inside a pair), 10,000 characters, blanks, placeholders and
// markup.
const QStringList HostileTexts = {
    u"O'Brien ''"_s, u"\"dobles\" \\ \\\\ fin\\"_s, u"'; DROP TABLE Activo_Fijo; --"_s, u"' OR '1'='1"_s, u"a"_s + QChar(0) + u"b"_s,
    u"\x01\x02\x1b[31m\x7f fin"_s, u"tab\there\nnueva\rlinea"_s, u"\u202Eabc\u202C שלום مرحبا e\u0301 a\u0308\u0323"_s,
    u"\U0001F600\U0001F1F2\U0001F1FD"_s, QString(10000, u'x'), u"a"_s + u"\U0001F600"_s.repeated(5000), u"   "_s,
    u"%_[]{}<b>&amp;</b>{QR:x}[AF_DESCRIPCION]"_s};
// Beyond 16, 32 and 64 bits and any number, and what is no number.
const QStringList HostileNumbers = {u"-1"_s, u"65536"_s, u"-32769"_s, u"4294967296"_s, u"99999999999999999999"_s, u"1e400"_s,
                                    u"NaN"_s, u"abc"_s, u"12abc"_s, u"-0"_s, u"0x1F"_s, u"1,234.5"_s, u"\u0661\u0662"_s,
                                    u"0.00001"_s, u"-5"_s};
const QStringList HostileDates = {u"0001-01-01"_s, u"1752-12-31"_s, u"1753-01-01"_s, u"2038-01-19"_s, u"9999-12-31"_s};

// Every control a user fills, by tab; a numeric box with the format it shows numbers in.
struct Field
{
    QString control;
    int tab;
    QString numberFormat = {};
};
const QList<Field> Fields = {
    {u"txt_Af_Cve_Activo_Fijo"_s, 0}, {u"txt_Af_Descripcion"_s, 0}, {u"txt_Ta_Cve_Tipo_ActivoFijo"_s, 0}, {u"txtEmpresa"_s, 0},
    {u"txt_Au_Cve_Ubicacion"_s, 0}, {u"txtMarca"_s, 0}, {u"txtModelo"_s, 0}, {u"txtNSerie"_s, 0}, {u"txtNEconomico"_s, 0},
    {u"txtClaveEmpleado"_s, 0}, {u"txtClaveCliente"_s, 0}, {u"txtCalificacion"_s, 0}, {u"txtVidaUtil"_s, 0, u"0"_s},
    {u"txtProyecto"_s, 1}, {u"txtCentroCosto"_s, 1}, {u"txtUen"_s, 1}, {u"txtCuentaContable"_s, 1}, {u"txtCuentaContable1"_s, 1},
    {u"txtCuentaContable2"_s, 1}, {u"txtCuentaContable3"_s, 1}, {u"ssDetalle"_s, 1}, {u"txt_Pv_Cve_Proveedor"_s, 2},
    {u"txt_Referencia"_s, 2}, {u"txt_Costo_Original"_s, 2, u"$#,##0.0000"_s}, {u"dpFechaCompra"_s, 2}, {u"txtUser1"_s, 3},
    {u"txtUser2"_s, 3}, {u"txtUser3"_s, 3, u"#,##0.00"_s}, {u"txtUser4"_s, 3, u"#,##0.00"_s}, {u"dpUser5"_s, 3}, {u"dpUser6"_s, 3}};
const QString KeyBox = u"txt_Af_Cve_Activo_Fijo"_s, Grid = u"ssDetalle"_s;

// The number a box's text stands for as the box shows numbers ("$1,234.5000", empty for 0); none for what is no number.
std::optional<double> typedNumber(QString text)
{
    text = text.remove(u'$').remove(u',').trimmed();
    bool ok = text.isEmpty();
    const double n = ok ? 0.0 : QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(n) ? std::optional(n) : std::nullopt;
}

// What a dump shows of a control: its text (a numeric box's exact number when it holds one, whatever its text
// rounds it to), its date, or the grid's rows as "centre=share;...".
QString shown(const AttemptScript::Outcome &o, const QString &control)
{
    const QJsonObject c = dumpedControl(o.dump, control);
    QStringList rows;
    for (const QJsonValue &row : c.value(u"rows"_s).toArray())
        rows << row[u"Clave"_s].toString() + u'=' + row[u"Porcentaje"_s].toVariant().toString();
    if (control == Grid)
        return rows.join(u';');
    if (c.value(u"valor"_s).isDouble())
        return c.value(u"valor"_s).toVariant().toString();
    return c.value(control.startsWith(u"dp"_s) ? u"date"_s : u"text"_s).toString();
}

// A number or share refused as it is left, in words (the accept refuses it again).
bool refusedWhereTyped(const AttemptScript::Outcome &typed)
{
    return std::all_of(typed.ids.begin(), typed.ids.end(),
                       [](const QString &id) { return id == u"ERR-ID:7500052"_s || id == u"ERR-ID:7500055"_s; });
}

// A prompt a user can read: it does not open with a driver's or parser's complaint about a statement (the database's
// words may follow).
bool clear(const QString &message)
{
    static const QRegularExpression noise(u"QPSQL|QSQLITE|syntax error|unterminated|unrecognized token|Unable to"_s,
                                          QRegularExpression::CaseInsensitiveOption);
    const QString prompt = message.section(u'\n', 0, 0);
    return !prompt.trimmed().isEmpty() && !noise.match(prompt).hasMatch();
}

// A value as a message can show it: its start, as a script word.
QString visible(const QString &text)
{
    return word(text.left(40)) + (text.size() > 40 ? u"…(%1)"_s.arg(text.size()) : QString());
}

} // namespace

void tst_Hostile::everyField()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    typeAsTyped(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());

    // One new asset per field and value: pasted into a box (as a person pastes), typed into the grid's centre (texts)
    // or share (numbers), or picked; then dumped (attempt 2n), and accepted (2n + 1).
    AttemptScript script;
    QList<std::pair<Field, QString>> cases;
    for (const Field &f : Fields) {
        const bool date = f.control.startsWith(u"dp"_s), number = !f.numberFormat.isEmpty();
        for (const QString &value : date ? HostileDates : number ? HostileNumbers : HostileTexts + (f.control == Grid ? HostileNumbers : QStringList())) {
            const bool share = f.control == Grid && HostileNumbers.contains(value);
            if (f.control == Grid && value.size() >= 100)
                continue;
            const QString putIn = date ? u"set %1 date %2"_s.arg(f.control, value)
                                  : f.control != Grid ? u"paste %1 %2"_s.arg(f.control, word(value))
                                  : share ? u"cell 0 Clave 120\ncell 0 Porcentaje "_s + word(value)
                                          : u"cell 0 Clave "_s + word(value);
            const int n = int(cases.size());
            cases << std::pair{f, value};
            script.add(AttemptScript::required(u"HX%1"_s.arg(n, 3, 10, QLatin1Char('0')), u"Hostil %1"_s.arg(n))
                           + (f.control == u"txtClaveCliente"_s ? u"click opCliente\n"_s : QString())
                           + u"tab %1\n%2\ntab 0\n"_s.arg(f.tab).arg(putIn), false, {f.control, KeyBox});
            script.add(u"toolbar Aceptar\n"_s, true, {f.control, KeyBox});
        }
    }
    const HostRun run = runHost(db->url(), script.text());
    QCOMPARE(hostTrouble(run), QString());
    const QList<AttemptScript::Outcome> outcomes = script.outcomes(run);

    // A refused one said so clearly and left what was typed there to correct; each saved one is shown again by the
    // key the screen held.
    AttemptScript readBack;
    QList<qsizetype> saved;
    QStringList wrong;
    for (qsizetype n = 0; n < cases.size(); ++n) {
        const auto &[field, value] = cases.at(n);
        const AttemptScript::Outcome &typed = outcomes.at(2 * n), &accepted = outcomes.at(2 * n + 1);
        const QString at = u"%1 <- %2: "_s.arg(field.control, visible(value));
        const QStringList errors = typed.errors + accepted.errors + (refusedWhereTyped(typed) ? QStringList() : typed.ids);
        if (!accepted.finished) {
            wrong << at + u"the host stopped"_s;
            break;
        } else if (!errors.isEmpty()) {
            wrong << at + errors.join(u"; "_s);
        } else if (accepted.stored() && !typed.ids.isEmpty()) {
            wrong << at + u"refused as typed (%1), yet saved"_s.arg(typed.ids.join(u','));
        } else if (accepted.stored()) {
            saved << n;
            readBack.add(loadLines(shown(typed, KeyBox)), false, {field.control, KeyBox});
        } else if (!accepted.editing() || accepted.ids.isEmpty()
                   || !std::all_of(accepted.prompts.begin(), accepted.prompts.end(), clear)
                   || !std::all_of(typed.prompts.begin(), typed.prompts.end(), clear)) {
            wrong << at + u"neither saved nor refused in words: "_s + accepted.ids.join(u',') + u' ' + visible(accepted.prompts.join(u' '));
        } else if (shown(accepted, field.control) != shown(typed, field.control)) {
            wrong << at + u"the refusal changed the input to "_s + visible(shown(accepted, field.control));
        }
    }
    const HostRun reread = runHost(db->url(), readBack.text());
    QCOMPARE(hostTrouble(reread), QString());
    const QList<AttemptScript::Outcome> loaded = readBack.outcomes(reread);
    for (qsizetype r = 0; r < saved.size() && wrong.size() < 60; ++r) {
        const auto &[field, value] = cases.at(saved.at(r));
        const AttemptScript::Outcome &back = loaded.at(r);
        const QString at = u"%1 <- %2: "_s.arg(field.control, visible(value));
        const QString expected = shown(outcomes.at(2 * saved.at(r)), field.control), got = shown(back, field.control);
        // A number is kept exactly as the box held it; a text, or a share, that is no number is not saved at all.
        const std::optional<double> number = typedNumber(expected);
        if (!back.finished || !back.ids.isEmpty() || !back.errors.isEmpty())
            wrong << at + u"saved, but it does not load: "_s + (back.ids + back.prompts + back.errors).join(u' ');
        else if ((!field.numberFormat.isEmpty() && !number) || (field.control == Grid && (expected.endsWith(u'=') || expected.contains(u"=;"_s))))
            wrong << at + u"\""_s + visible(expected) + u"\" is no number, yet it was saved; it reads back as "_s + got;
        else if (got != expected)
            wrong << at + u"saved as \""_s + visible(expected) + u"\", reads back \""_s + visible(got) + u'"';
    }
    // Nothing else changed: only the saved assets, their rows, registrations and creations in their history are new.
    const TableSnapshot after = TableSnapshot::take(db->connection());
    for (const suite::TableDef &table : suite::Schema::tables()) {
        const QStringList was = before.rows(table.name), now = after.rows(table.name);
        if (table.name == u"Activo_Fijo"_s || table.name == u"Bitacora"_s ? now.size() != was.size() + saved.size()
            : table.name != u"Activo_Fijo_Centro_Costo"_s && table.name != u"Historial"_s && now != was)
            wrong << u"%1: %2 rows after %3 saves on %4"_s.arg(table.name).arg(now.size()).arg(saved.size()).arg(was.size());
    }
    const QString created = db->value(u"SELECT COUNT(DISTINCT Hi_Clave) FROM Historial WHERE Hi_Orden = 'Alta'"_s);
    const QString other = db->value(u"SELECT COUNT(*) FROM Historial WHERE Hi_Orden <> 'Alta'"_s);
    if (created.toInt() != saved.size() || other != u"0"_s)
        wrong << u"Historial: %1 assets created and %2 other changes after %3 saves"_s.arg(created, other).arg(saved.size());
    qInfo("%s: %d values put into %d fields, %d stored and read back, %d refused with a message; problems: %d", qPrintable(backend),
          int(cases.size()), int(Fields.size()), int(saved.size()), int(cases.size() - saved.size()), int(wrong.size()));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join(u'\n')));
}

void tst_Hostile::configurationAndTemplates()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    typeAsTyped(*db);
    auto variable = [&](const QString &name, const QString &value) {
        db->execute(u"DELETE FROM Variable WHERE Va_Cve_Variable = '%1'"_s.arg(name));
        db->execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('%1', '%2')"_s.arg(name, suite::sqlEscape(value)));
    };
    // An asset whose texts look like markup, placeholders and directives.
    db->execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Ta_Cve_Tipo_Activo_Fijo, Em_Cve_Empresa, "
                "Au_Cve_Ubicacion, Af_Costo_Original, Af_Numero_Serie, Af_Numero_Economico, Af_Marca, Af_Modelo, Es_Cve_Estado) "
                "VALUES ('HQ''1', '<b>O''Brien</b> {QR:x} [AF_CVE_ACTIVO_FIJO] \u202Eabc', '001', '0001', '0001', 10, 'S''HQ', "
                "'E''HQ', '<i>M''</i>', '{FECHA}[AF_MARCA]', 'AC')"_s);
    const QString centre = u"'; DROP TABLE Activo_Fijo; --"_s, equipmentType = u"O'B\"\\x"_s;
    variable(u"AF_CENTRO_COSTO_DEFAULT"_s, centre);
    variable(u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"x' OR '1'='1"_s);
    variable(u"FTO_EQUIPO"_s, u"'\";--\\"_s.repeated(8));          // an equipment key of 40 places
    variable(u"FTO_ACTIVO_FIJO"_s, u"'; DROP TABLE Variable; --"_s); // an asset key of 26
    variable(u"CAT_TIPO_EQUIPO_DEFAULT"_s, equipmentType);
    const QStringList tables = db->connection().tableNames();
    // A switch that reads as no Boolean stops the screen from starting, in words, before it shows anything.
    variable(u"CAT_FORZAR_MAYUSCULAS"_s, u"'; DROP TABLE Empresa; --"_s);
    const HostRun notStarted = runHost(db->url(), u"dump Controles\n"_s);
    QVERIFY2(notStarted.exitCode == 2 && notStarted.events.isEmpty() && notStarted.errorOutput.contains(u"no es un valor lógico"_s),
             qPrintable(notStarted.errorOutput));
    variable(u"CAT_FORZAR_MAYUSCULAS"_s, u"NO"_s);
    // An operator's code longer than the audit columns keep is refused at start-up, in words; thirty characters,
    // accented ones counted once, start.
    const HostRun longOperator = runHost(db->url(), u"dump Controles\n"_s, {u"--usuario"_s, u"Ñ"_s.repeated(31)});
    QVERIFY2(longOperator.exitCode == 2 && longOperator.events.isEmpty()
                 && longOperator.errorOutput.contains(u"tiene 31 caracteres y los registros guardan hasta 30"_s),
             qPrintable(longOperator.errorOutput));
    QCOMPARE(runHost(db->url(), u"dump Controles\n"_s, {u"--usuario"_s, u"Ñ"_s.repeated(30)}).exitCode, 0);

    AttemptScript script;
    const QStringList fields = {KeyBox, u"txtCentroCosto"_s};
    // A numeric key padded to the key format's 26 places cannot be stored.
    const int padded = script.add(u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo 7\nkey txt_Af_Cve_Activo_Fijo Tab\n"_s
                                      + AttemptScript::required({}, u"Hostil"_s).section(u'\n', 2) + u"toolbar Aceptar\n"_s, true, fields);
    // No grid and no centre: the configured default goes in as the centre box takes it.
    const int defaulted = script.add(AttemptScript::required(u"HC2"_s, u"Hostil"_s) + u"toolbar Aceptar\n"_s);
    const int reread = script.add(loadLines(u"HC2"_s), false, fields);
    const int label = script.add(loadLines(u"HQ'1"_s) + u"toolbar B2\n"_s, false);
    const int generated = script.add(u"toolbar B3\n"_s, false);
    // What no statement may carry.
    const int unsendable = script.add(u"sql \"SELECT 'a\\u0000b'\"\nsql \"SELECT '\\ud83d'\"\n"_s, false);
    const HostRun run = runHost(db->url(), script.text());
    QCOMPARE(hostTrouble(run), QString());
    const QList<AttemptScript::Outcome> o = script.outcomes(run);
    QVERIFY(o.constLast().finished);

    QVERIFY2(o[padded].editing() && o[padded].ids == QStringList{u"ERR-ID:7500028"_s} && clear(o[padded].prompts.value(0))
                 && o[padded].prompts.value(0).contains(u"Af_Cve_Activo_Fijo"_s) && shown(o[padded], KeyBox).size() == 26,
             qPrintable(o[padded].ids.join(u',') + o[padded].prompts.join(u' ') + shown(o[padded], KeyBox)));
    QVERIFY2(o[defaulted].stored(), qPrintable(o[defaulted].prompts.join(u' ')));
    const QString storedCentre = shown(o[reread], u"txtCentroCosto"_s);
    QVERIFY2(!storedCentre.isEmpty() && centre.startsWith(storedCentre), qPrintable(storedCentre));
    QCOMPARE(db->value(u"SELECT Af_Centro_Costo FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = 'HC2'"_s), storedCentre);
    QCOMPARE(o[label].ids, QStringList{u"ERR-ID:7500032"_s});
    // The equipment's key of 40 places: stored whole where the column does not hold it to 15 (SQLite), refused in
    // words where it does.
    const QString equipment = db->value(u"SELECT Eq_Cve_Equipo || '|' || Te_Cve_Tipo_Equipo FROM Equipo WHERE Eq_Activo_Fijo = 'HQ''1'"_s);
    if (o[generated].ids == QStringList{u"ERR-ID:7500036"_s})
        QCOMPARE(u"Se creó el equipo con clave: "_s + equipment, o[generated].prompts.value(0) + u'|' + equipmentType);
    else
        QVERIFY2(o[generated].ids == QStringList{u"ERR-ID:7500034"_s} && clear(o[generated].prompts.value(0)) && equipment.isEmpty(),
                 qPrintable(o[generated].ids.join(u',') + o[generated].prompts.join(u' ')));
    QVERIFY2(o[unsendable].errors.size() == 2 && o[unsendable].errors[0].contains(u"carácter nulo"_s)
                 && o[unsendable].errors[1].contains(u"U+D83D"_s), qPrintable(o[unsendable].errors.join(u'\n')));
    QCOMPARE(db->connection().tableNames(), tables);

    // Print templates no one meant: each prints, or is refused with a message and no file.
    variable(u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"AF01"_s);
    const QStringList templates = {
        u"<p>[AF_DESCRIPCION] [AF_CVE_ACTIVO_FIJO</p><script>alert('x')</script><img src=\"/etc/passwd\">"_s, u"{QR:}"_s,
        u"{QR 99999:[AF_CVE_ACTIVO_FIJO]}"_s, u"{QR -5 izquierda derecha:x} {QR 0.0001:y}"_s, u"{QR:"_s + QString(3000, u'x') + u"}"_s,
        u"[AF_DESCRIPCION]\n"_s.repeated(200), u"\u202E[AF_DESCRIPCION]\u202C e\u0301 \x01\x02 \U0001F600 שלום"_s,
        u"[[[[]]]]{{{{}}}}{FECHA}{FECHA [] {QR"_s, QString()};
    AttemptScript prints;
    prints.add(loadLines(u"HQ'1"_s), false);
    for (const QString &t : templates) { // as the letter's format (attempt 2t + 1), then as the label (2t + 2)
        prints.add(u"sql "_s + word(u"UPDATE Formato_Impresion SET Fi_Plantilla = '"_s + suite::sqlEscape(t)
                                                  + u"' WHERE Fi_Cve_Formato = 'RESPONSIVA_AF'"_s) + u"\ntoolbar B1"_s, false);
        prints.add(u"sql "_s + word(u"UPDATE Etiqueta SET Et_Valor = '"_s + suite::sqlEscape(t) + u"' WHERE Et_Cve_Etiqueta = 'AF01'"_s)
                       + u"\ntoolbar B2"_s, false);
    }
    QTemporaryDir printDir;
    const HostRun printed = runHost(db->url(), prints.text(), {u"--print-dir"_s, printDir.path()});
    QCOMPARE(hostTrouble(printed), QString());
    const QList<AttemptScript::Outcome> p = prints.outcomes(printed);
    int documents = 0;
    for (qsizetype a = 1; a < p.size(); ++a) {
        const AttemptScript::Outcome &o = p[a];
        documents += o.ids.isEmpty();
        QVERIFY2(o.finished && o.errors.isEmpty() && (o.ids.isEmpty() ? o.printed.size() == 1 && QFileInfo(o.printed[0]).size() > 0
                                                                      : o.printed.isEmpty() && clear(o.prompts.value(0))),
                 qPrintable(u"B%1 <- %2: "_s.arg(2 - a % 2).arg(visible(templates[(a - 1) / 2])) + (o.errors + o.prompts).join(u' ')));
    }
    QCOMPARE(QDir(printDir.path()).entryList(QDir::Files).size(), documents);
    qInfo("%s: hostile variables refused or stored as shown; %d hostile templates printed, %d refused with a message",
          qPrintable(backend), documents, int(p.size()) - 1 - documents);
}

QTEST_MAIN(tst_Hostile)
#include "tst_hostile.moc"
