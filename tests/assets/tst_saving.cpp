// Saving assets as a user does, through the real host's scripted mode on
// both backends: every refusal of the accept command in its order, a new and
// an edited asset stored as typed, the same saves failing at any of their
// statements and leaving the database as it was, and every asset of a
// catalogue saved unchanged writing back exactly what it read. (Hostile
// values in every field, read back: tst_hostile; two users saving one key at
// once: tst_concurrency.)
#include "bench/generate/CatalogueGenerator.h"
#include "suite/data/Connection.h"
#include "suite/data/Schema.h"
#include "suite/data/SqlText.h"
#include "tests/support/HostScript.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Saving : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checksInOrder_data() { TestDatabase::addBackendRows(); }
    void checksInOrder();
    void storedAsTypedAndFailedStatementsLeaveNothing_data();
    void storedAsTypedAndFailedStatementsLeaveNothing();
    void numbersDatesAndSharesAsTyped_data() { TestDatabase::addBackendRows(); }
    void numbersDatesAndSharesAsTyped();
    void unchangedSaveWritesBackWhatItRead_data() { TestDatabase::addBackendRows(); }
    void unchangedSaveWritesBackWhatItRead();
};

namespace {

const QString KeyBox = u"txt_Af_Cve_Activo_Fijo"_s;

QString text(const QJsonObject &dump, const QString &box) { return dumpedControl(dump, box).value(u"text"_s).toString(); }
bool editing(const QJsonObject &dump) { return dump.value(u"toolbar"_s).toObject().value(u"editando"_s).toBool(); }

// A complete new asset, field by field: how it is put in ('k'ey box, left
// with Tab, which pads it; 't'yped; 'd'ate), what is typed, the column it
// lands in and what that holds. It ends in a plain text box, so pressing
// accept runs no look-up of the field being left.
struct Field
{
    int tab;
    char kind;
    QString box, typed, column, stored;
};
const QList<Field> Fields = {
    {0, 'k', u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"3"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s, u"003"_s},
    {0, 'k', u"txtEmpresa"_s, u"2"_s, u"Em_Cve_Empresa"_s, u"0002"_s}, {0, 't', u"txtVidaUtil"_s, u"25"_s, u"Af_Vida_Util"_s, u"25"_s},
    {0, 'k', u"txt_Au_Cve_Ubicacion"_s, u"4"_s, u"Au_Cve_Ubicacion"_s, u"0004"_s},
    {0, 'k', u"txtClaveEmpleado"_s, u"3"_s, u"Af_Responsable"_s, u"00003"_s},
    {1, 'k', u"txtProyecto"_s, u"1"_s, u"Af_Proyecto"_s, u"0000000001"_s}, {1, 'k', u"txtUen"_s, u"2"_s, u"Af_UEN"_s, u"000002"_s},
    {1, 'k', u"txtCuentaContable"_s, u"1201"_s, u"Af_Cuenta_Contable"_s, u"1201"_s},
    {1, 'k', u"txtCuentaContable1"_s, u"1291"_s, u"Af_Cuenta_Contable_1"_s, u"1291"_s},
    {1, 'k', u"txtCuentaContable2"_s, u"6101"_s, u"Af_Cuenta_Contable_2"_s, u"6101"_s},
    {1, 'k', u"txtCuentaContable3"_s, u"1203"_s, u"Af_Cuenta_Contable_3"_s, u"1203"_s},
    {2, 'k', u"txt_Pv_Cve_Proveedor"_s, u"3"_s, u"Af_Proveedor"_s, u"000003"_s},
    {2, 't', u"txt_Referencia"_s, u"F-1'9\\"_s, u"Af_Factura"_s, u"F-1'9\\"_s},
    {2, 't', u"txt_Costo_Original"_s, u"1234567.8912"_s, u"Af_Costo_Original"_s, u"1234567.8912"_s},
    {2, 'd', u"dpFechaCompra"_s, u"2023-02-28"_s, u"Af_Fecha_Compra"_s, u"2023-02-28"_s},
    {3, 't', u"txtUser3"_s, u"-0.25"_s, u"Af_UserDef_3"_s, u"-0.25"_s}, {3, 't', u"txtUser4"_s, u"98765.43"_s, u"Af_UserDef_4"_s, u"98765.43"_s},
    {3, 'd', u"dpUser5"_s, u"2000-01-01"_s, u"Af_UserDef_5"_s, u"2000-01-01"_s}, {3, 'd', u"dpUser6"_s, u"2031-12-31"_s, u"Af_UserDef_6"_s, u"2031-12-31"_s},
    {3, 't', u"txtUser1"_s, u"Nota \"uno\" ñ"_s, u"Af_UserDef_1"_s, u"Nota \"uno\" ñ"_s},
    {3, 't', u"txtUser2"_s, u"Otra 'nota'"_s, u"Af_UserDef_2"_s, u"Otra 'nota'"_s},
    {0, 't', u"txtMarca"_s, u"Marca Ñ"_s, u"Af_Marca"_s, u"Marca Ñ"_s}, {0, 't', u"txtModelo"_s, u"M-1"_s, u"Af_Modelo"_s, u"M-1"_s},
    // A serial typed with a trailing blank is looked up without it, stored with it.
    {0, 't', u"txtNSerie"_s, u"S-77 "_s, u"Af_Numero_Serie"_s, u"S-77 "_s}, {0, 't', u"txtNEconomico"_s, u"E-77"_s, u"Af_Numero_Economico"_s, u"E-77"_s},
    {0, 't', u"txtCalificacion"_s, u"Bueno"_s, u"Af_Calificacion"_s, u"Bueno"_s},
    {0, 't', u"txt_Af_Descripcion"_s, u"Escritorio O'Neil 1.6 m"_s, u"Af_Descripcion"_s, u"Escritorio O'Neil 1.6 m"_s},
};

const Field &field(const QString &box)
{
    return *std::find_if(Fields.begin(), Fields.end(), [&](const Field &f) { return f.box == box; });
}

QString assetFieldLines()
{
    QString s;
    int tab = -1;
    for (const Field &f : Fields) {
        s += f.tab == tab ? QString() : u"tab %1\n"_s.arg(tab = f.tab);
        s += f.kind == 'd' ? u"set %1 date %2\n"_s.arg(f.box, f.typed) : u"type %1 %2\n"_s.arg(f.box, word(f.typed));
        s += f.kind == 'k' ? u"key %1 Tab\n"_s.arg(f.box) : QString();
        if (f.box == u"txtCuentaContable3"_s)
            s += u"cell 0 Clave 120\ncell 0 Porcentaje 33.33\ncell 1 Clave 130\ncell 1 Porcentaje 33.33\n"
                 "cell 2 Clave 140\ncell 2 Porcentaje 33.34\n"_s;
    }
    return s;
}

// A value as its text whatever the backend gave: numbers without trailing
// zeros, dates and stamps in ISO form, NULL as "NULL".
QString plain(const QVariant &v)
{
    const QString text = TableSnapshot::canonical(v);
    return text.startsWith(u'\'') ? text.mid(1, text.size() - 2).replace(u"''"_s, u"'"_s) : text;
}

// The asset's columns named, each as plain() gives it but NULL as "".
QMap<QString, QString> stored(HostDatabase &db, const QString &key, const QStringList &columns)
{
    const suite::RecordsetPtr row = db.connection().Execute(u"SELECT "_s + columns.join(u", "_s)
                                                            + u" FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s
                                                            + suite::sqlEscape(key) + u"'"_s);
    QMap<QString, QString> out;
    for (int i = 0; !row->Eof() && i < columns.size(); ++i) {
        const QString value = plain(row->fieldValue(i));
        out.insert(columns[i], value == u"NULL"_s ? QString() : value);
    }
    return out;
}

// The asset as its history names it: each column but the row's key and what
// any write stamps, each distribution row ("distribución 000120"); values as
// stored, NULL as "NULL" (and so every one, when there is no such asset).
QMap<QString, QString> recordable(HostDatabase &db, const QString &key)
{
    const QStringList stamped = {u"Af_Cve_Activo_Fijo"_s, u"Oper_Alta"_s, u"Fecha_Alta"_s, u"Oper_Ult_Modif"_s,
                                 u"Fecha_Ult_Modif"_s, u"Af_Version"_s};
    const QString where = u" WHERE Af_Cve_Activo_Fijo = '"_s + suite::sqlEscape(key) + u"'"_s;
    const suite::RecordsetPtr asset = db.connection().Execute(u"SELECT * FROM Activo_Fijo"_s + where);
    QMap<QString, QString> out;
    for (const suite::ColumnDef &c : suite::Schema::table(u"Activo_Fijo"_s)->columns) {
        if (!stamped.contains(c.name))
            out.insert(c.name, asset->Eof() ? u"NULL"_s : plain(asset->Fields(c.name)));
    }
    const suite::RecordsetPtr shares = db.connection().Execute(u"SELECT Cc_Cve_Centro_Costo, Acc_Porcentaje FROM Activo_Fijo_Centro_Costo"_s + where);
    for (const auto &share : shares->rows())
        out.insert(u"distribución "_s + share[0].toString(), plain(share[1]));
    return out;
}

// "what: before -> after" for each value that differs.
QStringList differences(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList out;
    QStringList names = before.keys() + after.keys();
    names.removeDuplicates();
    for (const QString &name : std::as_const(names)) {
        if (before.value(name, u"NULL"_s) != after.value(name, u"NULL"_s))
            out << u"%1: %2 -> %3"_s.arg(name, before.value(name, u"NULL"_s), after.value(name, u"NULL"_s));
    }
    out.sort();
    return out;
}

// The asset's history as differences() writes them, and the commands that made it.
QStringList historyOf(HostDatabase &db, const QString &key, QStringList *commands)
{
    const suite::RecordsetPtr rows = db.connection().Execute(
        u"SELECT Hi_Campo, Hi_Valor_Anterior, Hi_Valor_Nuevo, Hi_Orden FROM Historial WHERE Hi_Entidad = 'ACTIVO_FIJO' "
        "AND Hi_Clave = '"_s + suite::sqlEscape(key) + u"'"_s);
    QStringList out;
    for (const auto &row : rows->rows()) {
        out << u"%1: %2 -> %3"_s.arg(row[0].toString(), row[1].isNull() ? u"NULL"_s : row[1].toString(),
                                     row[2].isNull() ? u"NULL"_s : row[2].toString());
        *commands << row[3].toString();
    }
    out.sort();
    commands->removeDuplicates();
    return out;
}

// A row as "Column=value" lines, to compare whole.
QStringList row(const QMap<QString, QString> &values)
{
    QStringList out;
    for (auto it = values.begin(); it != values.end(); ++it)
        out << it.key() + u'=' + it.value();
    return out;
}

// The statements one accept sends after the marker line, in a traced run.
int statementsAfterMarker(const QString &trace)
{
    const QStringList lines = trace.split(u'\n');
    const qsizetype marker = lines.indexOf(QRegularExpression(u".*SELECT 1 AS inicio_guardado.*"_s));
    int count = 0;
    for (qsizetype i = marker + 1; marker >= 0 && i < lines.size(); ++i)
        count += lines.at(i).startsWith(u"[sql"_s) && !lines.at(i).contains(u"ROLLBACK"_s);
    return count;
}

} // namespace

void tst_Saving::checksInOrder()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    typeAsTyped(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    auto of = [&](const QString &column, const QString &asset) {
        return db->value(u"SELECT %1 FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '%2'"_s.arg(column, asset));
    };
    const QString typeOf1 = of(u"Ta_Cve_Tipo_Activo_Fijo"_s, u"0000000001"_s);

    // Each step corrects the previous refusal and provokes the next one; the
    // screen stays in editing with what was typed. Focus "Controles": not moved.
    struct Step
    {
        QString lines, id, prompt;
        int tab;
        QString focus;
        int style = 48;
        QString title = u"Talvexor"_s;
    };
    const QString R = u"Controles_Aceptar()"_s;
    const QString account = u"Debe especificar una cuenta contable válida"_s;
    const QString sum = u"La suma del porcentaje de los centros de costo debe ser de 100%"_s;
    QString tenCentres = u"cell 0 Porcentaje 10.1\ncell 1 Porcentaje 10.1\n"_s;
    const QStringList more = {u"140"_s, u"150"_s, u"160"_s, u"170"_s, u"180"_s, u"200"_s, u"210"_s, u"220"_s};
    for (int i = 0; i < more.size(); ++i)
        tenCentres += u"cell %1 Clave %2\ncell %1 Porcentaje %3\n"_s.arg(i + 2).arg(more[i], i == 7 ? u"9.1"_s : u"10.1"_s);
    auto fix = [](const QString &box, const QString &value, const QString &next, const QString &wrong) {
        return setText(box, value) + setText(next, wrong);
    };
    const QList<Step> steps = {
        {u"toolbar Nuevo\n"_s, u"ERR-ID:7500003"_s, u"Debe especificar para el activo fijo"_s, 0, KeyBox},
        {u"type txt_Af_Cve_Activo_Fijo 1\n"_s, u"ERR-ID:7500002"_s, u"La clave ya está asignada al activo fijo: "_s + typeOf1, 0, KeyBox},
        {u"sql UPDATE Variable SET Va_Valor = 'SI' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\ntab 2\nanswer 7\n"_s,
         u"ERR-ID:7500001"_s, u"La clave, ya está asignada al activo fijo: "_s + typeOf1 + u"\r\n¿Desea generar una nueva clave?"_s,
         0, KeyBox, 36, u"Generar nueva clave?"_s},
        {u"sql UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\n"_s + setText(KeyBox, u"0000000900"_s),
         u"ERR-ID:7500004"_s, u"Debe especificar una descripcion para el activo fijo"_s, 0, u"txt_Af_Descripcion"_s},
        {setText(u"txt_Af_Descripcion"_s, u"Equipo"_s), u"ERR-ID:7500005"_s, u"Debe especificar el tipo de activo fijo"_s, 0, u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
        {setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"999"_s), u"ERR-ID:7500005"_s, u"Debe especificar el tipo de activo fijo"_s, 0, u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
        {setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s), u"ERR-ID:7500006"_s, u"Debe especificar una empresa válida"_s, 0, u"txtEmpresa"_s},
        {setText(u"txtEmpresa"_s, u"0001"_s), u"ERR-ID:7500007"_s, u"Debe especificar la ubicación del activo fijo"_s, 0, u"txt_Au_Cve_Ubicacion"_s},
        // The serial takes the key; the economic number typed is another asset's, in other letters' case.
        {fix(u"txt_Au_Cve_Ubicacion"_s, u"0002"_s, u"txtNEconomico"_s, of(u"Af_Numero_Economico"_s, u"0000000003"_s).toLower()),
         u"ERR-ID:7500009"_s, u"El número económico ya está en la base de datos"_s, 0, u"txtNEconomico"_s},
        // Another asset's serial, in other letters' case with trailing blanks; the economic number emptied takes its default.
        {setText(u"txtNSerie"_s, of(u"Af_Numero_Serie"_s, u"0000000002"_s).toLower() + u"  "_s) + setText(u"txtNEconomico"_s, QString()),
         u"ERR-ID:7500008"_s, u"El número de serie ya está en la base de datos"_s, 0, u"txtNSerie"_s},
        {fix(u"txtNSerie"_s, u"S-900"_s, u"txtClaveEmpleado"_s, u"99999"_s), u"ERR-ID:7500010"_s, u"Debe especificar un empleado válido"_s, 0, u"txtClaveEmpleado"_s},
        {u"click opCliente\n"_s + setText(u"txtClaveCliente"_s, u"999999"_s), u"ERR-ID:7500011"_s, u"Debe especificar un cliente válido"_s, 0, u"txtClaveCliente"_s},
        {fix(u"txtClaveCliente"_s, u"000001"_s, u"txtCuentaContable"_s, u"9999"_s), u"ERR-ID:7500012"_s, account, 1, u"txtCuentaContable"_s},
        {fix(u"txtCuentaContable"_s, u"1201"_s, u"txtCuentaContable1"_s, u"9999"_s), u"ERR-ID:7500013"_s, account, 1, u"txtCuentaContable1"_s},
        {fix(u"txtCuentaContable1"_s, u"1291"_s, u"txtCuentaContable2"_s, u"9999"_s), u"ERR-ID:7500014"_s, account, 1, u"txtCuentaContable2"_s},
        {fix(u"txtCuentaContable2"_s, u"6101"_s, u"txtCuentaContable3"_s, u"9999"_s), u"ERR-ID:7500015"_s, account, 1, u"txtCuentaContable3"_s},
        {fix(u"txtCuentaContable3"_s, u"1203"_s, u"txtProyecto"_s, u"9999"_s), u"ERR-ID:7500016"_s, u"Debe especificar un proyecto válido"_s, 1, u"txtProyecto"_s},
        {fix(u"txtProyecto"_s, u"0000000001"_s, u"txtCentroCosto"_s, u"999999"_s), u"ERR-ID:7500017"_s,
         u"Debe especificar un centro de costos válido"_s, 1, u"txtCentroCosto"_s},
        {fix(u"txtCentroCosto"_s, QString(), u"txtUen"_s, u"999999"_s), u"ERR-ID:7500018"_s, u"Debe especificar una UEN válida"_s, 1, u"txtUen"_s},
        {fix(u"txtUen"_s, u"000001"_s, u"txt_Pv_Cve_Proveedor"_s, u"999999"_s), u"ERR-ID:7500019"_s, u"Debe especificar un proveedor"_s, 2, u"txt_Pv_Cve_Proveedor"_s},
        // A cost of 0 in a disabled box: enabled again and focused.
        {setText(u"txt_Pv_Cve_Proveedor"_s, u"000001"_s) + u"set txt_Costo_Original enabled false\n"_s, u"ERR-ID:7500020"_s,
         u"El costo original es incorrecto"_s, 2, u"txt_Costo_Original"_s},
        {setText(u"txt_Costo_Original"_s, u"-5"_s), u"ERR-ID:7500020"_s, u"El costo original es incorrecto"_s, 2, u"txt_Costo_Original"_s},
        // The default centre the earlier accepts put in is taken out, so the grid takes rows again.
        {setText(u"txt_Costo_Original"_s, u"1500"_s) + setText(u"txtCentroCosto"_s, QString()) + u"tab 1\ncell 0 Porcentaje 50\n"_s,
         u"ERR-ID:7500021"_s, u"El centro de costo: , es incorrecto"_s, 1, u"Controles"_s, 48, R},
        {u"cell 0 Clave 100\ncell 0 Porcentaje \"\"\n"_s, u"ERR-ID:7500022"_s, u"El centro de costo: 000100 no existe o no es afectable"_s, 1, u"Controles"_s, 48, R},
        {u"cell 0 Clave 120\ncell 0 Porcentaje \"\"\n"_s, u"ERR-ID:7500023"_s, u"El porcentaje del centro de costo: 000120 no puede ser cero"_s, 1, u"Controles"_s, 48, R},
        {u"cell 0 Porcentaje 50\ncell 1 Clave 120\ncell 1 Porcentaje 50\n"_s, u"ERR-ID:7500024"_s,
         u"El centro de costo con clave: 000120 está duplicado"_s, 1, u"ssDetalle"_s, 64, R},
        {u"cell 1 Clave 130\ncell 1 Porcentaje 49.99\n"_s, u"ERR-ID:7500025"_s, sum, 1, u"ssDetalle"_s, 48, R},
        {u"cell 1 Porcentaje 50.01\n"_s, u"ERR-ID:7500025"_s, sum, 1, u"ssDetalle"_s, 48, R},
        // A centre deactivated after the grid accepted it.
        {u"cell 1 Porcentaje 50\nsql UPDATE Centro_Costo SET Es_Cve_Estado = 'BA' WHERE Cc_Cve_Centro_Costo = '000130'\n"_s,
         u"ERR-ID:7500022"_s, u"El centro de costo: 000130 no existe o no es afectable"_s, 1, u"Controles"_s, 48, R},
        // Ten centres whose shares add up to 99.99999999999999 as doubles.
        {u"sql UPDATE Centro_Costo SET Es_Cve_Estado = 'AC' WHERE Cc_Cve_Centro_Costo = '000130'\n"_s + tenCentres,
         u"ERR-ID:7500025"_s, sum, 1, u"ssDetalle"_s, 48, R},
    };
    QString script;
    QStringList expected;
    for (const Step &step : steps) {
        script += step.lines + u"toolbar Aceptar\ndump\n"_s;
        expected << u"%1|%2|%3|%4 on tab %5 at %6, editing"_s.arg(step.id).arg(step.style).arg(step.title, step.prompt)
                        .arg(step.tab).arg(step.focus);
    }
    const HostRun run = runHost(db->url(), script);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QStringList shown = run.messages();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QJsonObject dump = run.dump(int(i));
        shown[i] += u" on tab %1 at %2%3"_s.arg(dump.value(u"tab"_s).toInt())
                        .arg(dump.value(u"focus"_s).toString(), editing(dump) ? u", editing"_s : QString());
    }
    QCOMPARE(shown, expected);
    QCOMPARE(run.of(u"dump"_s).size(), steps.size());
    // The defaults the checks filled in stay on the screen.
    QCOMPARE(text(run.dump(8), u"txtNSerie"_s), u"0000000900"_s);
    QCOMPARE(text(run.dump(9), u"txtNEconomico"_s), u"Ind-003-0000000900"_s);
    QCOMPARE(text(run.dump(18), u"txtCentroCosto"_s), u"000110"_s);
    QVERIFY(dumpedControl(run.dump(20), u"txt_Costo_Original"_s).value(u"enabled"_s).toBool());
    QCOMPARE(dumpedControl(run.dump(int(steps.size()) - 1), u"ssDetalle"_s).value(u"rows"_s).toArray().size(), 10);

    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));

    // A new asset on a taken key, with the automatic key: Yes generates one.
    db->execute(u"UPDATE Variable SET Va_Valor = 'SI' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'"_s);
    const HostRun generated = runHost(db->url(), u"toolbar Nuevo\n"_s + setText(KeyBox, u"0000000001"_s) + setText(u"txt_Af_Descripcion"_s, u"Generada"_s)
                                                     + setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"003"_s) + setText(u"txtEmpresa"_s, u"0001"_s)
                                                     + setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s) + setText(u"txt_Costo_Original"_s, u"10"_s)
                                                     + u"answer 6\ntoolbar Aceptar\ndump\n"_s);
    QCOMPARE(generated.messageIds(), QStringList{u"ERR-ID:7500001"_s});
    QVERIFY(generated.errors().isEmpty() && !editing(generated.dump()));
    const QString newKey = db->value(u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE Af_Descripcion = 'Generada'"_s);
    QVERIFY2(QRegularExpression(u"^\\d{10}$"_s).match(newKey).hasMatch() && newKey != u"0000000001"_s, qPrintable(newKey));
    QVERIFY(of(u"Af_Descripcion"_s, u"0000000001"_s) != u"Generada"_s);
}

void tst_Saving::storedAsTypedAndFailedStatementsLeaveNothing_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("isNew");
    for (const QString &backend : {u"sqlite"_s, u"postgresql"_s}) {
        QTest::addRow("%s/new", qPrintable(backend)) << backend << true;
        QTest::addRow("%s/update", qPrintable(backend)) << backend << false;
    }
}

// One save, new or an edit, goes through on one database and stores what
// was typed. On another, every statement of it fails in turn, as a refusal
// and as a lost link: each time the failure is shown, the screen keeps the
// input and the database keeps what it had.
void tst_Saving::storedAsTypedAndFailedStatementsLeaveNothing()
{
    QFETCH(QString, backend);
    QFETCH(bool, isNew);
    TALVEXOR_HOST_DATABASE_OR_SKIP(traced, backend, true);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QStringList asOther = {u"--usuario"_s, u"OTRO"_s};
    // The key box upper-cases what is typed; the rest is kept as typed. The
    // edit: a client's asset over ten centres to an employee's over one, its
    // life emptied (0), by another operator; the columns the save never
    // writes hold values to keep.
    const QString key = isNew ? u"Ñ'\\K-01"_s : u"0000000008"_s;
    const QString sqlKey = u"'"_s + suite::sqlEscape(key) + u"'"_s;
    QStringList columns;
    for (const suite::ColumnDef &c : suite::Schema::table(u"Activo_Fijo"_s)->columns)
        columns << (c.name == u"Fecha_Ult_Modif"_s ? QString() : c.name);
    columns.removeAll(QString());
    for (HostDatabase *d : {traced.get(), db.get()}) {
        typeAsTyped(*d);
        d->execute(u"UPDATE Activo_Fijo SET Fecha_Alta = '2001-02-03 04:05:06', Fecha_Ult_Modif = '2001-02-03 04:05:06', "
                   "Af_Tabla = 'TB', Af_Documento = 'DOC', Oper_Baja = 'X', Fecha_Baja = '2002-03-04 05:06:07', "
                   "Af_Depreciacion_Acumulada_Contable = 12.5, Af_Depreciacion_Acumulada_Fiscal = 7.25, "
                   "Af_Ultima_Depreciacion = '2020-01-31' WHERE Af_Cve_Activo_Fijo = '0000000008'"_s);
    }
    QMap<QString, QString> expected = {
        {u"Af_Cve_Activo_Fijo"_s, key},     {u"Af_Tabla"_s, {}},           {u"Af_Documento"_s, {}},
        {u"Af_Centro_Costo"_s, {}},         {u"Af_Tipo_Responsable"_s, u"EM"_s}, {u"Oper_Alta"_s, u"OTRO"_s},
        {u"Oper_Ult_Modif"_s, u"OTRO"_s},   {u"Es_Cve_Estado"_s, u"AC"_s},    {u"Af_Version"_s, u"0"_s},
    };
    for (const Field &f : Fields)
        expected.insert(f.column, f.stored);
    // A first accept refused by its checks reads the schema the look-ups
    // need, so every later accept sends the same statements.
    QString prepare = u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo "_s + word(u"ñ'\\k-01"_s)
                      + u"\ntoolbar Aceptar\n"_s + assetFieldLines();
    if (!isNew) {
        expected = stored(*traced, key, columns);
        // The database counts the save's one write of the row.
        expected.insert({{u"Af_Tipo_Responsable"_s, u"EM"_s}, {u"Af_Responsable"_s, u"00003"_s}, {u"Af_Vida_Util"_s, u"0"_s},
                         {u"Oper_Ult_Modif"_s, u"OTRO"_s}, {u"Af_Version"_s, QString::number(expected[u"Af_Version"_s].toInt() + 1)}});
        prepare = loadLines(key) + u"toolbar Modificar\n"_s
                  + setText(u"txtNSerie"_s, db->value(u"SELECT Af_Numero_Serie FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000002'"_s))
                  + u"toolbar Aceptar\nclick opEmpleado\ntype txtClaveEmpleado 3\nkey txtClaveEmpleado Tab\n"
                    "tab 1\ntype txtCentroCosto 1\nkey txtCentroCosto Backspace\ncell 0 Clave 120\ncell 0 Porcentaje 100\ntab 0\n"_s
                  + setText(u"txtVidaUtil"_s, {});
        for (const QString &box : {u"txt_Af_Descripcion"_s, u"txtNSerie"_s, u"txtUser1"_s}) {
            prepare += setText(box, field(box).typed);
            expected.insert(field(box).column, field(box).stored);
        }
    }
    const QString audit = u"SELECT COUNT(*) FROM Bitacora WHERE Bi_Tabla = 'Activo_Fijo' AND Bi_Clave = "_s + sqlKey;
    const int audited = traced->value(audit).toInt();
    const QMap<QString, QString> was = recordable(*traced, key);
    const HostRun trace = runHost(traced->url(), prepare + u"sql SELECT 1 AS inicio_guardado\ntoolbar Aceptar\ndump\n"_s,
                                  QStringList{u"--trace"_s} + asOther);
    QCOMPARE(trace.messageIds().size(), 1); // the refused first accept; a stored key is not taken
    const int statements = statementsAfterMarker(trace.errorOutput);
    QVERIFY2(statements > 10, qPrintable(trace.errorOutput.right(2000)));
    qInfo("one save sends %d statements", statements);

    // Stored as typed, every column the save writes, what it never writes
    // left alone; its centres; registered once. Back in key entry after it.
    QCOMPARE(row(stored(*traced, key, expected.keys())), row(expected));
    const QMap<QString, QString> stamps = stored(*traced, key, {u"Fecha_Alta"_s, u"Fecha_Ult_Modif"_s});
    QVERIFY2(!stamps.last().startsWith(u"2001"_s) && (isNew ? stamps.first() == stamps.last() : stamps.first().startsWith(u"2001"_s)),
             qPrintable(stamps.values().join(u' ')));
    QStringList centres = TableSnapshot::take(traced->connection()).rows(u"Activo_Fijo_Centro_Costo"_s);
    centres.removeIf([&](const QString &r) { return !r.startsWith(u'(' + sqlKey + u", "_s); });
    QCOMPARE(centres, (isNew ? QStringList{u"('Ñ''\\K-01', '000120', 33.33)"_s, u"('Ñ''\\K-01', '000130', 33.33)"_s,
                                           u"('Ñ''\\K-01', '000140', 33.34)"_s}
                             : QStringList{u"('0000000008', '000120', 100)"_s}));
    QCOMPARE(traced->value(audit).toInt(), audited + 1);
    // Its history: every value the save changed, from what it was to what it is, under the one command.
    QStringList commands;
    QCOMPARE(historyOf(*traced, key, &commands), differences(was, recordable(*traced, key)));
    QCOMPARE(commands, QStringList{isNew ? u"Alta"_s : u"Modificación"_s});
    const QJsonObject idle = trace.dump(0);
    QVERIFY(!editing(idle) && idle.value(u"toolbar"_s).toObject().value(u"estadoinicial"_s).toBool());
    QCOMPARE(idle.value(u"focus"_s).toString() + u'|' + text(idle, KeyBox) + u'|' + QString::number(idle.value(u"tab"_s).toInt()),
             KeyBox + u"||0"_s);
    // The emptied screen does not show the key; the status line says it.
    QCOMPARE(trace.of(u"estado"_s).value(0).value(u"text"_s).toString(), u"Activo fijo %1 guardado"_s.arg(key));
    const QJsonObject controls = idle.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        // Each field emptied (a numeric box shows its zero) and closed; every list and grid empty.
        if (c.value(u"tag"_s).toString() == u"1"_s || c.value(u"tag"_s).toString() == u"5"_s)
            QVERIFY2(!c.value(u"enabled"_s).toBool() && (c.value(u"text"_s).toString().isEmpty() || c.value(u"valor"_s).toDouble() == 0),
                     qPrintable(it.key()));
        QVERIFY2(c.value(u"items"_s).toArray().isEmpty() && c.value(u"rows"_s).toArray().isEmpty(), qPrintable(it.key()));
    }

    QString loop;
    for (int n = 1; n <= statements; ++n)
        loop += u"fault %1\ntoolbar Aceptar\ndump\nfault lose %1\ntoolbar Aceptar\ndump\n"_s.arg(n);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const HostRun failing = runHost(db->url(), prepare + u"dump\n"_s + loop, asOther);
    QVERIFY2(failing.errors().isEmpty(), qPrintable(failing.errors().join(u'\n')));
    const QList<QJsonObject> faults = failing.of(u"fault"_s);
    const QList<QJsonObject> messages = failing.of(u"mensaje"_s);
    QCOMPARE(faults.size(), 2 * statements);
    QCOMPARE(messages.size(), 1 + 2 * statements);
    const QJsonObject typedIn = dumpedValues(failing.dump(0));
    // Each failure under its id, in its style and title.
    const QMap<QString, QString> shownAs = {{u"ERR-ID:7500026"_s, u"16|Controles_Aceptar()"_s},
                                           {u"ERR-ID:7500027"_s, u"48|Talvexor"_s},
                                           {u"ERR-ID:7500028"_s, u"16|Controles_Aceptar()"_s}};
    QSet<QString> ids;
    for (int attempt = 0; attempt < 2 * statements; ++attempt) {
        const int n = attempt / 2 + 1;
        const QString at = u" at statement %1%2: %3"_s.arg(n).arg(attempt % 2 ? u" (link lost)"_s : QString(),
                                                               faults[attempt].value(u"sql"_s).toString().left(80));
        QCOMPARE(faults[attempt].value(u"statement"_s).toInt(), n);
        const QJsonObject message = messages[attempt + 1];
        const QString id = message.value(u"id"_s).toString();
        const QString prompt = message.value(u"prompt"_s).toString();
        ids.insert(id);
        QCOMPARE(u"%1|%2"_s.arg(message.value(u"style"_s).toInt()).arg(message.value(u"title"_s).toString()) + at,
                 shownAs.value(id, u"no such id "_s + id) + at);
        QVERIFY2(!prompt.isEmpty(), qPrintable(at));
        if (attempt % 2 == 0 && id != u"ERR-ID:7500026"_s)
            QVERIFY2(prompt.startsWith(u"Falla simulada en la sentencia %1"_s.arg(n)), qPrintable(prompt + at));
        const QJsonObject dump = failing.dump(attempt + 1);
        QVERIFY2(editing(dump) && dumpedValues(dump) == typedIn, qPrintable(at));
    }
    // The loop reached the end of the save, and every kind of failure came up.
    QVERIFY(faults.constLast().value(u"sql"_s).toString().contains(u"COMMIT"_s));
    QCOMPARE(ids.size(), 3);
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));
}

// Numbers are read only as the screen writes them and stored exactly, or
// refused in words where they are typed and again at the accept, with
// nothing stored; an empty date stays empty through the save, the load and
// the equipment generated from the asset; shares are stored as typed, within
// their column, the same on both backends.
void tst_Saving::numbersDatesAndSharesAsTyped()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    typeAsTyped(*db);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QString refusedLines =
        u"toolbar Nuevo\ntype txt_Af_Cve_Activo_Fijo N900\n"_s + setText(u"txt_Af_Descripcion"_s, u"Números"_s)
        + setText(u"txt_Ta_Cve_Tipo_ActivoFijo"_s, u"001"_s) + setText(u"txtEmpresa"_s, u"0001"_s)
        + setText(u"txt_Au_Cve_Ubicacion"_s, u"0001"_s)
        + u"tab 2\ntype txt_Costo_Original 1,5\nkey txt_Costo_Original Tab\ndump txt_Costo_Original\n"_s // 7500052
        + u"toolbar Aceptar\ndump\n"_s                                                                     // 7500053
        + setText(u"txt_Costo_Original"_s, u"1.234,56"_s) + u"toolbar Aceptar\n"_s                         // 7500053
        + setText(u"txt_Costo_Original"_s, u"0.00001"_s) + u"toolbar Aceptar\n"_s                          // 7500054
        + setText(u"txt_Costo_Original"_s, u"1,234.5"_s) + u"tab 0\ntype txtVidaUtil 2.5\nkey txtVidaUtil Tab\n"_s
        + setText(u"txtVidaUtil"_s, u"40000"_s) + u"toolbar Aceptar\n"_s                                   // 7500054
        + setText(u"txtVidaUtil"_s, u"25"_s) + setText(u"txtUser3"_s, u"1.23456789012345678"_s)
        + u"toolbar Aceptar\n"_s                                                                            // 7500054
        + setText(u"txtUser3"_s, u"1.005"_s) + setText(u"txtUser4"_s, u"12345678.125"_s)
        + u"tab 3\nset dpUser5 date 2024-03-05\nkey dpUser5 Delete\nset dpUser6 date 2031-12-31\n"_s
        // The default centre the refused accepts put in is taken out, so the grid takes rows.
        + setText(u"txtCentroCosto"_s, {}) + u"tab 1\ncell 0 Clave 120\ncell 0 Porcentaje 12.3456789012\ncell 1 Clave 130\n"              // 7500055, line fails
          "key - Ctrl+A\ncell 0 Porcentaje 33.333333333\ncell 1 Clave 130\ncell 1 Porcentaje 33.333333333\n"
          "cell 2 Clave 140\ncell 2 Porcentaje 33.333333333\ntoolbar Aceptar\n"                         // 7500025
          "cell 0 Porcentaje 12.345678901\ncell 1 Porcentaje 87.654321099\ncell 2 Porcentaje \"\"\n"
          "key - Ctrl+Del\n"_s;
    const HostRun refused = runHost(db->url(), refusedLines + u"dump ssDetalle\ntoolbar Cancelar\n"_s);
    QStringList shown;
    for (const QJsonObject &m : refused.of(u"mensaje"_s))
        shown << m.value(u"id"_s).toString().right(7) + u' ' + m.value(u"prompt"_s).toString();
    const QStringList expected = {
        u"7500052 Costo original: «1,5» no es un número como los escribe la pantalla. Use el punto para los decimales "
        "y la coma solo para separar miles; por ejemplo 1,234.56."_s,
        u"7500053 Costo original: «1,5» no es un número como los escribe la pantalla. Use el punto para los decimales "
        "y la coma solo para separar miles; por ejemplo 1,234.56."_s,
        u"7500053 Costo original: «1.234,56» no es un número como los escribe la pantalla. Use el punto para los "
        "decimales y la coma solo para separar miles; por ejemplo 1,234.56."_s,
        u"7500054 Costo original: el número 0.00001 no se puede guardar tal como está escrito: tiene 5 decimales y "
        "se guardan 4."_s,
        u"7500052 Vida útil: «2.5» no es un número como los escribe la pantalla. Escriba un número entero, sin "
        "decimales; por ejemplo 25."_s,
        u"7500054 Vida útil: el número 40000 no se puede guardar tal como está escrito: debe estar entre -32768 y 32767."_s,
        u"7500054 Dato 3: el número 1.23456789012345678 no se puede guardar tal como está escrito: tiene 18 cifras "
        "significativas y se guardan exactas hasta 15."_s,
        u"7500055 El porcentaje 12.3456789012 no se puede guardar tal como está escrito: tiene 10 decimales y se "
        "guardan 9."_s,
        u"7500025 La suma del porcentaje de los centros de costo debe ser de 100%"_s,
    };
    QVERIFY2(shown == expected, qPrintable((shown + refused.errors()).join(u'\n')));
    QCOMPARE(refused.errors().size(), 1); // the move out of the share of ten decimals
    QVERIFY(refused.errors().value(0).contains(u"(1, Clave)"_s));
    // The refused text stays as typed, with no value; the accept leaves the user on it.
    QCOMPARE(text(refused.dump(0), u"txt_Costo_Original"_s), u"1,5"_s);
    QVERIFY(dumpedControl(refused.dump(0), u"txt_Costo_Original"_s).value(u"valor"_s).isNull());
    QCOMPARE(refused.dump(1).value(u"focus"_s).toString() + QString::number(refused.dump(1).value(u"tab"_s).toInt()),
             u"txt_Costo_Original2"_s);
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));

    // Corrected, it is stored as typed: grouping read, no rounding, empty dates as NULL. Loaded again it shows
    // the same, the empty date still empty; the equipment made from it copies the NULL.
    const HostRun saved = runHost(db->url(), refusedLines + u"toolbar Aceptar\n"_s + loadLines(u"N900"_s)
                                                 + u"dump txt_Costo_Original txtUser3 dpFechaCompra dpUser5\ntoolbar B3\n"_s);
    QCOMPARE(saved.messageIds().mid(9), QStringList{u"ERR-ID:7500036"_s});
    const QStringList columns = {u"Af_Costo_Original"_s, u"Af_Vida_Util"_s, u"Af_UserDef_3"_s, u"Af_UserDef_4"_s,
                                 u"Af_Fecha_Compra"_s, u"Af_UserDef_5"_s, u"Af_UserDef_6"_s};
    QCOMPARE(row(stored(*db, u"N900"_s, columns)),
             row({{u"Af_Costo_Original"_s, u"1234.5"_s}, {u"Af_Vida_Util"_s, u"25"_s}, {u"Af_UserDef_3"_s, u"1.005"_s},
                  {u"Af_UserDef_4"_s, u"12345678.125"_s}, {u"Af_Fecha_Compra"_s, {}}, {u"Af_UserDef_5"_s, {}},
                  {u"Af_UserDef_6"_s, u"2031-12-31"_s}}));
    QCOMPARE(TableSnapshot::take(db->connection()).rows(u"Activo_Fijo_Centro_Costo"_s).filter(u"'N900'"_s),
             (QStringList{u"('N900', '000120', 12.345678901)"_s, u"('N900', '000130', 87.654321099)"_s}));
    const QJsonObject reloaded = saved.of(u"dump"_s).constLast();
    QCOMPARE(text(reloaded, u"txt_Costo_Original"_s) + u'|' + text(reloaded, u"txtUser3"_s) + u'|'
                 + dumpedControl(reloaded, u"txtUser3"_s).value(u"valor"_s).toVariant().toString() + u'|'
                 + dumpedControl(reloaded, u"dpFechaCompra"_s).value(u"date"_s).toString() + u'|'
                 + dumpedControl(reloaded, u"dpUser5"_s).value(u"date"_s).toString(),
             u"$1,234.5000|1.01|1.005||"_s);
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Equipo WHERE Eq_Activo_Fijo = 'N900' AND Eq_UserDef_5 IS NULL "
                       "AND Eq_UserDef_6 IS NOT NULL AND Eq_UserDef_3 = 1.005"_s), u"1"_s);
}

namespace {

constexpr int GeneratedAssets = 1500;

// What the generator writes none of, on every tenth asset by the last digit
// of its key: NULL dates, numbers, texts and references; long decimals;
// accents, quotes and mixed case; additional fields NULL, empty and not
// defined; shares of nine decimals.
void vary(HostDatabase &db)
{
    const QString assets = u" WHERE Es_Cve_Estado <> 'BA' AND Af_Cve_Activo_Fijo LIKE '%%%1'"_s;
    db.execute(u"UPDATE Activo_Fijo SET Af_Fecha_Compra = NULL, Af_UserDef_5 = NULL, Af_UserDef_6 = NULL, "
               "Af_UserDef_3 = NULL, Af_Marca = NULL, Af_Calificacion = NULL, Af_UserDef_2 = NULL, Af_Proyecto = NULL, "
               "Af_Tipo_Responsable = 'EM', Af_Responsable = NULL"_s + assets.arg(1));
    db.execute(u"UPDATE Activo_Fijo SET Af_Costo_Original = 1234567.8912, Af_UserDef_3 = 1.23456789012345, "
               "Af_UserDef_4 = -0.000123456789"_s + assets.arg(2));
    // Eighteen digits PostgreSQL keeps and SQLite rounds to a double, and a double with seventeen.
    db.execute(u"UPDATE Activo_Fijo SET Af_Costo_Original = 12345678901234.5678, "
               "Af_UserDef_4 = CAST(0.1 AS DOUBLE PRECISION) + CAST(0.2 AS DOUBLE PRECISION)"_s + assets.arg(5));
    db.execute(u"UPDATE Activo_Fijo SET Af_Descripcion = 'Escritorio O''Neil «ñandú» ÁÉÍ', "
               "Af_UserDef_1 = 'Nota \"uno\" ñ', Af_Modelo = 'Mo''dElo-1 ü', "
               "Af_Numero_Serie = Af_Numero_Serie || 'x'"_s + assets.arg(3));
    db.execute(u"INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Clave, Ca_Campo, Ca_Valor) "
               "SELECT 'Activo_Fijo', Af_Cve_Activo_Fijo, 'NOTA', NULL FROM Activo_Fijo"_s + assets.arg(4));
    db.execute(u"INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Clave, Ca_Campo, Ca_Valor) "
               "SELECT 'Activo_Fijo', Af_Cve_Activo_Fijo, 'VACIO', '' FROM Activo_Fijo"_s + assets.arg(4));
    const suite::RecordsetPtr spread = db.connection().Execute(
        u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo_Centro_Costo GROUP BY Af_Cve_Activo_Fijo HAVING COUNT(*) = 2"_s);
    for (int i = 0; !spread->Eof() && i < 20; spread->MoveNext(), ++i) {
        const QString key = spread->fieldValue(0).toString();
        const QString centre = db.value(u"SELECT MIN(Cc_Cve_Centro_Costo) FROM Activo_Fijo_Centro_Costo "
                                        "WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key));
        db.execute(u"UPDATE Activo_Fijo_Centro_Costo SET Acc_Porcentaje = CASE WHEN Cc_Cve_Centro_Costo = '%2' "
                   "THEN 33.333333333 ELSE 66.666666667 END WHERE Af_Cve_Activo_Fijo = '%1'"_s.arg(key, centre));
    }
}

} // namespace

// Every active asset of the demo database and of a generated catalogue is
// keyed, edited and accepted with no change, one scripted run per database:
// no message, every asset saved once, and every table as it was but for the
// last-change operator and stamp and the audit rows.
void tst_Saving::unchangedSaveWritesBackWhatItRead()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(demo, backend, true);
    TALVEXOR_HOST_DATABASE_OR_SKIP(generated, backend, false);
    bench::GeneratorOptions options;
    options.assets = GeneratedAssets;
    options.assetsPerTransaction = GeneratedAssets;
    options.costCentres = 1000;
    bench::CatalogueGenerator(generated->connection(), options).run();
    vary(*generated);

    // What a save is meant to change: the last-change operator and stamp, the row's count of writes, the audit.
    const QStringList changing = {u"Bitacora"_s, u"Activo_Fijo.Oper_Ult_Modif"_s, u"Activo_Fijo.Fecha_Ult_Modif"_s,
                                  u"Activo_Fijo.Af_Version"_s};
    for (HostDatabase *db : {demo.get(), generated.get()}) {
        QString script;
        const suite::RecordsetPtr keys = db->connection().Execute(
            u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE Es_Cve_Estado <> 'BA' ORDER BY Af_Cve_Activo_Fijo"_s);
        for (; !keys->Eof(); keys->MoveNext())
            script += loadLines(keys->fieldValue(0).toString()) + u"toolbar Modificar\ntoolbar Aceptar\n"_s;
        const int saved = keys->rowCount();
        const TableSnapshot before = TableSnapshot::take(db->connection(), changing);
        const int audited = db->value(u"SELECT COUNT(*) FROM Bitacora"_s).toInt();
        QElapsedTimer clock;
        clock.start();
        const HostRun run = runHost(db->url(), script);
        const double seconds = clock.nsecsElapsed() / 1e9;
        QVERIFY2(run.exitCode == 0 && run.of(u"mensaje"_s).isEmpty(),
                 qPrintable((run.errors() + run.messageIds()).mid(0, 10).join(u'\n') + u'\n'
                            + run.of(u"mensaje"_s).value(0).value(u"prompt"_s).toString() + run.errorOutput.left(500)));
        QCOMPARE(db->value(u"SELECT COUNT(*) FROM Bitacora"_s).toInt() - audited, saved);
        const TableSnapshot after = TableSnapshot::take(db->connection(), changing);
        QVERIFY2(after == before, qPrintable(before.difference(after)));
        qInfo("%s: %d assets saved unchanged in %.1f s, 0 values changed", qPrintable(backend), saved, seconds);
    }
}

QTEST_MAIN(tst_Saving)
#include "tst_saving.moc"
