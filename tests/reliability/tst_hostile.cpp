// Hostile input in every field a user can type, paste or pick, and in the
// configuration and print templates, through the real host on both
// backends: quotes, backslashes, NUL and control characters, right-to-left
// and combining text, characters beyond the BMP, 10,000-character pastes,
// SQL injection, numbers beyond 16 and 32 bits and beyond any number, dates
// far in the past and future. Each value is either stored and read back
// exactly as the screen held it, or refused with a message that leaves the
// input on the screen and nothing in the database. Nothing crashes; the
// same test runs under AddressSanitizer and UBSan (TALVEXOR_SANITIZE).
#include "suite/data/Connection.h"
#include "suite/data/Schema.h"
#include "suite/data/SqlText.h"
#include "suite/kit/NumberFormat.h"
#include "tests/reliability/AttemptScript.h"
#include "tests/support/HostScript.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
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

// Texts no field should lose or be broken by.
QStringList hostileTexts()
{
    const QString tenThousand = QString(10000, u'x');
    QString emoji = u"a"_s; // odd, so a box's length falls inside a pair
    for (int i = 0; i < 5000; ++i)
        emoji += u"\U0001F600"_s;
    return {
        u"O'Brien ''"_s,
        u"\"dobles\" \\ \\\\ fin\\"_s,
        u"'; DROP TABLE Activo_Fijo; --"_s,
        u"' OR '1'='1"_s,
        u"a"_s + QChar(0) + u"b"_s,
        u"\x01\x02\x1b[31m\x7f fin"_s,
        u"tab\there\nnueva\rlinea"_s,
        u"\u202Eabc\u202C שלום مرحبا e\u0301 a\u0308\u0323"_s,
        u"\U0001F600\U0001F1F2\U0001F1FD"_s,
        tenThousand,
        emoji,
        u"   "_s,
        u"%_[]{}<b>&amp;</b>{QR:x}[AF_DESCRIPCION]"_s,
    };
}

// Numbers beyond every width, and things that are not numbers.
const QStringList HostileNumbers = {
    u"-1"_s,         u"65536"_s,          u"-32769"_s,       u"4294967296"_s, u"99999999999999999999"_s,
    u"1e400"_s,      u"NaN"_s,            u"abc"_s,          u"12abc"_s,      u"-0"_s,
    u"0x1F"_s,       u"1,234.5"_s,        u"\u0661\u0662"_s, u"0.00001"_s,    u"-5"_s,
};

const QStringList HostileDates = {u"0001-01-01"_s, u"1752-12-31"_s, u"1753-01-01"_s, u"2038-01-19"_s,
                                  u"9999-12-31"_s};

struct Field
{
    QString control;
    int tab;
    QString numberFormat = {}; // how a numeric box shows its number; empty for texts
};

// Every box a user types in, by tab.
const QList<Field> TextFields = {
    {u"txt_Af_Cve_Activo_Fijo"_s, 0}, {u"txt_Af_Descripcion"_s, 0}, {u"txt_Ta_Cve_Tipo_ActivoFijo"_s, 0},
    {u"txtEmpresa"_s, 0},             {u"txt_Au_Cve_Ubicacion"_s, 0}, {u"txtMarca"_s, 0},
    {u"txtModelo"_s, 0},              {u"txtNSerie"_s, 0},          {u"txtNEconomico"_s, 0},
    {u"txtClaveEmpleado"_s, 0},       {u"txtClaveCliente"_s, 0},    {u"txtCalificacion"_s, 0},
    {u"txtProyecto"_s, 1},            {u"txtCentroCosto"_s, 1},     {u"txtUen"_s, 1},
    {u"txtCuentaContable"_s, 1},      {u"txtCuentaContable1"_s, 1}, {u"txtCuentaContable2"_s, 1},
    {u"txtCuentaContable3"_s, 1},     {u"txt_Pv_Cve_Proveedor"_s, 2}, {u"txt_Referencia"_s, 2},
    {u"txtUser1"_s, 3},               {u"txtUser2"_s, 3},
};
const QList<Field> NumberFields = {
    {u"txtVidaUtil"_s, 0, u"0"_s}, {u"txt_Costo_Original"_s, 2, u"$#,##0.0000"_s},
    {u"txtUser3"_s, 3, u"#,##0.00"_s}, {u"txtUser4"_s, 3, u"#,##0.00"_s},
};
const QList<Field> DateFields = {{u"dpFechaCompra"_s, 2}, {u"dpUser5"_s, 3}, {u"dpUser6"_s, 3}};
const Field Grid{u"ssDetalle"_s, 1};
const QString KeyBox = u"txt_Af_Cve_Activo_Fijo"_s;

// The number a box's text stands for, read as the box shows numbers ("$1,234.5000").
std::optional<double> typedNumber(QString text)
{
    text.remove(u'$').remove(u',');
    text = text.trimmed();
    if (text.isEmpty())
        return 0.0;
    bool ok = false;
    const double n = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(n))
        return std::nullopt;
    return n;
}

QJsonValue member(const AttemptScript::Outcome &o, const QString &control, const QString &name)
{
    return dumpedControl(o.dump, control).value(name);
}

// What a dump shows of the field: its text, its date, or the grid's rows.
QString shown(const AttemptScript::Outcome &o, const Field &field)
{
    if (field.control == Grid.control) {
        QStringList rows;
        for (const QJsonValue &row : member(o, Grid.control, u"rows"_s).toArray()) {
            const QJsonObject r = row.toObject();
            rows << r.value(u"Clave"_s).toString() + u'=' + r.value(u"Porcentaje"_s).toVariant().toString();
        }
        return rows.join(u';');
    }
    if (field.control.startsWith(u"dp"_s))
        return member(o, field.control, u"date"_s).toString();
    return member(o, field.control, u"text"_s).toString();
}

QString requiredLines(const QString &key, int n)
{
    return AttemptScript::setText(KeyBox, key) + AttemptScript::setText(u"txt_Af_Descripcion"_s, u"Hostil %1"_s.arg(n))
           + AttemptScript::setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s)
           + AttemptScript::setText(u"txtEmpresa"_s, u"0001"_s) + AttemptScript::setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s)
           + AttemptScript::setText(u"txt_Costo_Original"_s, u"100"_s);
}

void configure(HostDatabase &db)
{
    db.execute(u"UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable IN ('CAT_AUTOCLAVE', 'CAT_FORZAR_MAYUSCULAS')"_s);
}

// A prompt a user can read: it does not open with a driver's or parser's
// complaint about a statement (the database's words may follow).
bool clear(const QString &message)
{
    const QString prompt = message.section(u'\n', 0, 0);
    static const QStringList noise = {u"QPSQL"_s, u"QSQLITE"_s, u"syntax error"_s, u"unterminated"_s,
                                      u"unrecognized token"_s, u"Unable to"_s};
    if (prompt.trimmed().isEmpty())
        return false;
    for (const QString &n : noise) {
        if (prompt.contains(n, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

// Built with TALVEXOR_SANITIZE, a host reports what the sanitizers found on
// its standard error (UBSan's reports go nowhere else).
QString sanitizerReport(const HostRun &run)
{
    for (const QString &mark : {u"runtime error:"_s, u"ERROR: AddressSanitizer"_s, u"ERROR: LeakSanitizer"_s}) {
        const qsizetype at = run.errorOutput.indexOf(mark);
        if (at >= 0)
            return run.errorOutput.mid(qMax<qsizetype>(0, at - 200), 3000);
    }
    return {};
}

QString visible(const QString &text)
{
    QString out;
    for (const QChar c : text.left(40))
        out += c.isPrint() ? QString(c) : u"\\u%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return out + (text.size() > 40 ? u"…(%1)"_s.arg(text.size()) : QString());
}

} // namespace

void tst_Hostile::everyField()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    configure(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());

    // One new asset per value and field: the value put in, the accept, the outcome.
    struct Case
    {
        Field field;
        QString value;
        int typed;
        int accepted;
    };
    AttemptScript script;
    QList<Case> cases;
    auto add = [&](const Field &field, const QString &putIn, const QString &value) {
        const int n = int(cases.size());
        QString lines = u"toolbar Nuevo\n"_s + requiredLines(u"HX%1"_s.arg(n, 3, 10, QLatin1Char('0')), n);
        if (field.control == u"txtClaveCliente"_s)
            lines += u"click opCliente\n"_s;
        lines += u"tab %1\n"_s.arg(field.tab) + putIn + u"tab 0\n"_s;
        const QStringList dumped = {field.control, KeyBox};
        const int typed = script.add(lines, false, dumped);
        cases << Case{field, value, typed, script.add(u"toolbar Aceptar\n"_s, true, dumped)};
    };
    for (const QString &value : hostileTexts()) {
        for (const Field &field : TextFields)
            add(field, u"paste %1 %2\n"_s.arg(field.control, AttemptScript::word(value)), value);
        if (value.size() < 100)
            add(Grid, u"cell 0 Clave %1\n"_s.arg(AttemptScript::word(value)), value);
    }
    for (const QString &value : HostileNumbers) {
        for (const Field &field : NumberFields)
            add(field, u"paste %1 %2\n"_s.arg(field.control, AttemptScript::word(value)), value);
        add(Grid, u"cell 0 Clave 120\ncell 0 Porcentaje %1\n"_s.arg(AttemptScript::word(value)), value);
    }
    for (const QString &value : HostileDates) {
        for (const Field &field : DateFields)
            add(field, u"set %1 date %2\n"_s.arg(field.control, value), value);
    }
    const HostRun run = runHost(db->url(), script.text());
    QVERIFY2(run.exitCode == 0 || run.exitCode == 1, qPrintable(u"exit %1: %2"_s.arg(run.exitCode).arg(run.errorOutput.right(3000))));
    QCOMPARE(sanitizerReport(run), QString());
    const QList<AttemptScript::Outcome> outcomes = script.outcomes(run);

    // Each saved one is shown again by the key the screen held.
    AttemptScript readBack;
    QList<int> savedCases;
    QStringList wrong;
    int refused = 0;
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Case &c = cases.at(i);
        const AttemptScript::Outcome &typed = outcomes.at(c.typed);
        const AttemptScript::Outcome &accepted = outcomes.at(c.accepted);
        const QString at = u"%1 <- %2: "_s.arg(c.field.control, visible(c.value));
        if (!typed.finished || !accepted.finished) {
            wrong << at + u"the host stopped"_s;
            break;
        }
        if (!typed.errors.isEmpty() || !accepted.errors.isEmpty() || !typed.ids.isEmpty()) {
            wrong << at + (typed.errors + accepted.errors + typed.ids).join(u"; "_s);
            continue;
        }
        if (accepted.ids.isEmpty() && !accepted.editing()) {
            savedCases << int(i);
            readBack.add(AttemptScript::load(member(typed, KeyBox, u"text"_s).toString()), false,
                         {c.field.control, KeyBox});
            continue;
        }
        ++refused;
        // Refused: said so clearly, and what was typed is still there to correct.
        if (!accepted.editing() || accepted.ids.isEmpty())
            wrong << at + u"neither saved nor refused: "_s + accepted.ids.join(u',');
        for (const QString &prompt : accepted.prompts) {
            if (!clear(prompt))
                wrong << at + u"unclear refusal: "_s + visible(prompt) + prompt.right(60);
        }
        if (shown(accepted, c.field) != shown(typed, c.field))
            wrong << at + u"the refusal changed the input to "_s + visible(shown(accepted, c.field));
    }
    const HostRun reread = runHost(db->url(), readBack.text());
    QCOMPARE(sanitizerReport(reread), QString());
    const QList<AttemptScript::Outcome> loaded = readBack.outcomes(reread);
    for (qsizetype r = 0; r < savedCases.size() && wrong.size() < 60; ++r) {
        const Case &c = cases.at(savedCases.at(r));
        const AttemptScript::Outcome &typed = outcomes.at(c.typed);
        const AttemptScript::Outcome &back = loaded.at(r);
        const QString at = u"%1 <- %2: "_s.arg(c.field.control, visible(c.value));
        if (!back.finished || !back.ids.isEmpty() || !back.errors.isEmpty()) {
            wrong << at + u"saved, but it does not load: "_s + (back.ids + back.prompts + back.errors).join(u' ');
            continue;
        }
        QString expected = shown(typed, c.field);
        QString got = shown(back, c.field);
        if (!c.field.numberFormat.isEmpty()) {
            // A number is kept as the box shows numbers; a text that is no number is not saved at all.
            const std::optional<double> number = typedNumber(expected);
            if (!number) {
                wrong << at + u"\""_s + visible(expected) + u"\" is no number, yet it was saved; it reads back as "_s
                             + got;
                continue;
            }
            expected = suite::NumberFormat(c.field.numberFormat).format(*number);
        } else if (c.field.control == Grid.control && (expected.endsWith(u'=') || expected.contains(u"=;"_s))) {
            wrong << at + u"a share that is no number was saved: "_s + got;
            continue;
        }
        if (got != expected)
            wrong << at + u"saved as shown \""_s + visible(expected) + u"\", reads back \""_s + visible(got) + u'"';
    }

    // Nothing else changed: only the saved assets, their rows and registrations are new.
    const TableSnapshot after = TableSnapshot::take(db->connection());
    for (const suite::TableDef &table : suite::Schema::tables()) {
        const QStringList was = before.rows(table.name);
        const QStringList now = after.rows(table.name);
        if (table.name == u"Activo_Fijo"_s || table.name == u"Bitacora"_s) {
            if (now.size() != was.size() + savedCases.size())
                wrong << u"%1: %2 rows after %3 saves on %4"_s.arg(table.name).arg(now.size()).arg(savedCases.size()).arg(was.size());
        } else if (table.name != u"Activo_Fijo_Centro_Costo"_s && now != was) {
            wrong << table.name + u" changed"_s;
        }
    }
    qInfo("%s: %d values put into %d fields, %d stored and read back, %d refused with a message; problems: %d",
          qPrintable(backend), int(cases.size()), int(TextFields.size() + NumberFields.size() + DateFields.size() + 1),
          int(savedCases.size()), refused, int(wrong.size()));
    for (const QString &problem : std::as_const(wrong))
        qWarning("%s", qPrintable(problem.left(300)));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.value(0)));
}

void tst_Hostile::configurationAndTemplates()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    configure(*db);
    auto variable = [&](const QString &name, const QString &value) {
        db->execute(u"DELETE FROM Variable WHERE Va_Cve_Variable = '%1'"_s.arg(name));
        db->execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('%1', '%2')"_s.arg(name, suite::sqlEscape(value)));
    };
    // An asset whose texts look like markup, placeholders and directives.
    const QString asset = u"HQ'1"_s;
    const QString description = u"<b>O'Brien</b> {QR:x} [AF_CVE_ACTIVO_FIJO] \u202Eabc"_s;
    db->execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Ta_Cve_Tipo_Activo_Fijo, Em_Cve_Empresa, "
                "Au_Cve_Ubicacion, Af_Costo_Original, Af_Numero_Serie, Af_Numero_Economico, Af_Marca, Af_Modelo, Es_Cve_Estado) "
                "VALUES ('"_s
                + suite::sqlEscape(asset) + u"', '"_s + suite::sqlEscape(description)
                + u"', '001', '0001', '0001', 10, 'S''HQ', 'E''HQ', '<i>M''</i>', '{FECHA}[AF_MARCA]', 'AC')"_s);
    const QString centre = u"'; DROP TABLE Activo_Fijo; --"_s;
    const QString equipmentType = u"O'B\"\\x"_s;
    variable(u"AF_CENTRO_COSTO_DEFAULT"_s, centre);
    variable(u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"x' OR '1'='1"_s);
    variable(u"FTO_EQUIPO"_s, u"'\";--\\"_s.repeated(8));
    variable(u"FTO_ACTIVO_FIJO"_s, u"'; DROP TABLE Variable; --"_s);
    variable(u"CAT_TIPO_EQUIPO_DEFAULT"_s, equipmentType);
    const QStringList tables = db->connection().tableNames();
    // A switch that reads as no Boolean stops the screen from starting, in
    // words, before it shows anything.
    variable(u"CAT_FORZAR_MAYUSCULAS"_s, u"'; DROP TABLE Empresa; --"_s);
    const HostRun refused = runHost(db->url(), u"dump Controles\n"_s);
    QCOMPARE(refused.exitCode, 2);
    QVERIFY(refused.events.isEmpty());
    QVERIFY2(refused.errorOutput.contains(u"no es un valor lógico"_s), qPrintable(refused.errorOutput));
    variable(u"CAT_FORZAR_MAYUSCULAS"_s, u"NO"_s);

    AttemptScript script;
    const QStringList fields = {KeyBox, u"txtCentroCosto"_s};
    // A numeric key padded to the key format's 26 places cannot be stored.
    const int padded = script.add(u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo 7\nkey txt_Af_Cve_Activo_Fijo Tab\n"_s
                                      + requiredLines(QString(), 0).section(u'\n', 1) + u"toolbar Aceptar\n"_s,
                                  true, fields);
    // No grid and no centre: the configured default goes in as the centre box takes it.
    const int defaulted = script.add(u"toolbar Nuevo\n"_s + requiredLines(u"HC2"_s, 2) + u"toolbar Aceptar\n"_s);
    const int reread = script.add(AttemptScript::load(u"HC2"_s), false, fields);
    const int label = script.add(AttemptScript::load(asset) + u"toolbar B2\n"_s, false);
    const int generated = script.add(u"toolbar B3\n"_s, false);
    // What no statement may carry.
    const int unsendable = script.add(u"sql \"SELECT 'a\\u0000b'\"\nsql \"SELECT '\\ud83d'\"\n"_s, false);
    const HostRun run = runHost(db->url(), script.text());
    QVERIFY2(run.exitCode == 0 || run.exitCode == 1, qPrintable(u"exit %1: %2"_s.arg(run.exitCode).arg(run.errorOutput.right(2000))));
    QCOMPARE(sanitizerReport(run), QString());
    const QList<AttemptScript::Outcome> o = script.outcomes(run);
    QVERIFY(o.constLast().finished);

    QVERIFY2(o[padded].editing() && o[padded].ids == QStringList{u"ERR-ID:7500028"_s}, qPrintable(o[padded].ids.join(u',')));
    QVERIFY2(clear(o[padded].prompts.value(0)) && o[padded].prompts.value(0).contains(u"Af_Cve_Activo_Fijo"_s),
             qPrintable(o[padded].prompts.value(0)));
    QCOMPARE(member(o[padded], KeyBox, u"text"_s).toString().size(), 26);
    QVERIFY2(o[defaulted].ids.isEmpty() && !o[defaulted].editing(), qPrintable(o[defaulted].prompts.join(u' ')));
    const QString storedCentre = member(o[reread], u"txtCentroCosto"_s, u"text"_s).toString();
    QVERIFY2(!storedCentre.isEmpty() && centre.startsWith(storedCentre), qPrintable(storedCentre));
    QCOMPARE(db->value(u"SELECT Af_Centro_Costo FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = 'HC2'"_s), storedCentre);
    QCOMPARE(o[label].ids, QStringList{u"ERR-ID:7500032"_s});
    // The equipment's key takes the format's 40 places: stored whole where the
    // column does not hold it to 15 (SQLite), refused in words where it does.
    const QString equipment = db->value(u"SELECT Eq_Cve_Equipo FROM Equipo WHERE Eq_Activo_Fijo = 'HQ''1'"_s);
    if (o[generated].ids == QStringList{u"ERR-ID:7500036"_s}) {
        QCOMPARE(o[generated].prompts.value(0), u"Se creó el equipo con clave: "_s + equipment);
        QCOMPARE(db->value(u"SELECT Te_Cve_Tipo_Equipo FROM Equipo WHERE Eq_Activo_Fijo = 'HQ''1'"_s), equipmentType);
    } else {
        QVERIFY2(o[generated].ids == QStringList{u"ERR-ID:7500034"_s} && clear(o[generated].prompts.value(0)),
                 qPrintable(o[generated].ids.join(u',') + o[generated].prompts.join(u' ')));
        QCOMPARE(equipment, QString());
    }
    QCOMPARE(o[unsendable].errors.size(), 2);
    QVERIFY2(o[unsendable].errors[0].contains(u"carácter nulo"_s) && o[unsendable].errors[1].contains(u"U+D83D"_s),
             qPrintable(o[unsendable].errors.join(u'\n')));
    QCOMPARE(db->connection().tableNames(), tables);

    // Print templates no one meant: each prints, or is refused with a message and no file.
    variable(u"CAT_ETIQUETAS_ACTIVO_FIJO"_s, u"AF01"_s);
    const QStringList templates = {
        u"<p>[AF_DESCRIPCION] [AF_CVE_ACTIVO_FIJO</p><script>alert('x')</script><img src=\"/etc/passwd\">"_s,
        u"{QR:}"_s,
        u"{QR 99999:[AF_CVE_ACTIVO_FIJO]}"_s,
        u"{QR -5 izquierda derecha:x} {QR 0.0001:y}"_s,
        u"{QR:"_s + QString(3000, u'x') + u"}"_s,
        u"[AF_DESCRIPCION]\n"_s.repeated(200),
        u"\u202E[AF_DESCRIPCION]\u202C e\u0301 \x01\x02 \U0001F600 שלום"_s,
        u"[[[[]]]]{{{{}}}}{FECHA}{FECHA [] {QR"_s,
        QString(),
    };
    AttemptScript prints;
    prints.add(AttemptScript::load(asset), false);
    QList<std::pair<QString, int>> printAttempts;
    for (const QString &t : templates) {
        for (const auto &[table, keyColumn, key, button] :
             {std::tuple{u"Formato_Impresion SET Fi_Plantilla"_s, u"Fi_Cve_Formato"_s, u"RESPONSIVA_AF"_s, u"B1"_s},
              std::tuple{u"Etiqueta SET Et_Valor"_s, u"Et_Cve_Etiqueta"_s, u"AF01"_s, u"B2"_s}}) {
            const QString update = u"UPDATE %1 = '%2' WHERE %3 = '%4'"_s.arg(table, suite::sqlEscape(t), keyColumn, key);
            printAttempts << std::pair{button + u" <- "_s + visible(t),
                                       prints.add(u"sql "_s + AttemptScript::word(update) + u"\ntoolbar "_s + button + u'\n', false)};
        }
    }
    QTemporaryDir printDir;
    const HostRun printed = runHost(db->url(), prints.text(), {u"--print-dir"_s, printDir.path()});
    QVERIFY2(printed.exitCode == 0 || printed.exitCode == 1, qPrintable(printed.errorOutput.right(2000)));
    QCOMPARE(sanitizerReport(printed), QString());
    const QList<AttemptScript::Outcome> p = prints.outcomes(printed);
    int documents = 0, refusals = 0;
    for (const auto &[what, index] : printAttempts) {
        const AttemptScript::Outcome &a = p.at(index);
        QVERIFY2(a.finished && a.errors.isEmpty(), qPrintable(what + a.errors.join(u' ')));
        if (a.ids.isEmpty()) {
            QVERIFY2(a.printed.size() == 1 && QFileInfo(a.printed[0]).size() > 0, qPrintable(what));
            ++documents;
        } else {
            QVERIFY2(a.printed.isEmpty() && clear(a.prompts.value(0)), qPrintable(what + u": "_s + a.prompts.join(u' ')));
            ++refusals;
        }
    }
    QCOMPARE(QDir(printDir.path()).entryList(QDir::Files).size(), documents);
    qInfo("%s: hostile variables refused or stored as shown; %d hostile templates printed, %d refused with a message",
          qPrintable(backend), documents, refusals);
}

QTEST_MAIN(tst_Hostile)
#include "tst_hostile.moc"
