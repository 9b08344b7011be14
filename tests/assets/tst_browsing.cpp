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
    void toolbarModesAndGrid_data() { TestDatabase::addBackendRows(); }
    void toolbarModesAndGrid();
    void writingOnlyAfterAWholeLoad_data() { TestDatabase::addBackendRows(); }
    void writingOnlyAfterAWholeLoad();
};

namespace {

using Facts = QList<std::pair<QString, QString>>;
const QString Idle = u"Nuevo,Salir"_s, Editing = u"Aceptar,Cancelar,Salir"_s;


// What a dump shows under a name: "box" its text, "control.member" another
// member, "toolbar.member" the toolbar's, "focus" the screen's; lists joined by ",".
QString shown(const QJsonObject &dump, const QString &name)
{
    const QString control = name.section(u'.', 0, 0), member = name.section(u'.', 1);
    const QJsonValue v = control == u"toolbar"_s ? dump.value(control).toObject().value(member)
                         : control == u"focus"_s ? dump.value(control)
                                                 : dumpedControl(dump, control).value(member.isEmpty() ? u"text"_s : member);
    return v.isArray() ? v.toVariant().toStringList().join(u',') : v.toVariant().toString();
}

// The facts a dump does not bear out, each with what it showed instead.
QStringList wrong(const QJsonObject &dump, const Facts &facts)
{
    QStringList out;
    for (const auto &[name, wanted] : facts) {
        if (shown(dump, name) != wanted)
            out << name + u": \""_s + shown(dump, name) + u"\", not \""_s + wanted + u'"';
    }
    return out;
}

// The rows of a dumped list or grid, each as its cells joined by "|".
QStringList rows(const QJsonObject &dump, const QString &control)
{
    QStringList out;
    const QJsonObject c = dumpedControl(dump, control);
    for (const QJsonValue &item : c.value(u"items"_s).toArray())
        out << item.toVariant().toStringList().join(u'|');
    for (const QJsonValue &row : c.value(u"rows"_s).toArray()) {
        const QJsonObject r = row.toObject();
        out << r.value(u"Clave"_s).toString() + u'|' + r.value(u"Descripción"_s).toString() + u'|'
                   + (r.value(u"Porcentaje"_s).isNull() ? u"null"_s : QString::number(r.value(u"Porcentaje"_s).toDouble()));
    }
    return out;
}

// Group 1 and 5 inputs of a dump that are enabled (the responsible frames
// follow the chosen kind instead).
QStringList enabledFields(const QJsonObject &dump)
{
    QStringList out;
    const QJsonObject controls = dump.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QString tag = it.value().toObject().value(u"tag"_s).toString();
        if (!it.key().startsWith(u"frm"_s) && (tag == u"1"_s || tag == u"5"_s) && it.value().toObject().value(u"enabled"_s).toBool())
            out << it.key();
    }
    return out;
}

} // namespace

void tst_Browsing::loadShowsTheStoredAsset()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    // A key and a description with quotes, cost 0 with depreciation, no last
    // run, an empty responsible type, its cost centres one active, one
    // deactivated since and one no longer in the catalogue; a second with cost 1000.
    db->execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Ta_Cve_Tipo_Activo_Fijo, "
                "Af_Costo_Original, Af_Depreciacion_Acumulada_Contable, Af_Tipo_Responsable, Af_Responsable) "
                "VALUES ('O''1', 'Tienda O''Brien', '003', 0, 250, '', '000001'), "
                "('C1000', 'Torno', '004', 1000, 250, 'CL', '000002')"_s);
    db->execute(u"UPDATE Activo_Fijo SET Af_Ultima_Depreciacion = '2021-03-05' WHERE Af_Cve_Activo_Fijo = 'C1000'"_s);
    db->execute(u"INSERT INTO Activo_Fijo_Centro_Costo (Af_Cve_Activo_Fijo, Cc_Cve_Centro_Costo, Acc_Porcentaje) "
                "VALUES ('O''1', '000120', 20), ('O''1', '000190', 40), ('O''1', 'ZZZ', 40)"_s);
    // An amount with more digits than a double keeps, shown in the lists' form all the same.
    db->execute(u"INSERT INTO Activo_Fijo_Depreciacion (Af_Cve_Activo_Fijo, Ad_Tipo, Ad_Fecha, Ad_Centro_Costo, Ad_Importe, "
                "Es_Cve_Estado) VALUES ('C1000', 'CO', '2021-03-31', '000120', 98765432101234.2345, 'AC')"_s);
    // 8: a client's; then a key no asset has; 1: a vehicle type's, with a cancelled posting.
    QString script;
    for (const QString &key : {u"0000000008"_s, u"9999999999"_s, u"0000000001"_s, u"O'1"_s, u"C1000"_s})
        script += loadLines(key) + u"dump\n"_s;
    const HostRun run = runHost(db->url(), script);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QVERIFY2(run.of(u"mensaje"_s).isEmpty(), "loading shows no message, not even for an unknown key");
    auto stored = [&](const QString &column, const QString &key) {
        return db->value(u"SELECT "_s + column + u" FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s + key + u"'"_s);
    };

    // What the load works out itself (tst_hostile reads every plain field
    // back after saving it): the responsible, the look-ups, the commands on offer.
    const QJsonObject client = run.dump(0);
    const QString clientKey = stored(u"Af_Responsable"_s, u"0000000008"_s);
    QCOMPARE(wrong(client, {{u"txtClaveCliente"_s, clientKey}, {u"opCliente.value"_s, u"true"_s},
                            {u"frmCliente.visible"_s, u"true"_s}, {u"frmEmpleado.visible"_s, u"false"_s},
                            {u"txt_Ta_Descripcion"_s, u"Mobiliario y equipo de oficina"_s},
                            {u"txtDescripcionCliente"_s,
                             db->value(u"SELECT Cl_Descripcion FROM Cliente WHERE Cl_Cve_Cliente = '"_s + clientKey + u"'"_s)},
                            {u"toolbar.offered"_s, u"Nuevo,Modificar,Informacion,Eliminar,Salir,B1,B2"_s},
                            {u"toolbar.b1caption"_s, u"Carta responsiva"_s}, {u"toolbar.b2caption"_s, u"Imprimir etiquetas"_s},
                            {u"toolbar.clave"_s, u"0000000008"_s}}),
             QStringList());
    QCOMPARE(enabledFields(client), QStringList());
    // The box holds the ratio as its percentage shows it, to the hundredth of a percent.
    QVERIFY(qAbs(shown(client, u"txtDepreciacionFiscalFactor.valor"_s).toDouble()
                 - stored(u"Af_Depreciacion_Acumulada_Fiscal"_s, u"0000000008"_s).toDouble()
                       / stored(u"Af_Costo_Original"_s, u"0000000008"_s).toDouble())
            <= 0.00005);

    // An unknown key leaves everything the change emptied.
    const QJsonObject unknown = run.dump(1);
    QCOMPARE(wrong(unknown, {{u"toolbar.offered"_s, Idle}, {u"toolbar.clave"_s, {}}, {u"txt_Af_Descripcion"_s, {}},
                             {u"txtNSerie"_s, {}}, {u"txtClaveCliente"_s, {}}, {u"txtDescripcionCliente"_s, {}}}),
             QStringList());
    QCOMPARE(rows(unknown, u"ssDetalle"_s) + enabledFields(unknown), QStringList());

    // Both books, cancelled postings left out, each numbered from 1.
    const QJsonObject vehicle = run.dump(2);
    for (const auto &[list, book] : {std::pair{u"lvActivoFijoContable"_s, u"CO"_s}, std::pair{u"lvActivoFijoFiscal"_s, u"FI"_s}}) {
        const suite::RecordsetPtr postings = db->connection().Execute(
            u"SELECT Ad_Fecha, Ad_Centro_Costo FROM Activo_Fijo_Depreciacion WHERE Af_Cve_Activo_Fijo = '0000000001' "
            "AND Ad_Tipo = '"_s + book + u"' AND Es_Cve_Estado <> 'CA' ORDER BY Ad_Numero"_s);
        QStringList expected, listed;
        for (const auto &row : postings->rows())
            expected << u"%1|%2|%3"_s.arg(expected.size() + 1).arg(row.at(0).toDate().toString(u"dd/MM/yyyy"_s), row.at(1).toString());
        for (const QString &item : rows(vehicle, list))
            listed << item.section(u'|', 0, 2);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(listed, expected);
        for (const QString &item : rows(vehicle, list)) {
            static const QRegularExpression amount(u"^-?\\d{1,3}(,\\d{3})*\\.\\d\\d$"_s);
            QVERIFY2(amount.match(item.section(u'|', 3)).hasMatch(), qPrintable(item));
        }
    }
    QCOMPARE(rows(run.dump(4), u"lvActivoFijoContable"_s), QStringList{u"1|31/03/2021|000120|98,765,432,101,234.23"_s});
    QVERIFY(db->value(u"SELECT COUNT(*) FROM Activo_Fijo_Depreciacion WHERE Af_Cve_Activo_Fijo = '0000000001' "
                      "AND Es_Cve_Estado = 'CA'"_s).toInt() > 0);
    QCOMPARE(wrong(vehicle, {{u"txtClaveEmpleado"_s, stored(u"Af_Responsable"_s, u"0000000001"_s)},
                             {u"frmEmpleado.visible"_s, u"true"_s}, {u"txtClaveCliente"_s, {}}}),
             QStringList());
    QVERIFY(!shown(vehicle, u"txtDescripcionEmpleado"_s).isEmpty());

    // No cost: no ratio; no last run; an empty kind: the employee, with no key.
    const QJsonObject quoted = run.dump(3);
    QCOMPARE(wrong(quoted, {{u"txt_Af_Descripcion"_s, u"Tienda O'Brien"_s}, {u"toolbar.clave"_s, u"O'1"_s},
                            {u"txtDepreciacionContableFactor.valor"_s, u"0"_s}, {u"txtFechaUltimaDepreciacion"_s, {}},
                            {u"opEmpleado.value"_s, u"true"_s}, {u"txtClaveCliente"_s, {}}, {u"txtClaveEmpleado"_s, {}}}),
             QStringList());
    // Each centre described as the catalogue has it now, the first row current.
    QStringList grid = rows(quoted, u"ssDetalle"_s);
    grid.sort();
    QCOMPARE(grid, (QStringList{u"000120|Ventas|20"_s, u"000190||40"_s, u"ZZZ||40"_s}));
    QCOMPARE(dumpedControl(quoted, u"ssDetalle"_s).value(u"current"_s).toObject().value(u"row"_s).toInt(), 0);

    const QJsonObject thousand = run.dump(4);
    QCOMPARE(wrong(thousand, {{u"txtDepreciacionContableFactor.valor"_s, u"0.25"_s},
                              {u"txtDepreciacionContableFactor"_s, u"25.00%"_s},
                              {u"txtFechaUltimaDepreciacion"_s, u"05/03/2021"_s}, {u"opCliente.value"_s, u"true"_s},
                              {u"txtClaveCliente"_s, u"000002"_s}}),
             QStringList());
    QCOMPARE(rows(thousand, u"ssDetalle"_s), QStringList());
}

void tst_Browsing::toolbarModesAndGrid()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString next = u"%1"_s.arg(db->value(u"SELECT MAX(Af_Cve_Activo_Fijo) FROM Activo_Fijo"_s).toInt() + 1, 10,
                                    10, QLatin1Char('0'));
    const HostRun run = runHost(db->url(), u"toolbar Nuevo\ndump\ntoolbar Cancelar\ndump\n"
                                           "sql UPDATE Variable SET Va_Valor = 'NO' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'\n"
                                           "toolbar Nuevo\ndump txt_Af_Cve_Activo_Fijo txtNSerie\ntoolbar Cancelar\n"_s
                                               + loadLines(u"0000000008"_s) + u"toolbar Modificar\ndump\ntoolbar Cancelar\n"_s
                                               + loadLines(u"0000000002"_s)
                                               + u"toolbar Modificar\ndump ssDetalle frmEmpleado frmCliente\ntoolbar Cancelar\n"_s
                                               + loadLines(u"0000000004"_s) + u"toolbar Informacion\ntoolbar Salir\ndump\n"_s);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.of(u"dump"_s).size(), 5);
    const QString keyBox = u"txt_Af_Cve_Activo_Fijo"_s;

    // New with the automatic key: the next key at once, as the serial too;
    // the key box follows the operator's option (not set: not editable).
    const QJsonObject fresh = run.dump(0);
    QCOMPARE(wrong(fresh, {{keyBox, next}, {u"txtNSerie"_s, next}, {keyBox + u".enabled"_s, u"false"_s},
                           {keyBox + u".nuevo"_s, u"true"_s}, {u"opEmpleado.value"_s, u"true"_s},
                           {u"frmEmpleado.enabled"_s, u"true"_s}, {u"toolbar.offered"_s, Editing}}),
             QStringList());
    QVERIFY(enabledFields(fresh).contains(u"ssDetalle"_s) && enabledFields(fresh).contains(u"txtUser4"_s));
    // Cancel: back to key entry.
    const QJsonObject idle = run.dump(1);
    QCOMPARE(wrong(idle, {{keyBox, {}}, {u"txtNSerie"_s, {}}, {keyBox + u".enabled"_s, u"true"_s},
                          {keyBox + u".nuevo"_s, u"false"_s}, {u"focus"_s, keyBox}, {u"toolbar.estadoinicial"_s, u"true"_s}}),
             QStringList());
    QCOMPARE(enabledFields(idle), QStringList());
    // Without the automatic key the user types it.
    QCOMPARE(wrong(run.dump(2), {{keyBox, {}}, {u"txtNSerie"_s, {}}, {keyBox + u".enabled"_s, u"true"_s}, {u"focus"_s, keyBox}}),
             QStringList());
    // Editing a client's asset spread over ten centres: the grid takes input,
    // the employee frame is out of the way, the key stays.
    const QJsonObject client = run.dump(3);
    QCOMPARE(wrong(client, {{keyBox + u".enabled"_s, u"false"_s}, {u"focus"_s, u"txt_Ta_Cve_Tipo_ActivoFijo"_s},
                            {u"ssDetalle.enabled"_s, u"true"_s}, {u"frmCliente.visible"_s, u"true"_s},
                            {u"frmEmpleado.visible"_s, u"false"_s}, {u"frmEmpleado.enabled"_s, u"false"_s},
                            {u"toolbar.offered"_s, Editing}}),
             QStringList());
    QCOMPARE(rows(client, u"ssDetalle"_s).size(), 10);
    // An employee's asset charged to one centre: the grid stays closed.
    QCOMPARE(wrong(run.dump(4), {{u"ssDetalle.enabled"_s, u"false"_s}, {u"frmCliente.visible"_s, u"false"_s},
                                 {u"frmEmpleado.visible"_s, u"true"_s}, {u"frmEmpleado.enabled"_s, u"true"_s}}),
             QStringList());

    // Record information reports the asset's audit values; exit ends the run.
    const QList<QJsonObject> information = run.of(u"informacion"_s);
    QCOMPARE(information.size(), 1);
    QCOMPARE(information[0].value(u"args"_s).toVariant().toStringList(),
             (QStringList{u"ACTIVO_FIJO"_s, u"Af_cve_Activo_Fijo"_s, u"0000000004"_s, {}, {}, {}, {}}));
    const QJsonObject record = information[0].value(u"registro"_s).toObject();
    const auto audit = db->connection().Execute(
        u"SELECT Oper_Alta, Fecha_Ult_Modif, Es_Cve_Estado FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000004'"_s);
    QCOMPARE(QStringList({record.value(u"Oper_Alta"_s).toString(), record.value(u"Fecha_Ult_Modif"_s).toString().left(16),
                          record.value(u"Es_Cve_Estado"_s).toString()}),
             QStringList({audit->fieldValue(0).toString(), audit->fieldValue(1).toString().replace(u'T', u' ').left(16),
                          audit->fieldValue(2).toString()}));
    QCOMPARE(run.events.constLast().value(u"event"_s).toString(), u"salir"_s);

    // The grid. A key is padded and described as its cell is left, and the
    // share reset; the share takes digits, the point and the minus sign only;
    // Enter moves on. An unknown centre empties its key and keeps the user
    // there, silently. F2 chooses a centre, described on leaving. Retyping a
    // key resets its share; passing through a key cell keeps it. A single
    // cost centre empties and closes the grid; emptying it reopens it, empty.
    const HostRun grid = runHost(db->url(), u"toolbar Nuevo\ntab 1\ncell 0 Clave 110\ncell 0 Porcentaje \"5a0 .5x\"\n"
                                            "key - Return\ndump ssDetalle\n"                           // lines 1-6
                                            "cell 1 Clave 999\ncell 1 Porcentaje 10\ndump ssDetalle\n" // 7-9
                                            "choose 000120\nkey ssDetalle F2\ncell 1 Porcentaje 25\ndump ssDetalle\n"
                                            "cell 1 Clave 120\ncell 0 Clave \"\"\ncell 0 Porcentaje \"\"\ndump ssDetalle\n"
                                            "type txtCentroCosto 1\ndump ssDetalle\nkey txtCentroCosto Backspace\ndump ssDetalle\n"_s);
    QCOMPARE(grid.of(u"dump"_s).size(), 6);
    const QString administration = u"000110|Administración y finanzas|50.5"_s;
    QCOMPARE(rows(grid.dump(0), u"ssDetalle"_s).value(0), administration);
    QCOMPARE(dumpedControl(grid.dump(0), u"ssDetalle"_s).value(u"current"_s).toObject().value(u"row"_s).toInt(), 1);
    QCOMPARE(grid.errors().size(), 1);
    QVERIFY(grid.errors().value(0).startsWith(u"line 8:"_s));
    QVERIFY(grid.of(u"mensaje"_s).isEmpty());
    QCOMPARE(rows(grid.dump(1), u"ssDetalle"_s).value(1).section(u'|', 0, 1), u"|"_s);
    QCOMPARE(dumpedControl(grid.dump(1), u"ssDetalle"_s).value(u"current"_s).toObject().value(u"column"_s).toString(), u"Clave"_s);
    QCOMPARE(grid.of(u"consulta"_s).size(), 1);
    QCOMPARE(grid.of(u"consulta"_s).value(0).value(u"id"_s).toString(), u"CENTRO_COSTO"_s);
    QCOMPARE(rows(grid.dump(2), u"ssDetalle"_s).value(1), u"000120|Ventas|25"_s);
    QCOMPARE(rows(grid.dump(3), u"ssDetalle"_s), (QStringList{administration, u"000120|Ventas|0"_s}));
    QCOMPARE(wrong(grid.dump(4), {{u"ssDetalle.enabled"_s, u"false"_s}, {u"ssDetalle.rows"_s, {}}}), QStringList());
    QCOMPARE(wrong(grid.dump(5), {{u"ssDetalle.enabled"_s, u"true"_s}, {u"ssDetalle.rows"_s, {}}}), QStringList());

    // A load whose statement fails says so under the load's id, and shows no asset.
    const HostRun failed = runHost(db->url(), u"fault 1\n"_s + loadLines(u"0000000008"_s) + u"dump Controles\n"_s);
    QCOMPARE(failed.messageIds(), QStringList{u"ERR-ID:7500049"_s});
    QVERIFY(failed.of(u"mensaje"_s).value(0).value(u"prompt"_s).toString().startsWith(u"Falla simulada en la sentencia 1"_s));
    QCOMPARE(wrong(failed.dump(), {{u"toolbar.clave"_s, {}}, {u"toolbar.offered"_s, Idle}}), QStringList());
    // A description the database could not read while a record is typed is left empty, and the status line
    // says why; the next lookup that runs fills it.
    const HostRun unread = runHost(db->url(), u"toolbar Nuevo\nfault 1\nset txt_Ta_Cve_Tipo_ActivoFijo text 001\n"
                                              "dump txt_Ta_Descripcion\nfault off\nset txt_Ta_Cve_Tipo_ActivoFijo text 002\n"
                                              "set txt_Ta_Cve_Tipo_ActivoFijo text 001\ndump txt_Ta_Descripcion\n"_s);
    QVERIFY2(unread.errors().isEmpty() && unread.messageIds().isEmpty(), qPrintable(unread.errors().join(u'\n')));
    const QList<QJsonObject> said = unread.of(u"estado"_s);
    QCOMPARE(said.size(), 1);
    const QString why = said[0].value(u"text"_s).toString();
    QVERIFY2(why.startsWith(u"No se pudo leer la descripción de Tipo activo fijo: Falla simulada en la sentencia 1"_s),
             qPrintable(why));
    QCOMPARE(shown(unread.dump(0), u"txt_Ta_Descripcion"_s), QString());
    QCOMPARE(shown(unread.dump(1), u"txt_Ta_Descripcion"_s), db->value(u"SELECT Ta_Descripcion FROM Tipo_Activo_Fijo "
                                                                        "WHERE Ta_Cve_Tipo_Activo_Fijo = '001'"_s));

    // The operator may type the automatic key when the option allows it.
    db->execute(u"UPDATE Variable SET Va_Valor = 'SI' WHERE Va_Cve_Variable = 'CAT_AUTOCLAVE'"_s);
    db->execute(u"INSERT INTO Opcion_Usuario (Us_Cve_Usuario, Op_Componente, Op_Cve_Opcion, Op_Valor) "
                "VALUES ('PRUEBA', 'XB733', 'CAT001', 'SI')"_s);
    const QJsonObject editable = runHost(db->url(), u"toolbar Nuevo\ndump txt_Af_Cve_Activo_Fijo\n"_s).dump();
    QVERIFY(shown(editable, keyBox + u".enabled"_s) == u"true"_s && !shown(editable, keyBox).isEmpty());
}

// The commands that write a record (edit, deactivate, reactivate, the
// letter, the labels, the equipment) are offered only for a stored asset
// that was read whole and is not being edited: a load that fails at any of
// its statements (the asset, its descriptions, additional fields, books,
// distribution) says why under the load's id and offers none of them until
// a load reads it whole; a stored asset keyed while a new one is typed
// offers none either.
void tst_Browsing::writingOnlyAfterAWholeLoad()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString key = u"0000000001"_s;
    db->execute(u"INSERT INTO Campo_Adicional_Valor (Ca_Tabla, Ca_Clave, Ca_Campo, Ca_Valor) "
                "VALUES ('Activo_Fijo', '0000000001', 'NOTA', 'P-1')"_s);
    const QStringList writing = {u"Modificar"_s, u"Eliminar"_s, u"Reactivar"_s, u"B1"_s, u"B2"_s, u"B3"_s};
    constexpr int Attempts = 45;
    QString script;
    for (int n = 1; n <= Attempts; ++n)
        script += u"fault %1\n"_s.arg(n) + loadLines(key) + u"dump Controles\nfault off\n"_s;
    script += u"toolbar Nuevo\n"_s + loadLines(key) + u"dump Controles\n"_s;
    const HostRun run = runHost(db->url(), script);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));

    int struck = 0, whole = 0;
    QStringList faults, wrong;
    int attempt = 0;
    bool hit = false;
    QStringList ids, prompts;
    for (const QJsonObject &e : run.events) {
        const QString event = e.value(u"event"_s).toString();
        if (event == u"fault"_s) {
            hit = true;
            faults << e.value(u"sql"_s).toString();
        } else if (event == u"mensaje"_s) {
            ids << e.value(u"id"_s).toString();
            prompts << e.value(u"prompt"_s).toString();
        } else if (event == u"dump"_s && ++attempt <= Attempts) {
            const QStringList offered = e.value(u"toolbar"_s).toObject().value(u"offered"_s).toVariant().toStringList();
            const QString at = u"statement %1 (%2): "_s.arg(attempt).arg(hit ? faults.constLast().left(60) : u"none"_s);
            if (hit && (ids != QStringList{u"ERR-ID:7500049"_s} || !prompts.value(0).startsWith(u"Falla simulada"_s)
                        || std::any_of(writing.begin(), writing.end(), [&](const QString &c) { return offered.contains(c); })))
                wrong << at + ids.join(u',') + u' ' + offered.join(u',');
            if (!hit && (!ids.isEmpty() || !offered.contains(u"Modificar"_s) || !offered.contains(u"B3"_s)))
                wrong << at + ids.join(u',') + u' ' + offered.join(u',');
            // Every statement of the load failed in turn: the attempts that struck come first.
            if (hit && whole > 0)
                wrong << at + u"struck after a whole load"_s;
            struck += hit;
            whole += !hit;
            hit = false;
            ids.clear();
            prompts.clear();
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    // Every kind of read failed once, and the attempts went past the load's end.
    for (const QString &read : {u"FROM Activo_Fijo "_s, u"FROM Campo_Adicional_Valor"_s, u"FROM Activo_Fijo_Depreciacion"_s,
                                u"FROM Activo_Fijo_Centro_Costo"_s, u"FROM Tipo_Activo_Fijo"_s})
        QVERIFY2(!faults.filter(read).isEmpty(), qPrintable(read));
    QVERIFY2(struck >= 5 && whole > 0, qPrintable(u"%1 struck, %2 whole"_s.arg(struck).arg(whole)));

    QCOMPARE(run.dump(Attempts).value(u"toolbar"_s).toObject().value(u"offered"_s).toVariant().toStringList(),
             (QStringList{u"Aceptar"_s, u"Cancelar"_s, u"Salir"_s}));
}

QTEST_MAIN(tst_Browsing)
#include "tst_browsing.moc"
