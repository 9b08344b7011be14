// Saving assets as a user does, through the real host's scripted mode on
// both backends: every refusal of the accept command in its order, new and
// edited assets stored exactly as typed and read back the same, saves that
// fail at any of their statements leaving the database as it was, and two
// screens racing for one new key.
#include "screen/frmXB733.h"
#include "suite/data/Connection.h"
#include "suite/data/Schema.h"
#include "suite/kit/Controles.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"
#include "tests/support/HostScript.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestSession.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSet>
#include <QJsonArray>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <future>

using namespace Qt::StringLiterals;

class tst_Saving : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checksInOrder_data() { TestDatabase::addBackendRows(); }
    void checksInOrder();
    void roundTrip_data() { TestDatabase::addBackendRows(); }
    void roundTrip();
    void failedStatementsLeaveNothing_data();
    void failedStatementsLeaveNothing();
    void twoScreensOneNewKey();
    void savedKeyIsRegistered();
};

namespace {

// A word of a script line: quoted, with its backslashes and quotes escaped.
QString word(const QString &text)
{
    QString t = text;
    t.replace(u"\\"_s, u"\\\\"_s).replace(u"\""_s, u"\\\""_s);
    return u'"' + t + u'"';
}

QString setText(const QString &control, const QString &text)
{
    return u"set %1 text %2\n"_s.arg(control, word(text));
}

QString loadLines(const QString &key)
{
    return setText(u"txt_Af_Cve_Activo_Fijo"_s, key) + u"key txt_Af_Cve_Activo_Fijo Return\n"_s;
}

// Quotes, both accents and ñ, a backslash and an injection, cut to a box's length.
QString hostile(int length, int shift)
{
    static const QString base = u"O'Brien \"ñÑ\" áéíóú \\ '; DROP TABLE Activo_Fijo; -- "_s;
    QString out;
    for (int i = 0; i < length; ++i)
        out += base.at((i + shift) % base.size());
    return out;
}

QString text(const QJsonObject &dump, const QString &name)
{
    return dumpedControl(dump, name).value(u"text"_s).toString();
}

// The grid of a dump as "key|share" rows.
QStringList gridRows(const QJsonObject &dump)
{
    QStringList out;
    for (const QJsonValue &row : dumpedControl(dump, u"ssDetalle"_s).value(u"rows"_s).toArray()) {
        const QJsonObject r = row.toObject();
        out << r.value(u"Clave"_s).toString() + u'|' + QString::number(r.value(u"Porcentaje"_s).toDouble());
    }
    return out;
}

// What the user typed into every control, as a dump shows it: texts,
// numbers, dates, options and the grid.
QJsonObject input(const QJsonObject &dump)
{
    QJsonObject out;
    const QJsonObject controls = dump.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        for (const QString &member : {u"text"_s, u"valor"_s, u"date"_s, u"value"_s, u"rows"_s}) {
            if (c.contains(member))
                out.insert(it.key() + u'.' + member, c.value(member));
        }
    }
    return out;
}

bool editing(const QJsonObject &dump)
{
    return dump.value(u"toolbar"_s).toObject().value(u"editando"_s).toBool();
}

// The free-text fields, their columns and lengths: each gets its own hostile text.
struct FreeText
{
    QString box;
    QString column;
    int length;
};
const QList<FreeText> FreeTexts = {
    {u"txt_Af_Descripcion"_s, u"Af_Descripcion"_s, 50}, {u"txtMarca"_s, u"Af_Marca"_s, 30},
    {u"txtModelo"_s, u"Af_Modelo"_s, 30},               {u"txtNSerie"_s, u"Af_Numero_Serie"_s, 30},
    {u"txtNEconomico"_s, u"Af_Numero_Economico"_s, 30}, {u"txtCalificacion"_s, u"Af_Calificacion"_s, 30},
    {u"txt_Referencia"_s, u"Af_Factura"_s, 10},         {u"txtUser1"_s, u"Af_UserDef_1"_s, 50},
    {u"txtUser2"_s, u"Af_UserDef_2"_s, 50},
};

QString typedText(const QString &box)
{
    for (qsizetype i = 0; i < FreeTexts.size(); ++i) {
        if (FreeTexts.at(i).box != box)
            continue;
        QString t = hostile(FreeTexts.at(i).length, int(i) * 7);
        // A serial typed with a trailing blank is looked up without it, stored with it.
        if (box == u"txtNSerie"_s)
            t[t.size() - 1] = u' ';
        return t;
    }
    return {};
}

// A complete new asset: every field typed, the lookups resolved, three cost
// centres. Ends in a plain text box, so pressing accept runs no look-up of
// the field being left.
QString assetFieldLines()
{
    // Each box with its tab shown; a key box is left with Tab, which pads it.
    auto typeKey = [](const QString &box, const QString &typed) { return u"type %1 %2\nkey %1 Tab\n"_s.arg(box, typed); };
    auto typeText = [](const QString &box) { return u"type %1 %2\n"_s.arg(box, word(typedText(box))); };
    QString s = u"tab 0\n"_s + typeKey(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"3"_s) + typeKey(u"txtEmpresa"_s, u"2"_s)
                + typeKey(u"txt_Au_Cve_Ubicacion"_s, u"4"_s) + typeKey(u"txtClaveEmpleado"_s, u"3"_s)
                + u"type txtVidaUtil 25\n"_s;
    s += u"tab 1\n"_s + typeKey(u"txtProyecto"_s, u"1"_s) + typeKey(u"txtUen"_s, u"2"_s)
         + typeKey(u"txtCuentaContable"_s, u"1201"_s) + typeKey(u"txtCuentaContable1"_s, u"1291"_s)
         + typeKey(u"txtCuentaContable2"_s, u"6101"_s) + typeKey(u"txtCuentaContable3"_s, u"1203"_s)
         + u"cell 0 Clave 120\ncell 0 Porcentaje 33.33\ncell 1 Clave 130\ncell 1 Porcentaje 33.33\n"
           "cell 2 Clave 140\ncell 2 Porcentaje 33.34\n"_s;
    s += u"tab 2\n"_s + typeKey(u"txt_Pv_Cve_Proveedor"_s, u"3"_s) + typeText(u"txt_Referencia"_s)
         + u"type txt_Costo_Original 1234567.8912\nset dpFechaCompra date 2023-02-28\n"_s;
    s += u"tab 3\ntype txtUser3 -0.25\ntype txtUser4 98765.43\nset dpUser5 date 2000-01-01\n"
         "set dpUser6 date 2031-12-31\n"_s + typeText(u"txtUser1"_s) + typeText(u"txtUser2"_s);
    // Last, a plain text box: pressing accept leaves it without a look-up.
    s += u"tab 0\n"_s;
    for (const QString &box : {u"txtMarca"_s, u"txtModelo"_s, u"txtNSerie"_s, u"txtNEconomico"_s, u"txtCalificacion"_s,
                               u"txt_Af_Descripcion"_s})
        s += typeText(box);
    return s;
}

QString newAssetLines(const QString &key)
{
    return u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo %1\n"_s.arg(word(key)) + assetFieldLines();
}

// The new asset's stored columns as the test's own connection reads them.
QMap<QString, QString> expectedNewAsset(const QString &key)
{
    QMap<QString, QString> e = {
        {u"Af_Cve_Activo_Fijo"_s, key},       {u"Ta_Cve_Tipo_Activo_Fijo"_s, u"003"_s},
        {u"Em_Cve_Empresa"_s, u"0002"_s},     {u"Au_Cve_Ubicacion"_s, u"0004"_s},
        {u"Af_Tabla"_s, {}},                  {u"Af_Documento"_s, {}},
        {u"Af_Centro_Costo"_s, {}},           {u"Af_Proyecto"_s, u"0000000001"_s},
        {u"Af_UEN"_s, u"000002"_s},           {u"Af_Cuenta_Contable"_s, u"1201"_s},
        {u"Af_Cuenta_Contable_1"_s, u"1291"_s}, {u"Af_Cuenta_Contable_2"_s, u"6101"_s},
        {u"Af_Cuenta_Contable_3"_s, u"1203"_s}, {u"Af_Costo_Original"_s, u"1234567.8912"_s},
        {u"Af_Proveedor"_s, u"000003"_s},     {u"Af_Fecha_Compra"_s, u"2023-02-28"_s},
        {u"Af_Tipo_Responsable"_s, u"EM"_s},  {u"Af_Responsable"_s, u"00003"_s},
        {u"Af_UserDef_3"_s, u"-0.25"_s},      {u"Af_UserDef_4"_s, u"98765.43"_s},
        {u"Af_UserDef_5"_s, u"2000-01-01"_s}, {u"Af_UserDef_6"_s, u"2031-12-31"_s},
        {u"Oper_Alta"_s, u"PRUEBA"_s},        {u"Oper_Ult_Modif"_s, u"PRUEBA"_s},
        {u"Af_Vida_Util"_s, u"25"_s},         {u"Es_Cve_Estado"_s, u"AC"_s},
    };
    for (const FreeText &f : FreeTexts)
        e.insert(f.column, typedText(f.box));
    return e;
}

// Values as one text whatever the backend gave: numbers without trailing
// zeros, dates and stamps in ISO form.
QString stored(HostDatabase &db, const QString &column, const QString &key)
{
    const suite::RecordsetPtr row = db.connection().Execute(u"SELECT "_s + column
                                                            + u" FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s
                                                            + QString(key).replace(u"'"_s, u"''"_s) + u"'"_s);
    if (row->Eof())
        return u"<no row>"_s;
    const QString canonical = TableSnapshot::canonical(row->fieldValue(0));
    if (canonical.startsWith(u'\'') && canonical.endsWith(u'\''))
        return canonical.mid(1, canonical.size() - 2).replace(u"''"_s, u"'"_s);
    return canonical == u"NULL"_s ? QString() : canonical;
}

QStringList distribution(HostDatabase &db, const QString &key)
{
    QStringList out;
    for (const QString &row : TableSnapshot::take(db.connection()).rows(u"Activo_Fijo_Centro_Costo"_s)) {
        if (row.startsWith(u"('"_s + QString(key).replace(u"'"_s, u"''"_s) + u"', "_s))
            out << row;
    }
    return out;
}

void configure(HostDatabase &db)
{
    // The user types the key, and the boxes keep what is typed as typed.
    db.execute(u"UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable IN ('CAT_AUTOCLAVE', 'CAT_FORZAR_MAYUSCULAS')"_s);
}

// The statements one accept sends after the marker line, in a traced run.
int statementsAfterMarker(const QString &trace)
{
    const QStringList lines = trace.split(u'\n');
    const qsizetype marker = lines.indexOf(QRegularExpression(u".*SELECT 1 AS inicio_guardado.*"_s));
    int count = 0;
    for (qsizetype i = marker + 1; marker >= 0 && i < lines.size(); ++i) {
        if (lines.at(i).startsWith(u"[sql"_s) && !lines.at(i).contains(u"ROLLBACK"_s))
            ++count;
    }
    return count;
}

} // namespace

void tst_Saving::checksInOrder()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    configure(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QString typeOf1 = db->value(u"SELECT Ta_Cve_Tipo_Activo_Fijo FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000001'"_s);
    const QString serialOf2 = db->value(u"SELECT Af_Numero_Serie FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000002'"_s);
    const QString economicOf3 = db->value(u"SELECT Af_Numero_Economico FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000003'"_s);

    // Each step corrects the previous refusal and provokes the next one; the
    // screen stays in editing with what was typed. Focus "Controles": not moved.
    struct Step
    {
        QString lines;
        QString id;
        QString prompt;
        int style;
        QString title;
        int tab;
        QString focus;
    };
    const QString T = u"Talvexor"_s, R = u"Controles_Aceptar()"_s;
    const QString account = u"Debe especificar una cuenta contable válida"_s;
    QString tenCentres = u"cell 0 Porcentaje 10.1\ncell 1 Porcentaje 10.1\n"_s;
    const QStringList more = {u"140"_s, u"150"_s, u"160"_s, u"170"_s, u"180"_s, u"200"_s, u"210"_s, u"220"_s};
    for (int i = 0; i < more.size(); ++i)
        tenCentres += u"cell %1 Clave %2\ncell %1 Porcentaje %3\n"_s.arg(i + 2).arg(more[i], i == 7 ? u"9.1"_s : u"10.1"_s);
    const QList<Step> steps = {
        {u"toolbar Nuevo\n"_s, u"ERR-ID:7500003"_s, u"Debe especificar para el activo fijo"_s, 48, T, 0, u"txt_Af_Cve_Activo_Fijo"_s},
        {u"type txt_Af_Cve_Activo_Fijo 1\n"_s, u"ERR-ID:7500002"_s, u"La clave ya está asignada al activo fijo: "_s + typeOf1, 48, T, 0, u"txt_Af_Cve_Activo_Fijo"_s},
        {u"sql UPDATE Variable SET Va_Valor = 'SI' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\ntab 2\nanswer 7\n"_s,
         u"ERR-ID:7500001"_s, u"La clave, ya está asignada al activo fijo: "_s + typeOf1 + u"\r\n¿Desea generar una nueva clave?"_s,
         36, u"Generar nueva clave?"_s, 0, u"txt_Af_Cve_Activo_Fijo"_s},
        {u"sql UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\n"_s + setText(u"txt_Af_Cve_Activo_Fijo"_s, u"0000000900"_s),
         u"ERR-ID:7500004"_s, u"Debe especificar una descripcion para el activo fijo"_s, 48, T, 0, u"txt_Af_Descripcion"_s},
        {setText(u"txt_Af_Descripcion"_s, u"Equipo"_s), u"ERR-ID:7500005"_s, u"Debe especificar el tipo de activo fijo"_s, 48, T, 0, u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
        {setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"999"_s), u"ERR-ID:7500005"_s, u"Debe especificar el tipo de activo fijo"_s, 48, T, 0, u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
        {setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s), u"ERR-ID:7500006"_s, u"Debe especificar una empresa válida"_s, 48, T, 0, u"txtEmpresa"_s},
        {setText(u"txtEmpresa"_s, u"0001"_s), u"ERR-ID:7500007"_s, u"Debe especificar la ubicación del activo fijo"_s, 48, T, 0, u"txt_Au_Cve_Ubicacion"_s},
        // The serial takes the key; the economic number typed is another asset's.
        {setText(u"txt_Au_Cve_Ubicacion"_s, u"0002"_s) + setText(u"txtNEconomico"_s, economicOf3), u"ERR-ID:7500009"_s,
         u"El número económico ya está en la base de datos"_s, 48, T, 0, u"txtNEconomico"_s},
        // Another asset's serial with trailing blanks; the economic number emptied takes its default.
        {setText(u"txtNSerie"_s, serialOf2 + u"  "_s) + setText(u"txtNEconomico"_s, QString()), u"ERR-ID:7500008"_s,
         u"El número de serie ya está en la base de datos"_s, 48, T, 0, u"txtNSerie"_s},
        {setText(u"txtNSerie"_s, u"S-900"_s) + setText(u"txtClaveEmpleado"_s, u"99999"_s), u"ERR-ID:7500010"_s,
         u"Debe especificar un empleado válido"_s, 48, T, 0, u"txtClaveEmpleado"_s},
        {u"click opCliente\n"_s + setText(u"txtClaveCliente"_s, u"999999"_s), u"ERR-ID:7500011"_s, u"Debe especificar un cliente válido"_s, 48, T, 0, u"txtClaveCliente"_s},
        {setText(u"txtClaveCliente"_s, u"000001"_s) + setText(u"txtCuentaContable"_s, u"9999"_s), u"ERR-ID:7500012"_s, account, 48, T, 1, u"txtCuentaContable"_s},
        {setText(u"txtCuentaContable"_s, u"1201"_s) + setText(u"txtCuentaContable1"_s, u"9999"_s), u"ERR-ID:7500013"_s, account, 48, T, 1, u"txtCuentaContable1"_s},
        {setText(u"txtCuentaContable1"_s, u"1291"_s) + setText(u"txtCuentaContable2"_s, u"9999"_s), u"ERR-ID:7500014"_s, account, 48, T, 1, u"txtCuentaContable2"_s},
        {setText(u"txtCuentaContable2"_s, u"6101"_s) + setText(u"txtCuentaContable3"_s, u"9999"_s), u"ERR-ID:7500015"_s, account, 48, T, 1, u"txtCuentaContable3"_s},
        {setText(u"txtCuentaContable3"_s, u"1203"_s) + setText(u"txtProyecto"_s, u"9999"_s), u"ERR-ID:7500016"_s, u"Debe especificar un proyecto válido"_s, 48, T, 1, u"txtProyecto"_s},
        {setText(u"txtProyecto"_s, u"0000000001"_s) + setText(u"txtCentroCosto"_s, u"999999"_s), u"ERR-ID:7500017"_s,
         u"Debe especificar un centro de costos válido"_s, 48, T, 1, u"txtCentroCosto"_s},
        {setText(u"txtCentroCosto"_s, QString()) + setText(u"txtUen"_s, u"999999"_s), u"ERR-ID:7500018"_s, u"Debe especificar una UEN válida"_s, 48, T, 1, u"txtUen"_s},
        {setText(u"txtUen"_s, u"000001"_s) + setText(u"txt_Pv_Cve_Proveedor"_s, u"999999"_s), u"ERR-ID:7500019"_s,
         u"Debe especificar un proveedor"_s, 48, T, 2, u"txt_Pv_Cve_Proveedor"_s},
        // A cost of 0 in a disabled box: enabled again and focused.
        {setText(u"txt_Pv_Cve_Proveedor"_s, u"000001"_s) + u"set txt_Costo_Original enabled false\n"_s, u"ERR-ID:7500020"_s,
         u"El costo original es incorrecto"_s, 48, T, 2, u"txt_Costo_Original"_s},
        {setText(u"txt_Costo_Original"_s, u"-5"_s), u"ERR-ID:7500020"_s, u"El costo original es incorrecto"_s, 48, T, 2, u"txt_Costo_Original"_s},
        {setText(u"txt_Costo_Original"_s, u"abc"_s), u"ERR-ID:7500020"_s, u"El costo original es incorrecto"_s, 48, T, 2, u"txt_Costo_Original"_s},
        // The default centre the earlier accepts put in is taken out, so the grid takes rows again.
        {setText(u"txt_Costo_Original"_s, u"1500"_s) + setText(u"txtCentroCosto"_s, QString()) + u"tab 1\ncell 0 Porcentaje 50\n"_s,
         u"ERR-ID:7500021"_s, u"El centro de costo: , es incorrecto"_s, 48, R, 1, u"Controles"_s},
        {u"cell 0 Clave 100\ncell 0 Porcentaje \"\"\n"_s, u"ERR-ID:7500022"_s, u"El centro de costo: 000100 no existe o no es afectable"_s, 48, R, 1, u"Controles"_s},
        {u"cell 0 Clave 120\ncell 0 Porcentaje \"\"\n"_s, u"ERR-ID:7500023"_s, u"El porcentaje del centro de costo: 000120 no puede ser cero"_s, 48, R, 1, u"Controles"_s},
        {u"cell 0 Porcentaje 50\ncell 1 Clave 120\ncell 1 Porcentaje 50\n"_s, u"ERR-ID:7500024"_s,
         u"El centro de costo con clave: 000120 está duplicado"_s, 64, R, 1, u"ssDetalle"_s},
        {u"cell 1 Clave 130\ncell 1 Porcentaje 49.99\n"_s, u"ERR-ID:7500025"_s, u"La suma del porcentaje de los centros de costo debe ser de 100%"_s, 48, R, 1, u"ssDetalle"_s},
        {u"cell 1 Porcentaje 50.01\n"_s, u"ERR-ID:7500025"_s, u"La suma del porcentaje de los centros de costo debe ser de 100%"_s, 48, R, 1, u"ssDetalle"_s},
        // A centre deactivated after the grid accepted it.
        {u"cell 1 Porcentaje 50\nsql UPDATE Centro_Costo SET Es_Cve_Estado = 'BA' WHERE Cc_Cve_Centro_Costo = '000130'\n"_s,
         u"ERR-ID:7500022"_s, u"El centro de costo: 000130 no existe o no es afectable"_s, 48, R, 1, u"Controles"_s},
        // Ten centres whose shares add up to 99.99999999999999 as doubles.
        {u"sql UPDATE Centro_Costo SET Es_Cve_Estado = 'AC' WHERE Cc_Cve_Centro_Costo = '000130'\n"_s + tenCentres,
         u"ERR-ID:7500025"_s, u"La suma del porcentaje de los centros de costo debe ser de 100%"_s, 48, R, 1, u"ssDetalle"_s},
    };
    QString script;
    for (const Step &step : steps)
        script += step.lines + u"toolbar Aceptar\ndump\n"_s;
    const HostRun run = runHost(db->url(), script);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    const QList<QJsonObject> messages = run.of(u"mensaje"_s);
    QCOMPARE(messages.size(), steps.size());
    QCOMPARE(run.of(u"dump"_s).size(), steps.size());
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const Step &step = steps.at(i);
        const QString at = u" at step %1 (%2)"_s.arg(i).arg(step.id);
        QCOMPARE(messages[i].value(u"id"_s).toString() + at, step.id + at);
        QCOMPARE(messages[i].value(u"prompt"_s).toString() + at, step.prompt + at);
        QCOMPARE(messages[i].value(u"style"_s).toInt(), step.style);
        QCOMPARE(messages[i].value(u"title"_s).toString() + at, step.title + at);
        const QJsonObject dump = run.dump(int(i));
        QCOMPARE(dump.value(u"tab"_s).toInt(), step.tab);
        QCOMPARE(dump.value(u"focus"_s).toString() + at, step.focus + at);
        QVERIFY2(editing(dump), qPrintable(at));
    }
    // The defaults the checks filled in stay on the screen.
    QCOMPARE(text(run.dump(8), u"txtNSerie"_s), u"0000000900"_s);
    QCOMPARE(text(run.dump(9), u"txtNEconomico"_s), u"Ind-003-0000000900"_s);
    QCOMPARE(text(run.dump(18), u"txtCentroCosto"_s), u"000110"_s);
    QVERIFY(dumpedControl(run.dump(20), u"txt_Costo_Original"_s).value(u"enabled"_s).toBool());
    QCOMPARE(gridRows(run.dump(int(steps.size()) - 1)).size(), 10);

    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));
}

void tst_Saving::roundTrip()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    configure(*db);
    // The key box upper-cases what is typed; the rest is kept as typed.
    const QString key = u"Ñ'\\K-01"_s;
    const HostRun created = runHost(db->url(), newAssetLines(key) + u"dump\ntoolbar Aceptar\ndump\n"_s
                                                   + loadLines(key) + u"dump\n"_s);
    QVERIFY2(created.errors().isEmpty(), qPrintable(created.errors().join(u'\n')));
    QCOMPARE(created.messageIds(), QStringList());

    // Back in key entry: nothing to edit, the key box empty and focused.
    const QJsonObject idle = created.dump(1);
    QVERIFY(!editing(idle));
    QVERIFY(idle.value(u"toolbar"_s).toObject().value(u"estadoinicial"_s).toBool());
    QCOMPARE(idle.value(u"focus"_s).toString(), u"txt_Af_Cve_Activo_Fijo"_s);
    QCOMPARE(text(idle, u"txt_Af_Cve_Activo_Fijo"_s), QString());
    QCOMPARE(idle.value(u"tab"_s).toInt(), 0);
    const QJsonObject controls = idle.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        if (c.value(u"tag"_s).toString() == u"1"_s || c.value(u"tag"_s).toString() == u"5"_s) {
            QVERIFY2(!c.value(u"enabled"_s).toBool(), qPrintable(it.key()));
            // Emptied: a numeric box shows its zero.
            QVERIFY2(c.value(u"text"_s).toString().isEmpty() || c.value(u"valor"_s).toDouble() == 0, qPrintable(it.key()));
        }
        if (c.contains(u"items"_s) || c.contains(u"rows"_s))
            QVERIFY2(c.value(c.contains(u"items"_s) ? u"items"_s : u"rows"_s).toArray().isEmpty(), qPrintable(it.key()));
    }

    // The load shows what was typed, field by field and row by row.
    QJsonObject typed = input(created.dump(0));
    QJsonObject loaded = input(created.dump(2));
    for (auto it = typed.begin(); it != typed.end(); ++it)
        QCOMPARE(loaded.value(it.key()).toVariant().toString() + u" <- "_s + it.key(),
                 it.value().toVariant().toString() + u" <- "_s + it.key());
    QCOMPARE(gridRows(created.dump(2)), (QStringList{u"000120|33.33"_s, u"000130|33.33"_s, u"000140|33.34"_s}));

    // And the row holds it, every column of the insert.
    const QMap<QString, QString> expected = expectedNewAsset(key);
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(stored(*db, it.key(), key) + u" <- "_s + it.key(), it.value() + u" <- "_s + it.key());
    QVERIFY(!stored(*db, u"Fecha_Alta"_s, key).isEmpty());
    QCOMPARE(stored(*db, u"Fecha_Ult_Modif"_s, key), stored(*db, u"Fecha_Alta"_s, key));
    QCOMPARE(distribution(*db, key).size(), 3);
    const QString audit = u"SELECT COUNT(*) FROM Bitacora WHERE Bi_Tabla = 'Activo_Fijo' AND Bi_Clave = 'Ñ''\\K-01'"_s;
    QCOMPARE(db->value(audit), u"1"_s);

    // Edited by another operator: shrunk to one centre, then to none; what
    // the save never writes is left alone.
    db->execute(u"UPDATE Activo_Fijo SET Fecha_Alta = '2001-02-03 04:05:06', Fecha_Ult_Modif = '2001-02-03 04:05:06', "
                "Af_Tabla = 'TB', Af_Documento = 'DOC', Oper_Baja = 'X', Fecha_Baja = '2002-03-04 05:06:07', "
                "Af_Depreciacion_Acumulada_Contable = 12.5, Af_Depreciacion_Acumulada_Fiscal = 7.25, "
                "Af_Ultima_Depreciacion = '2020-01-31' WHERE Af_Cve_Activo_Fijo = 'Ñ''\\K-01'"_s);
    const QStringList untouched = {u"Af_Tabla"_s, u"Af_Documento"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s,
                                   u"Es_Cve_Estado"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s,
                                   u"Af_Depreciacion_Acumulada_Contable"_s, u"Af_Depreciacion_Acumulada_Fiscal"_s,
                                   u"Af_Ultima_Depreciacion"_s};
    QStringList kept;
    for (const QString &column : untouched)
        kept << stored(*db, column, key);
    const QString user2 = hostile(50, 3);
    const HostRun edited = runHost(db->url(), loadLines(key) + u"toolbar Modificar\nclick opCliente\n"
                                                  "type txtClaveCliente 2\nkey txtClaveCliente Tab\n"_s
                                                  + setText(u"txtMarca"_s, u"Marca ñ 2"_s) + setText(u"txtVidaUtil"_s, {})
                                                  + setText(u"txtUser2"_s, user2)
                                                  + u"tab 1\ncell 2 Clave \"\"\nkey ssDetalle Ctrl+Del\n"
                                                    "cell 1 Clave \"\"\nkey ssDetalle Ctrl+Del\ncell 0 Porcentaje 100\n"
                                                    "tab 0\ntoolbar Aceptar\n"_s
                                                  + loadLines(key) + u"dump\ntoolbar Modificar\ntab 1\ncell 0 Clave \"\"\n"
                                                                     "key ssDetalle Ctrl+Del\ntoolbar Aceptar\n"_s
                                                  + loadLines(key) + u"dump\n"_s,
                                      {u"--usuario"_s, u"OTRO"_s});
    QVERIFY2(edited.errors().isEmpty(), qPrintable(edited.errors().join(u'\n')));
    QCOMPARE(edited.messageIds(), QStringList()); // a stored key never gets the key question
    const QJsonObject oneCentre = edited.dump(0);
    QCOMPARE(gridRows(oneCentre), QStringList{u"000120|100"_s});
    QVERIFY(dumpedControl(oneCentre, u"opCliente"_s).value(u"value"_s).toBool());
    QCOMPARE(text(oneCentre, u"txtClaveCliente"_s), u"000002"_s);
    QCOMPARE(text(oneCentre, u"txtMarca"_s), u"Marca ñ 2"_s);
    QCOMPARE(text(oneCentre, u"txtUser2"_s), user2);
    QCOMPARE(text(oneCentre, u"txt_Af_Descripcion"_s), typedText(u"txt_Af_Descripcion"_s));
    // No grid and no single centre: the configured default, no rows.
    QCOMPARE(gridRows(edited.dump(1)), QStringList());
    QCOMPARE(stored(*db, u"Af_Centro_Costo"_s, key), u"000110"_s);
    QCOMPARE(distribution(*db, key), QStringList());
    QCOMPARE(stored(*db, u"Af_Tipo_Responsable"_s, key), u"CL"_s);
    QCOMPARE(stored(*db, u"Af_Responsable"_s, key), u"000002"_s);
    QCOMPARE(stored(*db, u"Af_Vida_Util"_s, key), u"0"_s);
    QCOMPARE(stored(*db, u"Oper_Ult_Modif"_s, key), u"OTRO"_s);
    QVERIFY(!stored(*db, u"Fecha_Ult_Modif"_s, key).startsWith(u"2001"_s));
    QStringList still;
    for (const QString &column : untouched)
        still << stored(*db, column, key);
    QCOMPARE(still, kept);
    QCOMPARE(db->value(audit), u"3"_s);

    // A new asset on a taken key, with the automatic key: Yes generates one.
    db->execute(u"UPDATE Variable SET Va_Valor = 'SI' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'"_s);
    const HostRun generated = runHost(db->url(), u"toolbar Nuevo\n"_s + setText(u"txt_Af_Cve_Activo_Fijo"_s, u"0000000001"_s)
                                                     + setText(u"txt_Af_Descripcion"_s, u"Generada"_s)
                                                     + setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s)
                                                     + setText(u"txtEmpresa"_s, u"0001"_s)
                                                     + setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s)
                                                     + setText(u"txt_Costo_Original"_s, u"10"_s)
                                                     + u"answer 6\ntoolbar Aceptar\ndump\n"_s);
    QVERIFY2(generated.errors().isEmpty(), qPrintable(generated.errors().join(u'\n')));
    QCOMPARE(generated.messageIds(), QStringList{u"ERR-ID:7500001"_s});
    QVERIFY(!editing(generated.dump()));
    const QString newKey = db->value(u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE Af_Descripcion = 'Generada'"_s);
    QVERIFY2(QRegularExpression(u"^\\d{10}$"_s).match(newKey).hasMatch() && newKey != u"0000000001"_s, qPrintable(newKey));
    QVERIFY(db->value(u"SELECT Af_Descripcion FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000001'"_s) != u"Generada"_s);
}

void tst_Saving::failedStatementsLeaveNothing_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("isNew");
    for (const QString &backend : {u"sqlite"_s, u"postgresql"_s}) {
        QTest::addRow("%s/new", qPrintable(backend)) << backend << true;
        QTest::addRow("%s/update", qPrintable(backend)) << backend << false;
    }
}

// Every statement of one save fails in turn, as a refusal and as a lost
// link: each time the failure is shown, the screen keeps the input and the
// database keeps what it had; after all of them the same save goes through.
void tst_Saving::failedStatementsLeaveNothing()
{
    QFETCH(QString, backend);
    QFETCH(bool, isNew);
    TALVEXOR_HOST_DATABASE_OR_SKIP(traced, backend, true);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    configure(*traced);
    configure(*db);

    // A first accept refused by its checks reads the schema the look-ups
    // need, so every later accept sends the same statements.
    const QString key = isNew ? u"0000000777"_s : u"0000000008"_s;
    QString prepare;
    if (isNew) {
        prepare = u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo 777\ntoolbar Aceptar\n"_s + assetFieldLines();
    } else {
        const QString otherSerial = db->value(u"SELECT Af_Numero_Serie FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000002'"_s);
        prepare = loadLines(key) + u"toolbar Modificar\n"_s + setText(u"txtNSerie"_s, otherSerial) + u"toolbar Aceptar\n"_s
                  + setText(u"txt_Af_Descripcion"_s, typedText(u"txt_Af_Descripcion"_s))
                  + setText(u"txtNSerie"_s, typedText(u"txtNSerie"_s)) + setText(u"txtUser1"_s, typedText(u"txtUser1"_s));
    }
    const HostRun trace = runHost(traced->url(), prepare + u"sql SELECT 1 AS inicio_guardado\ntoolbar Aceptar\n"_s,
                                  {u"--trace"_s});
    QCOMPARE(trace.messageIds().size(), 1);
    const int statements = statementsAfterMarker(trace.errorOutput);
    QVERIFY2(statements > 10, qPrintable(trace.errorOutput.right(2000)));
    qInfo("one save sends %d statements", statements);
    QCOMPARE(stored(*traced, u"Af_Descripcion"_s, key), typedText(u"txt_Af_Descripcion"_s));

    QString loop;
    for (int n = 1; n <= statements; ++n)
        loop += u"fault %1\ntoolbar Aceptar\ndump\nfault lose %1\ntoolbar Aceptar\ndump\n"_s.arg(n);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    // Then a registration the audit trail refuses, and a life beyond 16 bits.
    const QString tail = u"fault off\nsql INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('BITACORA_BLOQUEADA', "
                         "'Activo_Fijo')\ntoolbar Aceptar\ndump\nsql DELETE FROM Variable WHERE Va_Cve_Variable = "
                         "'BITACORA_BLOQUEADA'\n"_s + setText(u"txtVidaUtil"_s, u"40000"_s) + u"toolbar Aceptar\ndump\n"_s;
    const HostRun failing = runHost(db->url(), prepare + u"dump\n"_s + loop + tail);
    QVERIFY2(failing.errors().isEmpty(), qPrintable(failing.errors().join(u'\n')));
    const QList<QJsonObject> faults = failing.of(u"fault"_s);
    const QList<QJsonObject> messages = failing.of(u"mensaje"_s);
    QCOMPARE(faults.size(), 2 * statements);
    QCOMPARE(messages.size(), 3 + 2 * statements);
    const QJsonObject typed = input(failing.dump(0));
    QSet<QString> ids;
    for (int attempt = 0; attempt < 2 * statements; ++attempt) {
        const int n = attempt / 2 + 1;
        const QString at = u" at statement %1%2: %3"_s.arg(n).arg(attempt % 2 ? u" (link lost)"_s : QString(),
                                                               faults[attempt].value(u"sql"_s).toString().left(80));
        QCOMPARE(faults[attempt].value(u"statement"_s).toInt(), n);
        const QJsonObject message = messages[attempt + 1];
        const QString id = message.value(u"id"_s).toString();
        ids.insert(id);
        QVERIFY2(QStringList({u"ERR-ID:7500026"_s, u"ERR-ID:7500027"_s, u"ERR-ID:7500028"_s}).contains(id), qPrintable(id + at));
        QVERIFY2(!message.value(u"prompt"_s).toString().isEmpty(), qPrintable(at));
        if (attempt % 2 == 0 && id != u"ERR-ID:7500026"_s)
            QVERIFY2(message.value(u"prompt"_s).toString().startsWith(u"Falla simulada en la sentencia %1"_s.arg(n)),
                     qPrintable(message.value(u"prompt"_s).toString() + at));
        const QJsonObject dump = failing.dump(attempt + 1);
        QVERIFY2(editing(dump), qPrintable(at));
        QVERIFY2(input(dump) == typed, qPrintable(at));
    }
    // The loop reached the end of the save, and every kind of failure came up.
    QVERIFY(faults.constLast().value(u"sql"_s).toString().contains(u"COMMIT"_s));
    QCOMPARE(ids.size(), 3);
    const QJsonObject vetoed = messages[1 + 2 * statements];
    QCOMPARE(vetoed.value(u"id"_s).toString(), u"ERR-ID:7500027"_s);
    QVERIFY(vetoed.value(u"prompt"_s).toString().contains(u"bloqueada"_s));
    QCOMPARE(vetoed.value(u"style"_s).toInt(), 48);
    QCOMPARE(vetoed.value(u"title"_s).toString(), u"Talvexor"_s);
    QVERIFY(input(failing.dump(1 + 2 * statements)) == typed);
    const QJsonObject overflow = messages[2 + 2 * statements];
    QCOMPARE(overflow.value(u"id"_s).toString(), u"ERR-ID:7500028"_s);
    QVERIFY(overflow.value(u"prompt"_s).toString().startsWith(u"Desbordamiento"_s));
    QCOMPARE(overflow.value(u"style"_s).toInt(), 16);
    QCOMPARE(overflow.value(u"title"_s).toString(), u"Controles_Aceptar()"_s);
    QVERIFY(editing(failing.dump(2 + 2 * statements)));
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));

    QString refused;
    for (int n = 1; n <= statements; ++n)
        refused += u"fault %1\ntoolbar Aceptar\n"_s.arg(n);
    const HostRun saved = runHost(db->url(), prepare + refused + u"fault off\ntoolbar Aceptar\ndump\n"_s);
    QVERIFY2(saved.errors().isEmpty(), qPrintable(saved.errors().join(u'\n')));
    QCOMPARE(saved.messageIds().size(), 1 + statements);
    QVERIFY(!editing(saved.dump()));
    // Exactly the record a save without failures stores, once.
    for (const suite::TableDef &table : suite::Schema::tables()) {
        if (table.name == u"Activo_Fijo"_s) {
            for (const suite::ColumnDef &column : table.columns) {
                if (column.name != u"Fecha_Alta"_s && column.name != u"Fecha_Ult_Modif"_s)
                    QCOMPARE(stored(*db, column.name, key) + u" <- "_s + column.name,
                             stored(*traced, column.name, key) + u" <- "_s + column.name);
            }
        }
    }
    QCOMPARE(distribution(*db, key), distribution(*traced, key));
    const TableSnapshot stored = TableSnapshot::take(db->connection());
    const QString audit = u"SELECT COUNT(*) FROM Bitacora WHERE Bi_Clave = '"_s + key + u"'"_s;
    QCOMPARE(db->value(audit), traced->value(audit));
    for (const suite::TableDef &table : suite::Schema::tables()) {
        if (table.name != u"Activo_Fijo"_s && table.name != u"Activo_Fijo_Centro_Costo"_s && table.name != u"Bitacora"_s)
            QVERIFY2(stored.rows(table.name) == before.rows(table.name), qPrintable(table.name));
    }
    QCOMPARE(stored.rows(u"Activo_Fijo"_s).size(), before.rows(u"Activo_Fijo"_s).size() + (isNew ? 1 : 0));
}

// Two screens save the same new key at once: both pass their checks, both
// wait on the table; one stores its record, the other gets the database's
// refusal, keeps what its user typed and, on a second try, the key-taken
// message. No duplicate, nothing of the loser stored.
void tst_Saving::twoScreensOneNewKey()
{
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, u"postgresql"_s, true);
    configure(*db);
    auto script = [](const QString &who, const QString &centre) {
        return u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo 999\n"_s
               + setText(u"txt_Af_Descripcion"_s, u"Pantalla "_s + who) + setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s)
               + setText(u"txtEmpresa"_s, u"0001"_s) + setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s)
               + setText(u"txtNSerie"_s, u"S-"_s + who) + setText(u"txtNEconomico"_s, u"E-"_s + who)
               + setText(u"txt_Costo_Original"_s, u"100"_s) + u"tab 1\ncell 0 Clave "_s + centre
               + u"\ncell 0 Porcentaje 100\ntab 0\n"_s + setText(u"txtUser1"_s, who)
               + u"toolbar Aceptar\ndump\ntoolbar Aceptar\ndump\n"_s;
    };
    // Readers pass, writers wait: both screens get past their checks first.
    QSqlQuery lock(db->connection().database());
    QVERIFY(lock.exec(u"BEGIN"_s));
    QVERIFY(lock.exec(u"LOCK TABLE Activo_Fijo IN EXCLUSIVE MODE"_s));
    const QString url = db->url();
    auto a = std::async(std::launch::async, [&] { return runHost(url, script(u"A"_s, u"120"_s)); });
    auto b = std::async(std::launch::async, [&] { return runHost(url, script(u"B"_s, u"130"_s)); });
    QElapsedTimer waited;
    waited.start();
    int waiting = 0;
    while (waiting < 2 && waited.elapsed() < 120000) {
        QThread::msleep(100);
        QSqlQuery q(db->connection().database());
        q.exec(u"SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() AND wait_event_type = 'Lock'"_s);
        waiting = q.next() ? q.value(0).toInt() : 0;
    }
    QVERIFY(lock.exec(u"COMMIT"_s));
    QCOMPARE(waiting, 2);
    const HostRun runs[] = {a.get(), b.get()};

    const QString winner = db->value(u"SELECT Af_UserDef_1 FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000999'"_s);
    QVERIFY(winner == u"A"_s || winner == u"B"_s);
    const HostRun &won = runs[winner == u"A"_s ? 0 : 1];
    const HostRun &lost = runs[winner == u"A"_s ? 1 : 0];
    QCOMPARE(won.messageIds(), QStringList());
    QVERIFY(!editing(won.dump(0)));
    QCOMPARE(won.errors().size(), 1); // its second accept is not offered: the screen is back in key entry
    QCOMPARE(lost.messageIds(), (QStringList{u"ERR-ID:7500028"_s, u"ERR-ID:7500002"_s}));
    QVERIFY(editing(lost.dump(0)));
    QCOMPARE(text(lost.dump(0), u"txtUser1"_s), winner == u"A"_s ? u"B"_s : u"A"_s);
    QCOMPARE(lost.of(u"mensaje"_s).value(1).value(u"prompt"_s).toString(), u"La clave ya está asignada al activo fijo: 003"_s);
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000999'"_s), u"1"_s);
    QCOMPARE(distribution(*db, u"0000000999"_s),
             QStringList{u"('0000000999', '%1', 100)"_s.arg(winner == u"A"_s ? u"000120"_s : u"000130"_s)});
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Bitacora WHERE Bi_Clave = '0000000999'"_s), u"1"_s);
}

// The key of a saved record reaches the environment service; a refused save tells it nothing.
void tst_Saving::savedKeyIsRegistered()
{
    TestSession test(true);
    suite::Entorno entorno(&test.session());
    suite::Utilerias utilerias(&test.session());
    frmXB733 form(&entorno, &utilerias);
    form.show();
    QVERIFY2(form.isLoaded(), qPrintable(form.loadError()));
    auto *toolbar = form.controlAs<suite::Controles>(u"Controles"_s);
    auto set = [&](const QString &box, const QString &value) { form.controlAs<suite::txtKIT>(box)->setText(value); };

    QVERIFY(toolbar->press(u"Nuevo"_s));
    const QString key = form.controlAs<suite::txtKIT>(u"txt_Af_Cve_Activo_Fijo"_s)->text();
    set(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s);
    set(u"txtEmpresa"_s, u"0001"_s);
    set(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s);
    set(u"txt_Costo_Original"_s, u"10"_s);
    QVERIFY(toolbar->press(u"Aceptar"_s));
    QCOMPARE(test.messages().ids(), QStringList{u"ERR-ID:7500004"_s});
    QCOMPARE(entorno.ultimaClave(), QString());
    set(u"txt_Af_Descripcion"_s, u"Silla"_s);
    QVERIFY(toolbar->press(u"Aceptar"_s));
    QCOMPARE(test.messages().count(), 1);
    QVERIFY(!toolbar->editando());
    QCOMPARE(entorno.ultimaClave(), key);
}

QTEST_MAIN(tst_Saving)
#include "tst_saving.moc"
