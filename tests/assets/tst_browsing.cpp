// Browsing assets as a user does, through the real host's scripted mode on
// both backends: keying an asset shows it whole, the toolbar's simple
// commands move the screen between its modes, and the distribution grid
// checks what is typed into it.
#include "suite/data/Connection.h"
#include "tests/support/HostScript.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Browsing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadShowsTheStoredAsset_data() { TestDatabase::addBackendRows(); }
    void loadShowsTheStoredAsset();
    void loadEdgeCases_data() { TestDatabase::addBackendRows(); }
    void loadEdgeCases();
    void toolbarModes_data() { TestDatabase::addBackendRows(); }
    void toolbarModes();
    void gridKeystrokes_data() { TestDatabase::addBackendRows(); }
    void gridKeystrokes();
};

namespace {

QString loadLines(const QString &key)
{
    return u"set txt_Af_Cve_Activo_Fijo text \"%1\"\nkey txt_Af_Cve_Activo_Fijo Return\n"_s.arg(key);
}

QJsonValue member(const QJsonObject &dump, const QString &control, const QString &name)
{
    return dumpedControl(dump, control).value(name);
}

QString text(const QJsonObject &dump, const QString &control)
{
    return member(dump, control, u"text"_s).toString();
}

QStringList offered(const QJsonObject &dump)
{
    return dump.value(u"toolbar"_s).toObject().value(u"offered"_s).toVariant().toStringList();
}

QString toolbar(const QJsonObject &dump, const QString &member)
{
    return dump.value(u"toolbar"_s).toObject().value(member).toVariant().toString();
}

// The rows of a dumped list or grid, each as its cells joined by "|".
QStringList rows(const QJsonObject &dump, const QString &control)
{
    QStringList out;
    const QJsonObject c = dumpedControl(dump, control);
    if (c.contains(u"items"_s)) {
        for (const QJsonValue &item : c.value(u"items"_s).toArray())
            out << item.toVariant().toStringList().join(u'|');
        return out;
    }
    for (const QJsonValue &row : c.value(u"rows"_s).toArray()) {
        const QJsonObject r = row.toObject();
        const QJsonValue share = r.value(u"Porcentaje"_s);
        out << r.value(u"Clave"_s).toString() + u'|' + r.value(u"Descripción"_s).toString() + u'|'
                   + (share.isNull() ? u"null"_s : QString::number(share.toDouble()));
    }
    return out;
}

QString date(const QString &iso)
{
    return iso.isEmpty() ? QString() : QDate::fromString(iso.left(10), Qt::ISODate).toString(u"dd/MM/yyyy"_s);
}

// Group 1 and 5 inputs of a dump that are enabled (the responsible frames
// follow the chosen kind instead).
QStringList enabledFields(const QJsonObject &dump)
{
    QStringList out;
    const QJsonObject controls = dump.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        const QString tag = c.value(u"tag"_s).toString();
        if (it.key().startsWith(u"frm"_s))
            continue;
        if ((tag == u"1"_s || tag == u"5"_s) && c.value(u"enabled"_s).toBool())
            out << it.key();
    }
    return out;
}

} // namespace

void tst_Browsing::loadShowsTheStoredAsset()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    // 8: a client's, over ten cost centres; 1: a vehicle type's, with a cancelled
    // posting; 13: deactivated; 15: a type that makes equipment and vehicles.
    const HostRun run = runHost(db->url(), loadLines(u"0000000008"_s) + u"dump\n"_s + loadLines(u"0000000001"_s)
                                               + u"dump\n"_s + loadLines(u"0000000013"_s) + u"dump Controles\n"_s
                                               + loadLines(u"0000000015"_s) + u"dump Controles\n"_s
                                               + loadLines(u"9999999999"_s) + u"dump\n"_s);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QVERIFY2(run.of(u"mensaje"_s).isEmpty(), "loading shows no message, not even for an unknown key");

    const QJsonObject client = run.dump(0);
    auto stored = [&](const QString &column, const QString &key = u"0000000008"_s) {
        return db->value(u"SELECT "_s + column + u" FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s);
    };
    // One box of each way the load fills them (the save's round trip compares every field).
    const QList<std::pair<QString, QString>> texts = {
        {u"txt_Af_Descripcion"_s, u"Af_Descripcion"_s}, {u"txt_Au_Cve_Ubicacion"_s, u"Au_Cve_Ubicacion"_s},
        {u"txtCuentaContable3"_s, u"Af_Cuenta_Contable_3"_s}, {u"txtNEconomico"_s, u"Af_Numero_Economico"_s},
        {u"txtClaveCliente"_s, u"Af_Responsable"_s}, {u"txtVidaUtil"_s, u"Af_Vida_Util"_s},
    };
    for (const auto &[box, column] : texts)
        QCOMPARE(text(client, box) + u" <- "_s + box, stored(column) + u" <- "_s + box);
    const double cost = stored(u"Af_Costo_Original"_s).toDouble();
    QCOMPARE(member(client, u"txt_Costo_Original"_s, u"valor"_s).toDouble(), cost);
    QCOMPARE(member(client, u"dpFechaCompra"_s, u"date"_s).toString(), stored(u"Af_Fecha_Compra"_s).left(10));
    // The box holds the ratio as its percentage shows it, to the hundredth of a percent.
    QVERIFY(qAbs(member(client, u"txtDepreciacionFiscalFactor"_s, u"valor"_s).toDouble()
                 - stored(u"Af_Depreciacion_Acumulada_Fiscal"_s).toDouble() / cost) <= 0.00005);
    QCOMPARE(text(client, u"txtFechaUltimaDepreciacion"_s), date(stored(u"Af_Ultima_Depreciacion"_s)));
    // The lookups describe what the load put in the boxes.
    QCOMPARE(text(client, u"txt_Ta_Descripcion"_s), u"Mobiliario y equipo de oficina"_s);
    QCOMPARE(text(client, u"txtNEmpresa"_s), db->value(u"SELECT Em_Descripcion FROM Empresa WHERE Em_Cve_Empresa = '"_s
                                                       + stored(u"Em_Cve_Empresa"_s) + u"'"_s));
    QCOMPARE(text(client, u"txtDescripcionCliente"_s), db->value(u"SELECT Cl_Descripcion FROM Cliente WHERE "_s
                                                                 u"Cl_Cve_Cliente = '"_s + stored(u"Af_Responsable"_s) + u"'"_s));
    QVERIFY(member(client, u"opCliente"_s, u"value"_s).toBool());
    QVERIFY(!member(client, u"frmEmpleado"_s, u"visible"_s).toBool());
    QVERIFY(member(client, u"frmCliente"_s, u"visible"_s).toBool());
    QCOMPARE(enabledFields(client), QStringList());

    // The distribution in database order, each centre described.
    const suite::RecordsetPtr spread = db->connection().Execute(
        u"SELECT d.Cc_Cve_Centro_Costo, c.Cc_Descripcion, d.Acc_Porcentaje FROM Activo_Fijo_Centro_Costo d "
        "JOIN Centro_Costo c ON c.Cc_Cve_Centro_Costo = d.Cc_Cve_Centro_Costo "
        "WHERE d.Af_Cve_Activo_Fijo = '0000000008' ORDER BY d.Cc_Cve_Centro_Costo"_s);
    QStringList expectedGrid;
    for (const auto &row : spread->rows())
        expectedGrid << row.at(0).toString() + u'|' + row.at(1).toString() + u'|' + QString::number(row.at(2).toDouble());
    QCOMPARE(expectedGrid.size(), 10);
    QStringList grid = rows(client, u"ssDetalle"_s);
    grid.sort();
    QCOMPARE(grid, expectedGrid);
    QCOMPARE(member(client, u"ssDetalle"_s, u"current"_s).toObject().value(u"row"_s).toInt(), 0);

    QCOMPARE(offered(client), (QStringList{u"Nuevo"_s, u"Modificar"_s, u"Informacion"_s, u"Eliminar"_s, u"Salir"_s,
                                           u"B1"_s, u"B2"_s}));
    QCOMPARE(toolbar(client, u"b1caption"_s), u"Carta responsiva"_s);
    QCOMPARE(toolbar(client, u"b2caption"_s), u"Imprimir etiquetas"_s);
    QCOMPARE(toolbar(client, u"clave"_s), u"0000000008"_s);

    // Both books, cancelled postings left out, each numbered from 1.
    const QJsonObject vehicle = run.dump(1);
    for (const auto &[list, book] : {std::pair{u"lvActivoFijoContable"_s, u"CO"_s}, std::pair{u"lvActivoFijoFiscal"_s, u"FI"_s}}) {
        const suite::RecordsetPtr postings = db->connection().Execute(
            u"SELECT Ad_Fecha, Ad_Centro_Costo FROM Activo_Fijo_Depreciacion WHERE Af_Cve_Activo_Fijo = '0000000001' "
            "AND Ad_Tipo = '"_s + book + u"' AND Es_Cve_Estado <> 'CA' ORDER BY Ad_Numero"_s);
        QStringList expected;
        int number = 0;
        for (const auto &row : postings->rows())
            expected << u"%1|%2|%3"_s.arg(++number).arg(row.at(0).toDate().toString(u"dd/MM/yyyy"_s), row.at(1).toString());
        QStringList shown;
        for (const QString &item : rows(vehicle, list))
            shown << item.section(u'|', 0, 2);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(shown, expected);
    }
    QVERIFY(db->value(u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion WHERE Af_Cve_Activo_Fijo = '0000000001' "
                      "AND Es_Cve_Estado = 'CA'"_s).toInt() > 0);
    QCOMPARE(text(vehicle, u"txtClaveEmpleado"_s), stored(u"Af_Responsable"_s, u"0000000001"_s));
    QVERIFY(!text(vehicle, u"txtDescripcionEmpleado"_s).isEmpty());
    QVERIFY(member(vehicle, u"frmEmpleado"_s, u"visible"_s).toBool());
    QCOMPARE(text(vehicle, u"txtClaveCliente"_s), QString());
    QCOMPARE(toolbar(vehicle, u"b3caption"_s), u"Generar equipo"_s);

    const QJsonObject deactivated = run.dump(2);
    QCOMPARE(offered(deactivated), (QStringList{u"Nuevo"_s, u"Informacion"_s, u"Reactivar"_s, u"Salir"_s}));
    QCOMPARE(toolbar(deactivated, u"b3caption"_s), QString());
    QCOMPARE(toolbar(run.dump(3), u"b3caption"_s), u"Generar equipo"_s);

    // An unknown key leaves everything the change emptied.
    const QJsonObject unknown = run.dump(4);
    QCOMPARE(offered(unknown), (QStringList{u"Nuevo"_s, u"Salir"_s}));
    QCOMPARE(toolbar(unknown, u"clave"_s), QString());
    for (const QString &box : {u"txt_Af_Descripcion"_s, u"txtNSerie"_s, u"txtClaveEmpleado"_s, u"txtClaveCliente"_s})
        QCOMPARE(text(unknown, box), QString());
    QCOMPARE(rows(unknown, u"lvActivoFijoContable"_s), QStringList());
    QCOMPARE(rows(unknown, u"ssDetalle"_s), QStringList());
    QCOMPARE(enabledFields(unknown), QStringList());
}

void tst_Browsing::loadEdgeCases()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    // A key and a description with quotes, cost 0 with depreciation, no last
    // run, an empty responsible type; a second with cost 1000.
    db->execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Ta_Cve_Tipo_Activo_Fijo, "
                "Af_Costo_Original, Af_Depreciacion_Acumulada_Contable, Af_Tipo_Responsable, Af_Responsable) "
                "VALUES ('O''1', 'Tienda O''Brien', '003', 0, 250, '', '000001'), "
                "('C1000', 'Torno', '004', 1000, 250, 'CL', '000002')"_s);
    db->execute(u"UPDATE Activo_Fijo SET Af_Ultima_Depreciacion = '2021-03-05' WHERE Af_Cve_Activo_Fijo = 'C1000'"_s);
    // A centre deactivated since, and one no longer in the catalogue.
    db->execute(u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) "
                "VALUES ('O''1', '000190', 40), ('O''1', 'ZZZ', 60)"_s);

    const HostRun run = runHost(db->url(), loadLines(u"O'1"_s) + u"dump\n"_s + loadLines(u"C1000"_s) + u"dump\n"_s);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QCOMPARE(run.of(u"dump"_s).size(), 2);

    const QJsonObject quoted = run.dump(0);
    QCOMPARE(text(quoted, u"txt_Af_Descripcion"_s), u"Tienda O'Brien"_s);
    QCOMPARE(toolbar(quoted, u"clave"_s), u"O'1"_s);
    QCOMPARE(member(quoted, u"txtDepreciacionContableFactor"_s, u"valor"_s).toDouble(), 0.0);
    QCOMPARE(text(quoted, u"txtFechaUltimaDepreciacion"_s), QString());
    QVERIFY(member(quoted, u"opEmpleado"_s, u"value"_s).toBool());
    QCOMPARE(text(quoted, u"txtClaveCliente"_s), QString());
    QCOMPARE(text(quoted, u"txtClaveEmpleado"_s), QString());
    QStringList grid = rows(quoted, u"ssDetalle"_s);
    grid.sort();
    QCOMPARE(grid, (QStringList{u"000190||40"_s, u"ZZZ||60"_s}));

    const QJsonObject thousand = run.dump(1);
    QCOMPARE(member(thousand, u"txtDepreciacionContableFactor"_s, u"valor"_s).toDouble(), 0.25);
    QCOMPARE(text(thousand, u"txtDepreciacionContableFactor"_s), u"25.00%"_s);
    QCOMPARE(text(thousand, u"txtFechaUltimaDepreciacion"_s), u"05/03/2021"_s);
    QVERIFY(member(thousand, u"opCliente"_s, u"value"_s).toBool());
    QCOMPARE(text(thousand, u"txtClaveCliente"_s), u"000002"_s);
    QCOMPARE(rows(thousand, u"ssDetalle"_s), QStringList());
}

void tst_Browsing::toolbarModes()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString next = u"%1"_s.arg(db->value(u"SELECT MAX(Af_Cve_Activo_Fijo) FROM Activo_Fijo"_s).toInt() + 1, 10,
                                    10, QLatin1Char('0'));
    const HostRun run = runHost(db->url(), uR"(toolbar Nuevo
dump
toolbar Cancelar
dump
sql UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'
toolbar Nuevo
dump txt_Af_Cve_Activo_Fijo txtNSerie
toolbar Cancelar
)"_s + loadLines(u"0000000008"_s) + u"toolbar Modificar\ndump\ntoolbar Cancelar\n"_s
                                                   + loadLines(u"0000000002"_s)
                                                   + u"toolbar Modificar\ndump ssDetalle frmEmpleado frmCliente\n"
                                                     "toolbar Cancelar\n"_s
                                                   + loadLines(u"0000000004"_s)
                                                   + u"toolbar Informacion\ntoolbar Salir\ndump\n"_s);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QCOMPARE(run.exitCode, 0);

    // New with the automatic key: the next key at once, as the serial too;
    // the key box follows the operator's option (not set: not editable).
    const QJsonObject fresh = run.dump(0);
    QCOMPARE(text(fresh, u"txt_Af_Cve_Activo_Fijo"_s), next);
    QCOMPARE(text(fresh, u"txtNSerie"_s), next);
    QVERIFY(!member(fresh, u"txt_Af_Cve_Activo_Fijo"_s, u"enabled"_s).toBool());
    QVERIFY(member(fresh, u"txt_Af_Cve_Activo_Fijo"_s, u"nuevo"_s).toBool());
    QVERIFY(enabledFields(fresh).contains(u"ssDetalle"_s));
    QVERIFY(enabledFields(fresh).contains(u"txtUser4"_s));
    QVERIFY(member(fresh, u"opEmpleado"_s, u"value"_s).toBool());
    QVERIFY(member(fresh, u"frmEmpleado"_s, u"enabled"_s).toBool());
    QCOMPARE(offered(fresh), (QStringList{u"Aceptar"_s, u"Cancelar"_s, u"Salir"_s}));

    // Cancel: back to key entry.
    const QJsonObject idle = run.dump(1);
    QCOMPARE(enabledFields(idle), QStringList());
    QCOMPARE(text(idle, u"txt_Af_Cve_Activo_Fijo"_s), QString());
    QVERIFY(member(idle, u"txt_Af_Cve_Activo_Fijo"_s, u"enabled"_s).toBool());
    QVERIFY(!member(idle, u"txt_Af_Cve_Activo_Fijo"_s, u"nuevo"_s).toBool());
    QCOMPARE(idle.value(u"focus"_s).toString(), u"txt_Af_Cve_Activo_Fijo"_s);
    QCOMPARE(toolbar(idle, u"estadoinicial"_s), u"true"_s);
    QCOMPARE(text(idle, u"txtNSerie"_s), QString());

    // Without the automatic key the user types it.
    const QJsonObject manual = run.dump(2);
    QCOMPARE(text(manual, u"txt_Af_Cve_Activo_Fijo"_s), QString());
    QVERIFY(member(manual, u"txt_Af_Cve_Activo_Fijo"_s, u"enabled"_s).toBool());
    QCOMPARE(manual.value(u"focus"_s).toString(), u"txt_Af_Cve_Activo_Fijo"_s);
    QCOMPARE(text(manual, u"txtNSerie"_s), QString());

    // Editing a client's asset spread over centres: the grid takes input, the
    // employee frame is out of the way, the key stays.
    const QJsonObject client = run.dump(3);
    QVERIFY(!member(client, u"txt_Af_Cve_Activo_Fijo"_s, u"enabled"_s).toBool());
    QCOMPARE(client.value(u"focus"_s).toString(), u"txt_Ta_Cve_Tipo_ActivoFijo"_s);
    QVERIFY(member(client, u"ssDetalle"_s, u"enabled"_s).toBool());
    QVERIFY(!member(client, u"frmEmpleado"_s, u"visible"_s).toBool());
    QVERIFY(!member(client, u"frmEmpleado"_s, u"enabled"_s).toBool());
    QVERIFY(member(client, u"frmCliente"_s, u"visible"_s).toBool());
    QCOMPARE(offered(client), (QStringList{u"Aceptar"_s, u"Cancelar"_s, u"Salir"_s}));
    QCOMPARE(rows(client, u"ssDetalle"_s).size(), 10);

    // An employee's asset charged to one centre: the grid stays closed.
    const QJsonObject single = run.dump(4);
    QVERIFY(!member(single, u"ssDetalle"_s, u"enabled"_s).toBool());
    QVERIFY(member(single, u"frmEmpleado"_s, u"visible"_s).toBool());
    QVERIFY(member(single, u"frmEmpleado"_s, u"enabled"_s).toBool());
    QVERIFY(!member(single, u"frmCliente"_s, u"visible"_s).toBool());

    // Record information reports the asset's audit values; exit ends the run.
    const QList<QJsonObject> information = run.of(u"informacion"_s);
    QCOMPARE(information.size(), 1);
    QCOMPARE(information[0].value(u"args"_s).toVariant().toStringList(),
             (QStringList{u"ACTIVO_FIJO"_s, u"Af_cve_Activo_Fijo"_s, u"0000000004"_s, {}, {}, {}, {}}));
    const QJsonObject record = information[0].value(u"registro"_s).toObject();
    QCOMPARE(record.value(u"Oper_Alta"_s).toString(),
             db->value(u"SELECT Oper_Alta FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000004'"_s));
    QCOMPARE(record.value(u"Fecha_Ult_Modif"_s).toString().left(16),
             db->value(u"SELECT Fecha_Ult_Modif FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000004'"_s)
                 .replace(u'T', u' ').left(16));
    QCOMPARE(record.value(u"Es_Cve_Estado"_s).toString(), u"AC"_s);
    QCOMPARE(run.events.constLast().value(u"event"_s).toString(), u"salir"_s);
    QCOMPARE(run.of(u"dump"_s).size(), 5);

    // The operator may type the automatic key when the option allows it.
    db->execute(u"UPDATE Variable SET Va_Valor = 'SI' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'"_s);
    db->execute(u"INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, Op_Valor) "
                "VALUES ('PRUEBA', 'XB733', 'CAT001', 'SI')"_s);
    const QJsonObject editable = runHost(db->url(), u"toolbar Nuevo\ndump txt_Af_Cve_Activo_Fijo\n"_s).dump();
    QVERIFY(member(editable, u"txt_Af_Cve_Activo_Fijo"_s, u"enabled"_s).toBool());
    QVERIFY(!text(editable, u"txt_Af_Cve_Activo_Fijo"_s).isEmpty());
}

void tst_Browsing::gridKeystrokes()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const HostRun run = runHost(db->url(), uR"(toolbar Nuevo
tab 1
cell 0 Clave 110
cell 0 Porcentaje "5a0 .5x"
key - Return
dump ssDetalle
cell 1 Clave 999
cell 1 Porcentaje 10
dump ssDetalle
choose 000120
key ssDetalle F2
cell 1 Porcentaje 25
dump ssDetalle
cell 1 Clave 120
cell 0 Clave ""
cell 0 Porcentaje ""
dump ssDetalle
type txtCentroCosto 1
dump ssDetalle
key txtCentroCosto Backspace
dump ssDetalle
)"_s);
    QCOMPARE(run.of(u"dump"_s).size(), 6);

    // A key is padded and described as its cell is left, and the share reset;
    // the share takes digits, the point and the minus sign only; Enter moves on.
    const QJsonObject typed = run.dump(0);
    QCOMPARE(rows(typed, u"ssDetalle"_s).value(0), u"000110|Administración y finanzas|50.5"_s);
    QCOMPARE(member(typed, u"ssDetalle"_s, u"current"_s).toObject().value(u"row"_s).toInt(), 1);

    // An unknown centre empties its key and keeps the user there, silently.
    QCOMPARE(run.errors().size(), 1);
    QVERIFY(run.errors().value(0).startsWith(u"line 8:"_s));
    QVERIFY(run.of(u"mensaje"_s).isEmpty());
    const QJsonObject refused = run.dump(1);
    QCOMPARE(rows(refused, u"ssDetalle"_s).value(1).section(u'|', 0, 1), u"|"_s);
    QCOMPARE(member(refused, u"ssDetalle"_s, u"current"_s).toObject().value(u"column"_s).toString(), u"Clave"_s);

    // F2 chooses a centre into the key cell; it is described on leaving.
    const QList<QJsonObject> searches = run.of(u"consulta"_s);
    QCOMPARE(searches.size(), 1);
    QCOMPARE(searches[0].value(u"id"_s).toString(), u"CENTRO_COSTO"_s);
    QCOMPARE(rows(run.dump(2), u"ssDetalle"_s).value(1), u"000120|Ventas|25"_s);

    // Retyping a key resets its share; passing through a key cell keeps it.
    const QStringList passed = rows(run.dump(3), u"ssDetalle"_s);
    QCOMPARE(passed.value(1), u"000120|Ventas|0"_s);
    QCOMPARE(passed.value(0), u"000110|Administración y finanzas|50.5"_s);

    // A single cost centre empties and closes the grid; emptying it reopens it, empty.
    const QJsonObject single = run.dump(4);
    QCOMPARE(rows(single, u"ssDetalle"_s), QStringList());
    QVERIFY(!member(single, u"ssDetalle"_s, u"enabled"_s).toBool());
    const QJsonObject reopened = run.dump(5);
    QCOMPARE(rows(reopened, u"ssDetalle"_s), QStringList());
    QVERIFY(member(reopened, u"ssDetalle"_s, u"enabled"_s).toBool());
}

QTEST_MAIN(tst_Browsing)
#include "tst_browsing.moc"
