// An asset's life after it is stored, as a user goes through it with the
// real host on both backends: "Generar equipo" makes the missing equipment
// and vehicle records once, deactivation and reactivation carry the asset's
// state over to them, and whatever fails leaves the database as it was.
#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/Schema.h"
#include "suite/data/SqlText.h"
#include "tests/support/HostScript.h"
#include "tests/support/TableSnapshot.h"
#include "tests/support/TestDatabase.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Lifecycle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generationMakesWhatIsMissing_data() { TestDatabase::addBackendRows(); }
    void generationMakesWhatIsMissing();
    void generationRefusesAnUnsetDefault_data();
    void generationRefusesAnUnsetDefault();
    void deactivationCarriesTheStateOver_data() { TestDatabase::addBackendRows(); }
    void deactivationCarriesTheStateOver();
    void vetoedRegistrationChangesNothing_data() { TestDatabase::addBackendRows(); }
    void vetoedRegistrationChangesNothing();
    void faultAtEveryStatementChangesNothing_data();
    void faultAtEveryStatementChangesNothing();
};

namespace {

const QString Operator = u"D'Arcy"_s; // a quote in every statement that writes who did it
const QStringList AsOperator = {u"--usuario"_s, Operator};
const QStringList StateColumns = {u"Es_Cve_Estado"_s, u"Oper_Ult_Modif"_s, u"Fecha_Ult_Modif"_s, u"Oper_Baja"_s,
                                  u"Fecha_Baja"_s};

QString loadLines(const QString &key)
{
    return u"set txt_Af_Cve_Activo_Fijo text \"%1\"\nkey txt_Af_Cve_Activo_Fijo Return\n"_s.arg(key);
}

QString text(const QJsonObject &dump, const QString &control)
{
    return dumpedControl(dump, control).value(u"text"_s).toString();
}

QStringList offered(const QJsonObject &dump)
{
    return dump.value(u"toolbar"_s).toObject().value(u"offered"_s).toVariant().toStringList();
}

// Every value the screen shows, control by control, as a dump gives it.
QJsonObject shownValues(const QJsonObject &dump)
{
    QJsonObject out;
    const QJsonObject controls = dump.value(u"controls"_s).toObject();
    for (auto it = controls.begin(); it != controls.end(); ++it) {
        const QJsonObject c = it.value().toObject();
        for (const QString &member : {u"text"_s, u"valor"_s, u"date"_s, u"value"_s, u"rows"_s, u"items"_s}) {
            if (c.contains(member))
                out.insert(it.key() + u'.' + member, c.value(member));
        }
    }
    return out;
}

QString clave(const QJsonObject &dump)
{
    return dump.value(u"toolbar"_s).toObject().value(u"clave"_s).toString();
}

// Each message as "id|style|title|prompt".
QStringList messages(const HostRun &run)
{
    QStringList out;
    for (const QJsonObject &m : run.of(u"mensaje"_s)) {
        out << u"%1|%2|%3|%4"_s.arg(m.value(u"id"_s).toString()).arg(m.value(u"style"_s).toInt())
                   .arg(m.value(u"title"_s).toString(), m.value(u"prompt"_s).toString());
    }
    return out;
}

QDateTime serverNow(HostDatabase &db)
{
    const QString now = db.value(db.connection().dialect().currentDateTimeSql());
    return QDateTime::fromString(now.left(19).replace(u' ', u'T'), Qt::ISODate);
}

QStringList columnsOf(const QString &table, const QStringList &leaving = {})
{
    QStringList names;
    for (const suite::ColumnDef &c : suite::Schema::table(table)->columns) {
        if (!leaving.contains(c.name))
            names << c.name;
    }
    return names;
}

// The stored row as "Column=value", every column of the schema in its order.
QStringList storedRow(HostDatabase &db, const QString &table, const QString &keyColumn, const QString &key)
{
    const QStringList names = columnsOf(table);
    const suite::RecordsetPtr row = db.connection().Execute(u"SELECT "_s + names.join(u", "_s) + u" FROM "_s + table
                                                            + u" WHERE "_s + keyColumn + u" = '"_s
                                                            + suite::sqlEscape(key) + u"'"_s);
    QStringList out;
    for (int i = 0; !row->Eof() && i < names.size(); ++i)
        out << names[i] + u'=' + TableSnapshot::canonical(row->fieldValue(i));
    return out;
}

// What that row must hold: the given columns, NULL in every other one.
QStringList expectedRow(const QString &table, const QVariantMap &values)
{
    QStringList out;
    for (const QString &name : columnsOf(table))
        out << name + u'=' + TableSnapshot::canonical(values.value(name));
    return out;
}

// A table's rows with some columns left out, sorted: what must not change.
QStringList rowsWithout(HostDatabase &db, const QString &table, const QStringList &leaving)
{
    const QStringList names = columnsOf(table, leaving);
    QStringList out;
    const suite::RecordsetPtr rows = db.connection().Execute(u"SELECT "_s + names.join(u", "_s) + u" FROM "_s + table);
    for (const auto &row : rows->rows()) {
        QStringList values;
        for (const QVariant &v : row)
            values << TableSnapshot::canonical(v);
        out << values.join(u", "_s);
    }
    out.sort();
    return out;
}

// The state columns of an asset's row, or of its equipment's or vehicle's.
QStringList stateOf(HostDatabase &db, const QString &table, const QString &asset)
{
    const QString keyColumn = table == u"Equipo"_s ? u"Eq_Activo_Fijo"_s : u"Af_Cve_Activo_Fijo"_s;
    const suite::RecordsetPtr row = db.connection().Execute(u"SELECT %1 FROM %2 WHERE %3 = '%4'"_s.arg(
        StateColumns.join(u", "_s), table, keyColumn, suite::sqlEscape(asset)));
    QStringList out;
    for (int i = 0; !row->Eof() && i < row->fieldCount(); ++i)
        out << TableSnapshot::canonical(row->fieldValue(i));
    return out;
}

QStringList tablesChanged(const TableSnapshot &before, const TableSnapshot &after)
{
    QStringList out;
    for (const suite::TableDef &t : suite::Schema::tables()) {
        if (before.rows(t.name) != after.rows(t.name))
            out << t.name;
    }
    return out;
}

QString nextKey(HostDatabase &db, const QString &table, const QString &column, int step)
{
    const int highest = db.value(u"SELECT MAX(%1) FROM %2"_s.arg(column, table)).toInt();
    return u"%1"_s.arg(highest + step, 10, 10, QLatin1Char('0'));
}

// A type 005 asset (equipment and vehicle) whose key, serial and description
// hold quotes and whose model is longer than a vehicle's.
void addQuotedAsset(HostDatabase &db, const QString &key)
{
    db.execute(u"INSERT INTO Activo_Fijo (Af_Cve_Activo_Fijo, Af_Descripcion, Ta_Cve_Tipo_Activo_Fijo, "
               "Em_Cve_Empresa, Af_Costo_Original, Af_Numero_Serie, Af_Numero_Economico, Af_Modelo, "
               "Af_UserDef_1, Af_UserDef_3, Af_UserDef_4, Af_UserDef_5, Af_UserDef_6, Es_Cve_Estado) VALUES ('"_s
               + suite::sqlEscape(key) + u"', 'Grúa de O''Higgins', '005', '0001', 1000, 'S''N-77', 'ECO-9', "
               "'Articulada 12t', 'Patio ''B''', 7.5, 2, '2021-02-03', '2025-06-30', 'AC')"_s);
}

} // namespace

void tst_Lifecycle::generationMakesWhatIsMissing()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString quoted = u"O'2"_s;
    addQuotedAsset(*db, quoted);
    // 2 makes equipment, 1 a vehicle, 15 both; 21 had its equipment already.
    const QStringList assets = {u"0000000002"_s, u"0000000001"_s, u"0000000015"_s, u"0000000021"_s, quoted};
    QString script;
    for (const QString &asset : assets)
        script += loadLines(asset) + u"dump\ntoolbar B3\ntoolbar B3\n"_s;

    const QStringList equipment = {nextKey(*db, u"Equipo"_s, u"Eq_Cve_Equipo"_s, 1),
                                   nextKey(*db, u"Equipo"_s, u"Eq_Cve_Equipo"_s, 2),
                                   nextKey(*db, u"Equipo"_s, u"Eq_Cve_Equipo"_s, 3)};
    QStringList vehicles;
    for (int step = 1; step <= 4; ++step)
        vehicles << nextKey(*db, u"Vehiculo"_s, u"Vh_Cve_Vehiculo"_s, step);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QDateTime started = serverNow(*db).addSecs(-1);
    const HostRun run = runHost(db->url(), script, AsOperator);
    const QDateTime ended = serverNow(*db).addSecs(1);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n') + run.errorOutput));

    // Each press reports what it made (with the button's caption) and what
    // was there; the second press of each asset makes nothing.
    const QString made = u"|Generar equipo|"_s;
    const QString exists = u"|48|Talvexor|"_s;
    const QString both = u"Se creó el equipo con clave: %1\r\nse creó el vehículo con clave: %2"_s;
    QCOMPARE(messages(run), (QStringList{
        u"ERR-ID:7500036|64"_s + made + u"Se creó el equipo con clave: "_s + equipment[0],
        u"ERR-ID:7500039"_s + exists + u"Ya existe un equipo con esta clave de activo fijo"_s,
        u"ERR-ID:7500037|64"_s + made + u"Se creo el vehículo con clave: "_s + vehicles[0],
        u"ERR-ID:7500040"_s + exists + u"Ya existe un vehículo con está clave de activo fijo"_s,
        u"ERR-ID:7500038|48"_s + made + both.arg(equipment[1], vehicles[1]),
        u"ERR-ID:7500041"_s + exists + u"Ya existe un equipo  un vehículo con esta clave de activo fijo"_s,
        u"ERR-ID:7500037|64"_s + made + u"Se creo el vehículo con clave: "_s + vehicles[2],
        u"ERR-ID:7500039"_s + exists + u"Ya existe un equipo con esta clave de activo fijo"_s,
        u"ERR-ID:7500041"_s + exists + u"Ya existe un equipo  un vehículo con esta clave de activo fijo"_s,
        u"ERR-ID:7500038|48"_s + made + both.arg(equipment[2], vehicles[3]),
        u"ERR-ID:7500041"_s + exists + u"Ya existe un equipo  un vehículo con esta clave de activo fijo"_s,
    }));

    // Every written column: the defaults of the demo's configuration, what
    // the screen showed of the asset when the button was pressed, who and when.
    auto written = [&](const QJsonObject &shown, const QList<std::pair<QString, QString>> &fromScreen,
                       QVariantMap row, const QVariant &stamp) {
        for (const auto &[column, control] : fromScreen)
            row.insert(column, text(shown, control));
        row.insert({{u"Es_Cve_Estado"_s, u"AC"_s}, {u"Oper_Alta"_s, Operator}, {u"Fecha_Alta"_s, stamp},
                    {u"Oper_Ult_Modif"_s, Operator}, {u"Fecha_Ult_Modif"_s, stamp}});
        return row;
    };
    auto equipmentOf = [&](const QJsonObject &shown, const QString &key, const QVariant &stamp) {
        auto value = [&](const QString &control, const QString &member) { return dumpedControl(shown, control).value(member); };
        return written(shown, {{u"Eq_Activo_Fijo"_s, u"txt_Af_Cve_Activo_Fijo"_s}, {u"Eq_Serie"_s, u"txtNSerie"_s},
                               {u"Eq_Numero_Economico"_s, u"txtNEconomico"_s}, {u"Eq_Modelo"_s, u"txtModelo"_s},
                               {u"Eq_UserDef_1"_s, u"txtUser1"_s}, {u"Eq_UserDef_2"_s, u"txtUser2"_s}},
                       {{u"Eq_Cve_Equipo"_s, key}, {u"Eq_Cliente"_s, u""_s}, {u"Te_Cve_Tipo_Equipo"_s, u"0001"_s},
                        {u"Ue_Cve_Ubicacion_Equipo"_s, u"0001"_s}, {u"Mr_Cve_Marca"_s, u"GENERICA"_s},
                        {u"Eq_Centro_Costo"_s, u""_s},
                        {u"Eq_UserDef_3"_s, value(u"txtUser3"_s, u"valor"_s).toDouble()},
                        {u"Eq_UserDef_4"_s, value(u"txtUser4"_s, u"valor"_s).toDouble()},
                        {u"Eq_UserDef_5"_s, QDate::fromString(value(u"dpUser5"_s, u"date"_s).toString(), Qt::ISODate)},
                        {u"Eq_UserDef_6"_s, QDate::fromString(value(u"dpUser6"_s, u"date"_s).toString(), Qt::ISODate)}},
                       stamp);
    };
    auto vehicleOf = [&](const QJsonObject &shown, const QString &key, const QVariant &stamp) {
        QVariantMap row{{u"Vh_Cve_Vehiculo"_s, key}, {u"Tv_Cve_Tipo_Vehiculo"_s, u"01"_s}, {u"Vh_Marca"_s, u"GENERICA"_s},
                        {u"Vh_Modelo"_s, text(shown, u"txtModelo"_s).left(8)}};
        for (const QString &zero : {u"Vh_Ejes"_s, u"Vh_Capacidad_M3"_s, u"Vh_Capacidad_Peso"_s, u"Vh_Porcentaje_Carga"_s})
            row.insert(zero, 0);
        for (const QString &empty : {u"Vh_Sucursal"_s, u"Vh_Tabla"_s, u"Vh_Documento"_s, u"Vh_Placas"_s, u"Vh_Motor"_s,
                                     u"Vh_Poliza_Seguro"_s, u"Vh_Compania_Seguro"_s, u"Vh_Inicio_Seguro"_s,
                                     u"Vh_Fin_Seguro"_s, u"Vh_Odometro"_s})
            row.insert(empty, u""_s);
        return written(shown, {{u"Vh_Descripcion"_s, u"txt_Af_Descripcion"_s}, {u"Vh_Num_Economico"_s, u"txtNEconomico"_s},
                               {u"Vh_Serie"_s, u"txtNSerie"_s}, {u"Af_Cve_Activo_Fijo"_s, u"txt_Af_Cve_Activo_Fijo"_s}},
                       row, stamp);
    };
    const QList<std::tuple<QString, QString, int>> madeRecords = {
        {u"Equipo"_s, equipment[0], 0}, {u"Vehiculo"_s, vehicles[0], 1}, {u"Equipo"_s, equipment[1], 2},
        {u"Vehiculo"_s, vehicles[1], 2}, {u"Vehiculo"_s, vehicles[2], 3}, {u"Equipo"_s, equipment[2], 4},
        {u"Vehiculo"_s, vehicles[3], 4},
    };
    for (const auto &[table, key, shownAt] : madeRecords) {
        const QJsonObject shown = run.dump(shownAt);
        QCOMPARE(clave(shown), assets[shownAt]);
        const bool isEquipment = table == u"Equipo"_s;
        const QString keyColumn = isEquipment ? u"Eq_Cve_Equipo"_s : u"Vh_Cve_Vehiculo"_s;
        // Made at the server's time of the press.
        const QVariant stamp = db->connection().Execute(u"SELECT Fecha_Alta FROM %1 WHERE %2 = '%3'"_s.arg(
                                                            table, keyColumn, key))->fieldValue(0);
        QVERIFY2(stamp.toDateTime() >= started && stamp.toDateTime() <= ended, qPrintable(key + u' ' + stamp.toString()));
        QCOMPARE(storedRow(*db, table, keyColumn, key),
                 expectedRow(table, isEquipment ? equipmentOf(shown, key, stamp) : vehicleOf(shown, key, stamp)));
    }
    // A model longer than a vehicle's is cut there, and kept whole as equipment's.
    QCOMPARE(text(run.dump(4), u"txtModelo"_s), u"Articulada 12t"_s);
    QCOMPARE(db->value(u"SELECT Vh_Modelo FROM Vehiculo WHERE Af_Cve_Activo_Fijo = 'O''2'"_s), u"Articula"_s);

    // Nothing else: the records made are new rows, the others as they were.
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QCOMPARE(tablesChanged(before, after), (QStringList{u"Equipo"_s, u"Vehiculo"_s, u"Clave_Siguiente"_s}));
    for (const auto &[table, added] : {std::pair{u"Equipo"_s, 3}, std::pair{u"Vehiculo"_s, 4}}) {
        QCOMPARE(after.rows(table).size(), before.rows(table).size() + added);
        for (const QString &row : before.rows(table))
            QVERIFY2(after.rows(table).contains(row), qPrintable(row));
    }
}

void tst_Lifecycle::generationRefusesAnUnsetDefault_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("asset");
    QTest::addColumn<QStringList>("expected");
    const QString equipment = u"ERR-ID:7500034|16|Talvexor|Debe configurar correctamente la variable <%1> "_s;
    const QString vehicle = u"Debe confifurar correctamente la variable <%1> "_s;
    for (const QString &backend : {u"sqlite"_s, u"postgresql"_s}) {
        auto row = [&](const char *name, const QString &variable, const QString &asset, const QStringList &expected) {
            QTest::addRow("%s, %s", qPrintable(backend), name) << backend << variable << asset << expected;
        };
        row("key format", u"FTO_EQUIPO"_s, u"0000000016"_s, {equipment.arg(u"FTO_EQUIPO"_s)});
        row("equipment type", u"CAT_TIPO_EQUIPO_DEFAULT"_s, u"0000000016"_s,
            {equipment.arg(u"CAT_TIPO_EQUIPO_DEFAULT"_s)});
        row("location", u"CAT_UBICACION_EQUIPO_DEFAULT"_s, u"0000000002"_s,
            {equipment.arg(u"CAT_UBICACION_EQUIPO_DEFAULT"_s)});
        // Equipment is checked first; a vehicle-only type says so in its own words.
        row("brand, both", u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"0000000015"_s,
            {equipment.arg(u"CAT_MARCA_EQUIPO_DEFAULT"_s)});
        row("brand, vehicle", u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"0000000001"_s,
            {u"ERR-ID:7500051|48|Talvexor|"_s + vehicle.arg(u"CAT_MARCA_EQUIPO_DEFAULT"_s),
             u"ERR-ID:7500035|16|Talvexor|"_s});
        // The equipment was inserted before the vehicle was refused: it goes too.
        row("vehicle type after equipment", u"CAT_TIPO_VEHICULO_DEFAULT"_s, u"0000000015"_s,
            {u"ERR-ID:7500050|48|Talvexor|"_s + vehicle.arg(u"CAT_TIPO_VEHICULO_DEFAULT"_s),
             u"ERR-ID:7500035|16|Talvexor|"_s});
    }
}

void tst_Lifecycle::generationRefusesAnUnsetDefault()
{
    QFETCH(QString, backend);
    QFETCH(QString, variable);
    QFETCH(QString, asset);
    QFETCH(QStringList, expected);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    db->execute(u"UPDATE Variable SET Va_Valor = '' WHERE Va_Cve_Variable = '%1'"_s.arg(variable));
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const HostRun run = runHost(db->url(), loadLines(asset) + u"toolbar B3\ndump Controles\n"_s);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    QCOMPARE(messages(run), expected);
    QCOMPARE(clave(run.dump()), asset);
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));
}

void tst_Lifecycle::deactivationCarriesTheStateOver()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    // 19 has equipment and a vehicle, 3 neither, 13 was deactivated with its
    // equipment; the quoted key has both.
    const QString quoted = u"O'3"_s;
    addQuotedAsset(*db, quoted);
    db->execute(u"INSERT INTO Equipo (Eq_Cve_Equipo, Eq_Activo_Fijo) VALUES ('E-O3', 'O''3')"_s);
    db->execute(u"INSERT INTO Vehiculo (Vh_Cve_Vehiculo, Af_Cve_Activo_Fijo) VALUES ('V-O3', 'O''3')"_s);
    const QString script = loadLines(u"0000000019"_s) + u"toolbar Eliminar\ndump\n"_s
                           + loadLines(u"0000000019"_s) + u"dump Controles\ntoolbar Reactivar\ndump\n"_s
                           + loadLines(u"0000000019"_s) + u"dump Controles\n"_s
                           + loadLines(u"0000000003"_s) + u"toolbar Eliminar\n"_s
                           + loadLines(quoted) + u"toolbar Eliminar\n"_s
                           + loadLines(u"0000000013"_s) + u"dump Controles\ntoolbar Reactivar\n"_s;
    QMap<QString, QStringList> kept;
    for (const QString &table : {u"Activo_Fijo"_s, u"Equipo"_s, u"Vehiculo"_s})
        kept.insert(table, rowsWithout(*db, table, StateColumns));
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QDateTime started = serverNow(*db).addSecs(-1);
    const HostRun run = runHost(db->url(), script, AsOperator);
    const QDateTime ended = serverNow(*db).addSecs(1);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n') + run.errorOutput));
    QCOMPARE(messages(run), QStringList());

    // Each committed command leaves the screen idle, with the key box to type in.
    for (int idle : {0, 2}) {
        const QJsonObject dump = run.dump(idle);
        QCOMPARE(text(dump, u"txt_Af_Cve_Activo_Fijo"_s), QString());
        QCOMPARE(dump.value(u"focus"_s).toString(), u"txt_Af_Cve_Activo_Fijo"_s);
        QCOMPARE(offered(dump), (QStringList{u"Nuevo"_s, u"Salir"_s}));
    }
    // A deactivated asset offers only to be reactivated, and generates nothing.
    for (int deactivated : {1, 4})
        QCOMPARE(offered(run.dump(deactivated)), (QStringList{u"Nuevo"_s, u"Informacion"_s, u"Reactivar"_s, u"Salir"_s}));
    QVERIFY(offered(run.dump(3)).contains(u"Eliminar"_s));
    QVERIFY(offered(run.dump(3)).contains(u"B3"_s));

    // In the end: 3 and the quoted asset deactivated with their records, 13's
    // equipment active again with it, each record as its asset, dated within
    // the run; no other column of any row touched.
    const QList<std::tuple<QString, bool, QStringList>> ends = {
        {quoted, true, {u"Equipo"_s, u"Vehiculo"_s}}, {u"0000000003"_s, true, {}},
        {u"0000000013"_s, false, {u"Equipo"_s}}, {u"0000000019"_s, false, {u"Equipo"_s, u"Vehiculo"_s}},
    };
    const QString by = TableSnapshot::canonical(Operator);
    for (const auto &[key, deactivated, records] : ends) {
        const QStringList state = stateOf(*db, u"Activo_Fijo"_s, key);
        const QString when = state.value(2);
        const QDateTime stamp = QDateTime::fromString(when.left(19), u"yyyy-MM-dd HH:mm:ss"_s);
        QVERIFY2(stamp >= started && stamp <= ended, qPrintable(key + u' ' + when));
        QCOMPARE(state, (deactivated ? QStringList{u"'BA'"_s, by, when, by, when}
                                     : QStringList{u"'AC'"_s, by, when, u"''"_s, u"NULL"_s}));
        for (const QString &table : records)
            QCOMPARE(stateOf(*db, table, key), state);
    }
    for (const QString &table : {u"Activo_Fijo"_s, u"Equipo"_s, u"Vehiculo"_s})
        QCOMPARE(rowsWithout(*db, table, StateColumns), kept.value(table));
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QCOMPARE(tablesChanged(before, after),
             (QStringList{u"Activo_Fijo"_s, u"Equipo"_s, u"Vehiculo"_s, u"Bitacora"_s, u"Movimiento"_s}));

    // Registered as movements of the asset, in order, and in the audit log.
    QStringList movements;
    const suite::RecordsetPtr moved = db->connection().Execute(
        u"SELECT Mo_Entidad, Mo_Clave, Mo_Accion, Mo_Operador FROM Movimiento ORDER BY Mo_Numero"_s);
    for (const auto &row : moved->rows())
        movements << row[0].toString() + u' ' + row[1].toString() + u' ' + row[2].toString() + u' ' + row[3].toString();
    QCOMPARE(movements, (QStringList{u"ACTIVO_FIJO 0000000019 Baja D'Arcy"_s, u"ACTIVO_FIJO 0000000019 Reactivación D'Arcy"_s,
                                     u"ACTIVO_FIJO 0000000003 Baja D'Arcy"_s, u"ACTIVO_FIJO O'3 Baja D'Arcy"_s,
                                     u"ACTIVO_FIJO 0000000013 Reactivación D'Arcy"_s}));
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Bitacora WHERE Bi_Tabla = 'Activo_Fijo'"_s), u"5"_s);
}

void tst_Lifecycle::vetoedRegistrationChangesNothing()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    db->execute(u"INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('BITACORA_BLOQUEADA', 'Activo_Fijo')"_s);
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const HostRun run = runHost(db->url(), loadLines(u"0000000019"_s) + u"toolbar Eliminar\ndump Controles\n"_s
                                               + loadLines(u"0000000013"_s) + u"toolbar Reactivar\ndump Controles\n"_s);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n')));
    const QStringList shown = messages(run);
    QCOMPARE(shown.size(), 2);
    // The registration's own reason, under each command's id; the asset stays on screen.
    QVERIFY2(shown[0].startsWith(u"ERR-ID:7500043|48|Talvexor|"_s) && shown[0].contains(u"BITACORA_BLOQUEADA"_s),
             qPrintable(shown[0]));
    QCOMPARE(shown[1], u"ERR-ID:7500045"_s + shown[0].mid(shown[0].indexOf(u'|')));
    QCOMPARE(clave(run.dump(0)), u"0000000019"_s);
    QVERIFY(offered(run.dump(0)).contains(u"Eliminar"_s));
    QCOMPARE(clave(run.dump(1)), u"0000000013"_s);
    QVERIFY(offered(run.dump(1)).contains(u"Reactivar"_s));
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QVERIFY2(after == before, qPrintable(before.difference(after)));
}

void tst_Lifecycle::faultAtEveryStatementChangesNothing_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("loseLink");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("asset");
    QTest::addColumn<QStringList>("ids"); // every one of them is reached by some statement
    const QList<std::tuple<const char *, QString, QString, QStringList>> commands = {
        {"generation", u"B3"_s, u"0000000015"_s, {u"ERR-ID:7500034"_s, u"ERR-ID:7500035"_s, u"ERR-ID:7500042"_s}},
        {"deactivation", u"Eliminar"_s, u"0000000019"_s, {u"ERR-ID:7500043"_s, u"ERR-ID:7500044"_s}},
        {"reactivation", u"Reactivar"_s, u"0000000019"_s, {u"ERR-ID:7500045"_s, u"ERR-ID:7500046"_s}},
    };
    for (const QString &backend : {u"sqlite"_s, u"postgresql"_s}) {
        for (bool lose : {false, true}) {
            for (const auto &[name, command, asset, ids] : commands) {
                QTest::addRow("%s, %s, %s", qPrintable(backend), lose ? "link lost" : "failed", name)
                    << backend << lose << command << asset << ids;
            }
        }
    }
}

// Each fault gets a host of its own: the screen's services cache what they
// learn of the schema per process, so a run after a failed one would send
// fewer statements and some would never be struck.
void tst_Lifecycle::faultAtEveryStatementChangesNothing()
{
    QFETCH(QString, backend);
    QFETCH(bool, loseLink);
    QFETCH(QString, command);
    QFETCH(QString, asset);
    QFETCH(QStringList, ids);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    if (command == u"Reactivar"_s) { // an asset deactivated with both its records
        const QString deactivate = u"UPDATE %1 SET Es_Cve_Estado = 'BA', Oper_Baja = 'ADMIN', "
                                   "Fecha_Baja = '2025-01-02 10:00:00' WHERE %2 = '0000000019'"_s;
        db->execute(deactivate.arg(u"Activo_Fijo"_s, u"Af_Cve_Activo_Fijo"_s));
        db->execute(deactivate.arg(u"Equipo"_s, u"Eq_Activo_Fijo"_s));
        db->execute(deactivate.arg(u"Vehiculo"_s, u"Af_Cve_Activo_Fijo"_s));
    }
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QString commit = db->connection().dialect().commitSql();

    QSet<QString> reached;
    QString struck;
    for (int n = 1; struck != commit; ++n) {
        QVERIFY2(n <= 60, "the command never reached its COMMIT");
        const HostRun run = runHost(db->url(), loadLines(asset) + u"dump\n"_s
                                                   + (loseLink ? u"fault lose %1\n"_s : u"fault %1\n"_s).arg(n)
                                                   + u"toolbar "_s + command + u"\ndump\n"_s);
        const QList<QJsonObject> faults = run.of(u"fault"_s);
        QCOMPARE(faults.size(), 1);
        QCOMPARE(faults[0].value(u"statement"_s).toInt(), n);
        struck = faults[0].value(u"sql"_s).toString().trimmed();
        const QString where = u"sentencia %1: %2"_s.arg(n).arg(faults[0].value(u"sql"_s).toString().simplified());
        const QString reason = loseLink ? u"Se perdió la conexión con la base de datos (falla simulada en la "_s + where + u')'
                                        : u"Falla simulada en la "_s + where;

        // The failure's own text under one of the command's ids; the asset stays shown as it was.
        const QList<QJsonObject> shown = run.of(u"mensaje"_s);
        QVERIFY2(shown.size() == 1, qPrintable(where + u'\n' + messages(run).join(u'\n')));
        QCOMPARE(shown[0].value(u"prompt"_s).toString(), reason);
        const QString id = shown[0].value(u"id"_s).toString();
        QVERIFY2(ids.contains(id), qPrintable(id + u" at "_s + where));
        reached.insert(id);
        QCOMPARE(clave(run.dump(1)), asset);
        QVERIFY(offered(run.dump(1)).contains(command));
        QVERIFY2(shownValues(run.dump(1)) == shownValues(run.dump(0)), qPrintable(where));

        const TableSnapshot after = TableSnapshot::take(db->connection());
        QVERIFY2(after == before, qPrintable(where + u'\n' + before.difference(after)));
    }
    QCOMPARE(reached, QSet<QString>(ids.begin(), ids.end()));

    // With no fault the same command goes through.
    const HostRun whole = runHost(db->url(), loadLines(asset) + u"toolbar "_s + command + u"\n"_s);
    QVERIFY(whole.errors().isEmpty());
    QVERIFY(TableSnapshot::take(db->connection()) != before);
}

QTEST_MAIN(tst_Lifecycle)
#include "tst_lifecycle.moc"
