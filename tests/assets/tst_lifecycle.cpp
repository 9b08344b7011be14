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
    void deactivationCarriesTheStateOver_data() { TestDatabase::addBackendRows(); }
    void deactivationCarriesTheStateOver();
    void historyHoldsEachChange_data() { TestDatabase::addBackendRows(); }
    void historyHoldsEachChange();
    void faultAtEveryStatementChangesNothing_data();
    void faultAtEveryStatementChangesNothing();
};

namespace {

const QString Operator = u"D'Arcy"_s; // a quote in every statement that writes who did it
const QStringList AsOperator = {u"--usuario"_s, Operator};
const QStringList StateColumns = {u"Es_Cve_Estado"_s, u"Oper_Ult_Modif"_s, u"Fecha_Ult_Modif"_s, u"Oper_Baja"_s,
                                  u"Fecha_Baja"_s};

QJsonValue toolbar(const QJsonObject &dump, const QString &name) { return dump.value(u"toolbar"_s).toObject().value(name); }
QStringList offered(const QJsonObject &dump) { return toolbar(dump, u"offered"_s).toVariant().toStringList(); }
QString clave(const QJsonObject &dump) { return toolbar(dump, u"clave"_s).toString(); }


QDateTime serverNow(HostDatabase &db)
{
    return QDateTime::fromString(db.value(db.connection().dialect().currentDateTimeSql()).left(19).replace(u' ', u'T'), Qt::ISODate);
}

// The rows of a table that match, the columns named, each value in its
// canonical text; with `named`, each value as "Column=value". Sorted, so
// that two reads compare whole.
QStringList rowsOf(HostDatabase &db, const QString &table, const QStringList &columns, const QString &where = {},
                   bool named = false)
{
    const suite::RecordsetPtr rows = db.connection().Execute(u"SELECT "_s + columns.join(u", "_s) + u" FROM "_s + table
                                                             + (where.isEmpty() ? QString() : u" WHERE "_s + where));
    QStringList out;
    for (const auto &row : rows->rows()) {
        QStringList values;
        for (qsizetype i = 0; i < row.size(); ++i)
            values << (named ? columns[i] + u'=' : QString()) + TableSnapshot::canonical(row[i]);
        out << values.join(u", "_s);
    }
    out.sort();
    return out;
}

QString whereKey(const QString &column, const QString &key) { return column + u" = '"_s + suite::sqlEscape(key) + u"'"_s; }

// A table's columns but those left out.
QStringList columnsOf(const QString &table, const QStringList &leaving)
{
    QStringList names;
    for (const suite::ColumnDef &c : suite::Schema::table(table)->columns)
        names << c.name;
    for (const QString &name : leaving)
        names.removeOne(name);
    return names;
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
    const TableSnapshot before = TableSnapshot::take(db->connection());

    // Each default generation needs, unset in turn (they are read at
    // start-up: a run for each): refused in words, the database as it was.
    const QString equipment = u"ERR-ID:7500034|16|Talvexor|Debe configurar correctamente la variable <%1> "_s;
    const QString vehicle = u"|48|Talvexor|Debe confifurar correctamente la variable <%1> "_s;
    const QString undone = u"ERR-ID:7500035|16|Talvexor|"_s;
    const QList<std::tuple<QString, QString, QStringList>> unset = {
        {u"FTO_EQUIPO"_s, u"0000000016"_s, {equipment.arg(u"FTO_EQUIPO"_s)}},
        {u"CAT_TIPO_EQUIPO_DEFAULT"_s, u"0000000016"_s, {equipment.arg(u"CAT_TIPO_EQUIPO_DEFAULT"_s)}},
        {u"CAT_UBICACION_EQUIPO_DEFAULT"_s, u"0000000002"_s, {equipment.arg(u"CAT_UBICACION_EQUIPO_DEFAULT"_s)}},
        // Equipment is checked first; a vehicle-only type says so in its own words.
        {u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"0000000015"_s, {equipment.arg(u"CAT_MARCA_EQUIPO_DEFAULT"_s)}},
        {u"CAT_MARCA_EQUIPO_DEFAULT"_s, u"0000000001"_s, {u"ERR-ID:7500051"_s + vehicle.arg(u"CAT_MARCA_EQUIPO_DEFAULT"_s), undone}},
        // The equipment was inserted before the vehicle was refused: it goes too.
        {u"CAT_TIPO_VEHICULO_DEFAULT"_s, u"0000000015"_s, {u"ERR-ID:7500050"_s + vehicle.arg(u"CAT_TIPO_VEHICULO_DEFAULT"_s), undone}},
    };
    for (const auto &[variable, asset, expected] : unset) {
        const QString set = u"UPDATE Variable SET Va_Valor = %1 WHERE Va_Cve_Variable = '%2'"_s;
        const QString value = db->value(u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '%1'"_s.arg(variable));
        db->execute(set.arg(u"''"_s, variable));
        const HostRun refused = runHost(db->url(), loadLines(asset) + u"toolbar B3\ndump Controles\n"_s);
        db->execute(set.arg(u"'"_s + suite::sqlEscape(value) + u"'"_s, variable));
        QVERIFY2(refused.errors().isEmpty(), qPrintable(refused.errors().join(u'\n')));
        QCOMPARE(refused.messages(), expected);
        QCOMPARE(clave(refused.dump()), asset);
        const TableSnapshot after = TableSnapshot::take(db->connection());
        QVERIFY2(after == before, qPrintable(variable + u": "_s + before.difference(after)));
    }

    // 2 makes equipment, 1 a vehicle, 15 both; 21 had its equipment already.
    const QStringList assets = {u"0000000002"_s, u"0000000001"_s, u"0000000015"_s, u"0000000021"_s, quoted};
    QString script;
    for (const QString &asset : assets)
        script += loadLines(asset) + u"dump\ntoolbar B3\ntoolbar B3\n"_s;
    QStringList made[2]; // the keys the equipment and vehicle records take
    for (int i : {0, 1}) {
        const int highest = db->value(i ? u"SELECT MAX(Vh_Cve_Vehiculo) FROM Vehiculo"_s : u"SELECT MAX(Eq_Cve_Equipo) FROM Equipo"_s).toInt();
        for (int step = 1; step <= 3 + i; ++step)
            made[i] << u"%1"_s.arg(highest + step, 10, 10, QLatin1Char('0'));
    }
    const QDateTime started = serverNow(*db).addSecs(-1);
    const HostRun run = runHost(db->url(), script, AsOperator);
    const QDateTime ended = serverNow(*db).addSecs(1);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n') + run.errorOutput));

    // Each press reports what it made (with the button's caption) and what
    // was there; the second press of each asset makes nothing.
    const QString caption = u"|Generar equipo|"_s, exists = u"|48|Talvexor|"_s;
    const QString both = u"ERR-ID:7500038|48"_s + caption + u"Se creó el equipo con clave: %1\r\nse creó el vehículo con clave: %2"_s;
    const QString oneVehicle = u"ERR-ID:7500037|64"_s + caption + u"Se creo el vehículo con clave: "_s;
    const QString hasEquipment = u"ERR-ID:7500039"_s + exists + u"Ya existe un equipo con esta clave de activo fijo"_s;
    const QString hasBoth = u"ERR-ID:7500041"_s + exists + u"Ya existe un equipo  un vehículo con esta clave de activo fijo"_s;
    QCOMPARE(run.messages(), (QStringList{
        u"ERR-ID:7500036|64"_s + caption + u"Se creó el equipo con clave: "_s + made[0][0], hasEquipment,
        oneVehicle + made[1][0], u"ERR-ID:7500040"_s + exists + u"Ya existe un vehículo con está clave de activo fijo"_s,
        both.arg(made[0][1], made[1][1]), hasBoth, oneVehicle + made[1][2], hasEquipment, hasBoth,
        both.arg(made[0][2], made[1][3]), hasBoth,
    }));
    // The status line keeps what was made, with the asset's key, after the box is closed.
    QStringList said;
    for (const QJsonObject &status : run.of(u"estado"_s))
        said << status.value(u"text"_s).toString();
    const QString generated = u"Activo fijo %1: %2 generado"_s;
    QCOMPARE(said, (QStringList{generated.arg(assets[0], u"equipo "_s + made[0][0]),
                                generated.arg(assets[1], u"vehículo "_s + made[1][0]),
                                u"Activo fijo %1: equipo %2 y vehículo %3 generados"_s.arg(assets[2], made[0][1], made[1][1]),
                                generated.arg(assets[3], u"vehículo "_s + made[1][2]),
                                u"Activo fijo %1: equipo %2 y vehículo %3 generados"_s.arg(quoted, made[0][2], made[1][3])}));

    // What each record holds: the defaults of the demo's configuration, what
    // the screen showed of the asset when the button was pressed (a model
    // longer than a vehicle's cut there), who, and the server's time of the press.
    QCOMPARE(dumpedControl(run.dump(4), u"txtModelo"_s).value(u"text"_s).toString(), u"Articulada 12t"_s);
    const QList<std::tuple<bool, QString, int>> records = {
        {true, made[0][0], 0}, {false, made[1][0], 1}, {true, made[0][1], 2}, {false, made[1][1], 2},
        {false, made[1][2], 3}, {true, made[0][2], 4}, {false, made[1][3], 4},
    };
    for (const auto &[isEquipment, key, shownAt] : records) {
        const QJsonObject shown = run.dump(shownAt);
        auto screen = [&](const QString &control, const QString &member = u"text"_s) {
            return dumpedControl(shown, control).value(member).toVariant();
        };
        auto date = [&](const QString &control) { return QDate::fromString(screen(control, u"date"_s).toString(), Qt::ISODate); };
        const QString table = isEquipment ? u"Equipo"_s : u"Vehiculo"_s;
        const QString keyColumn = isEquipment ? u"Eq_Cve_Equipo"_s : u"Vh_Cve_Vehiculo"_s;
        const QVariant stamp = db->connection().Execute(u"SELECT Fecha_Alta FROM %1 WHERE %2"_s.arg(table, whereKey(keyColumn, key)))->fieldValue(0);
        QVERIFY2(stamp.toDateTime() >= started && stamp.toDateTime() <= ended, qPrintable(key + u' ' + stamp.toString()));
        QVariantMap row{{keyColumn, key}, {u"Es_Cve_Estado"_s, u"AC"_s}, {u"Oper_Alta"_s, Operator}, {u"Fecha_Alta"_s, stamp},
                        {u"Oper_Ult_Modif"_s, Operator}, {u"Fecha_Ult_Modif"_s, stamp}};
        if (isEquipment) {
            row.insert({{u"Eq_Activo_Fijo"_s, screen(u"txt_Af_Cve_Activo_Fijo"_s)}, {u"Eq_Serie"_s, screen(u"txtNSerie"_s)},
                        {u"Eq_Numero_Economico"_s, screen(u"txtNEconomico"_s)}, {u"Eq_Modelo"_s, screen(u"txtModelo"_s)},
                        {u"Eq_UserDef_1"_s, screen(u"txtUser1"_s)}, {u"Eq_UserDef_2"_s, screen(u"txtUser2"_s)},
                        {u"Eq_UserDef_3"_s, screen(u"txtUser3"_s, u"valor"_s).toDouble()},
                        {u"Eq_UserDef_4"_s, screen(u"txtUser4"_s, u"valor"_s).toDouble()},
                        {u"Eq_UserDef_5"_s, date(u"dpUser5"_s)}, {u"Eq_UserDef_6"_s, date(u"dpUser6"_s)},
                        {u"Te_Cve_Tipo_Equipo"_s, u"0001"_s}, {u"Ue_Cve_Ubicacion_Equipo"_s, u"0001"_s},
                        {u"Mr_Cve_Marca"_s, u"GENERICA"_s}});
        } else {
            row.insert({{u"Af_Cve_Activo_Fijo"_s, screen(u"txt_Af_Cve_Activo_Fijo"_s)}, {u"Vh_Serie"_s, screen(u"txtNSerie"_s)},
                        {u"Vh_Num_Economico"_s, screen(u"txtNEconomico"_s)}, {u"Vh_Modelo"_s, screen(u"txtModelo"_s).toString().left(8)},
                        {u"Vh_Descripcion"_s, screen(u"txt_Af_Descripcion"_s)}, {u"Tv_Cve_Tipo_Vehiculo"_s, u"01"_s},
                        {u"Vh_Marca"_s, u"GENERICA"_s}});
        }
        QStringList expected;
        for (auto it = row.begin(); it != row.end(); ++it)
            expected << it.key() + u'=' + TableSnapshot::canonical(it.value());
        QCOMPARE(rowsOf(*db, table, row.keys(), whereKey(keyColumn, key), true), QStringList{expected.join(u", "_s)});
    }

    // Nothing else: the records made are new rows, the others as they were.
    const TableSnapshot after = TableSnapshot::take(db->connection());
    QCOMPARE(tablesChanged(before, after), (QStringList{u"Equipo"_s, u"Vehiculo"_s, u"Historial"_s, u"Clave_Siguiente"_s}));
    // Each record made is in its asset's history; a press that made nothing added nothing.
    QStringList histories;
    for (const auto &[asset, record, madeKey] : {std::tuple{assets[0], u"equipo"_s, made[0][0]}, {assets[1], u"vehículo"_s, made[1][0]},
                                                {assets[2], u"equipo"_s, made[0][1]}, {assets[2], u"vehículo"_s, made[1][1]},
                                                {assets[3], u"vehículo"_s, made[1][2]}, {quoted, u"equipo"_s, made[0][2]},
                                                {quoted, u"vehículo"_s, made[1][3]}}) {
        QStringList values;
        for (const QVariant &v : QVariantList{asset, u"Generación"_s, record, QVariant(QMetaType::fromType<QString>()), madeKey, Operator})
            values << TableSnapshot::canonical(v);
        histories << values.join(u", "_s);
    }
    histories.sort();
    QCOMPARE(rowsOf(*db, u"Historial"_s, {u"Hi_Clave"_s, u"Hi_Orden"_s, u"Hi_Campo"_s, u"Hi_Valor_Anterior"_s, u"Hi_Valor_Nuevo"_s, u"Hi_Operador"_s}),
             histories);
    for (const auto &[table, added] : {std::pair{u"Equipo"_s, 3}, std::pair{u"Vehiculo"_s, 4}}) {
        QCOMPARE(after.rows(table).size(), before.rows(table).size() + added);
        for (const QString &row : before.rows(table))
            QVERIFY2(after.rows(table).contains(row), qPrintable(row));
    }
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
                           + loadLines(u"0000000019"_s) + u"dump Controles lbEstado\ntoolbar Reactivar\ndump\n"_s
                           + loadLines(u"0000000019"_s) + u"dump Controles lbEstado\n"_s + loadLines(u"0000000003"_s)
                           + u"toolbar Eliminar\n"_s + loadLines(quoted) + u"toolbar Eliminar\n"_s
                           + loadLines(u"0000000013"_s) + u"dump Controles lbEstado\ntoolbar Reactivar\n"_s;
    const QStringList owning = {u"Activo_Fijo"_s, u"Equipo"_s, u"Vehiculo"_s};
    QStringList kept; // every other column of the three tables
    for (const QString &table : owning)
        kept << rowsOf(*db, table, columnsOf(table, StateColumns + QStringList{u"Af_Version"_s}));
    const TableSnapshot before = TableSnapshot::take(db->connection());
    const QDateTime started = serverNow(*db).addSecs(-1);
    const HostRun run = runHost(db->url(), script, AsOperator);
    const QDateTime ended = serverNow(*db).addSecs(1);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n') + run.errorOutput));
    QCOMPARE(run.messages(), QStringList());

    // Each committed command leaves the screen idle, with the key box to type
    // in; a deactivated asset offers only to be reactivated, and generates nothing.
    for (int idle : {0, 2}) {
        const QJsonObject dump = run.dump(idle);
        QCOMPARE(dumpedControl(dump, u"txt_Af_Cve_Activo_Fijo"_s).value(u"text"_s).toString() + u'|'
                     + dump.value(u"focus"_s).toString() + u'|' + offered(dump).join(u','),
                 u"|txt_Af_Cve_Activo_Fijo|Nuevo,Salir"_s);
    }
    // A deactivated asset is marked so beside its key, and no other is.
    for (int deactivated : {1, 4}) {
        QCOMPARE(offered(run.dump(deactivated)), (QStringList{u"Nuevo"_s, u"Informacion"_s, u"Reactivar"_s, u"Salir"_s}));
        QVERIFY(dumpedControl(run.dump(deactivated), u"lbEstado"_s).value(u"visible"_s).toBool());
    }
    QVERIFY(offered(run.dump(3)).contains(u"Eliminar"_s) && offered(run.dump(3)).contains(u"B3"_s));
    for (int other : {0, 2, 3})
        QVERIFY(!dumpedControl(run.dump(other), u"lbEstado"_s).value(u"visible"_s).toBool());
    // Each committed command says so in the status line, with the key it acted on.
    QStringList said;
    for (const QJsonObject &status : run.of(u"estado"_s))
        said << status.value(u"text"_s).toString();
    QCOMPARE(said, (QStringList{u"Activo fijo 0000000019 dado de baja"_s, u"Activo fijo 0000000019 reactivado"_s,
                                u"Activo fijo 0000000003 dado de baja"_s, u"Activo fijo O'3 dado de baja"_s,
                                u"Activo fijo 0000000013 reactivado"_s}));

    // In the end: 3 and the quoted asset deactivated with their records, 13's
    // equipment active again with it, each record as its asset, dated within
    // the run; no other column of any row touched but the asset's version, which the database counts.
    const QList<std::tuple<QString, bool, QStringList>> ends = {
        {quoted, true, {u"Equipo"_s, u"Vehiculo"_s}}, {u"0000000003"_s, true, {}},
        {u"0000000013"_s, false, {u"Equipo"_s}}, {u"0000000019"_s, false, {u"Equipo"_s, u"Vehiculo"_s}},
    };
    const QString by = TableSnapshot::canonical(Operator);
    for (const auto &[key, deactivated, records] : ends) {
        const QStringList state = rowsOf(*db, u"Activo_Fijo"_s, StateColumns, whereKey(u"Af_Cve_Activo_Fijo"_s, key));
        const QString when = state.value(0).section(u", "_s, 2, 2);
        const QDateTime stamp = QDateTime::fromString(when.left(19), u"yyyy-MM-dd HH:mm:ss"_s);
        QVERIFY2(stamp >= started && stamp <= ended, qPrintable(key + u' ' + when));
        QCOMPARE(state, QStringList{(deactivated ? QStringList{u"'BA'"_s, by, when, by, when}
                                                 : QStringList{u"'AC'"_s, by, when, u"''"_s, u"NULL"_s}).join(u", "_s)});
        for (const QString &table : records)
            QCOMPARE(rowsOf(*db, table, StateColumns, whereKey(table == u"Equipo"_s ? u"Eq_Activo_Fijo"_s : u"Af_Cve_Activo_Fijo"_s, key)), state);
    }
    QStringList still;
    for (const QString &table : owning)
        still << rowsOf(*db, table, columnsOf(table, StateColumns + QStringList{u"Af_Version"_s}));
    QCOMPARE(still, kept);
    QCOMPARE(tablesChanged(before, TableSnapshot::take(db->connection())),
             owning + QStringList({u"Bitacora"_s, u"Movimiento"_s, u"Historial"_s}));
    // Each command's three values of the state in the asset's history (their values: historyHoldsEachChange).
    QStringList changed;
    for (const auto &[key, command] : {std::pair{u"0000000019"_s, u"Baja"_s}, {u"0000000019"_s, u"Reactivación"_s},
                                       {u"0000000003"_s, u"Baja"_s}, {quoted, u"Baja"_s}, {u"0000000013"_s, u"Reactivación"_s}}) {
        for (const QString &column : {u"Es_Cve_Estado"_s, u"Oper_Baja"_s, u"Fecha_Baja"_s})
            changed << QStringList{TableSnapshot::canonical(key), TableSnapshot::canonical(command), TableSnapshot::canonical(column)}.join(u", "_s);
    }
    changed.sort();
    QCOMPARE(rowsOf(*db, u"Historial"_s, {u"Hi_Clave"_s, u"Hi_Orden"_s, u"Hi_Campo"_s}), changed);

    // Registered as movements of the asset, in order, and in the audit log.
    const suite::RecordsetPtr moved = db->connection().Execute(
        u"SELECT Mo_Entidad, Mo_Clave, Mo_Accion, Mo_Operador FROM Movimiento ORDER BY Mo_Numero"_s);
    QStringList movements;
    for (const auto &row : moved->rows())
        movements << row[0].toString() + u' ' + row[1].toString() + u' ' + row[2].toString() + u' ' + row[3].toString();
    QCOMPARE(movements, (QStringList{u"ACTIVO_FIJO 0000000019 Baja D'Arcy"_s, u"ACTIVO_FIJO 0000000019 Reactivación D'Arcy"_s,
                                     u"ACTIVO_FIJO 0000000003 Baja D'Arcy"_s, u"ACTIVO_FIJO O'3 Baja D'Arcy"_s,
                                     u"ACTIVO_FIJO 0000000013 Reactivación D'Arcy"_s}));
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Bitacora WHERE Bi_Tabla = 'Activo_Fijo'"_s), u"5"_s);
}

// An asset's history through its life, as Información gives it: an edit of
// its cost and location, a deactivation and a reactivation, each value with
// what it was and what it became, newest first. A save that changes nothing,
// one refused because the asset changed since it was shown and one whose
// registration is refused after its writes add nothing. (A fault at any
// statement of a save: tst_saving; whole tables, the history included.)
void tst_Lifecycle::historyHoldsEachChange()
{
    QFETCH(QString, backend);
    TALVEXOR_HOST_DATABASE_OR_SKIP(db, backend, true);
    const QString key = u"0000000003"_s;
    const QString cost = db->value(u"SELECT Af_Costo_Original FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '0000000003'"_s);
    const QString edit = u"toolbar Modificar\nset txt_Af_Descripcion text \"Otra descripción\"\n"_s;
    const QString script = loadLines(key) + u"toolbar Modificar\nset txt_Costo_Original text 1750.25\n"
                                            "set txt_Au_Cve_Ubicacion text 0002\ntoolbar Aceptar\n"_s
                           + loadLines(key) + u"toolbar Modificar\ntoolbar Aceptar\n"_s
                           + loadLines(key) + u"toolbar Eliminar\n"_s + loadLines(key) + u"toolbar Reactivar\n"_s
                           // Another write of the row since it was shown; then a registration refused.
                           + loadLines(key) + edit + u"sql UPDATE Activo_Fijo SET Af_Marca = Af_Marca WHERE "
                                                     "Af_Cve_Activo_Fijo = '0000000003'\ntoolbar Aceptar\ntoolbar Cancelar\n"_s
                           + u"sql INSERT INTO Variable (Va_Cve_Variable, Va_Valor) VALUES ('BITACORA_BLOQUEADA', 'Activo_Fijo')\n"_s
                           + loadLines(key) + edit + u"toolbar Aceptar\ntoolbar Cancelar\n"_s
                           + loadLines(key) + u"toolbar Informacion\n"_s;
    const HostRun run = runHost(db->url(), script, AsOperator);
    QVERIFY2(run.errors().isEmpty(), qPrintable(run.errors().join(u'\n') + run.errorOutput));
    QCOMPARE(run.messageIds(), (QStringList{u"ERR-ID:7500060"_s, u"ERR-ID:7500027"_s}));

    const QList<QJsonObject> shown = run.of(u"informacion"_s);
    QCOMPARE(shown.size(), 1);
    const QJsonObject record = shown[0].value(u"registro"_s).toObject();
    QStringList changes;
    QString stamp;
    for (const QJsonValue &change : shown[0].value(u"historial"_s).toArray()) {
        const QJsonObject c = change.toObject();
        auto text = [&](const QString &name) { return c.value(name).isNull() ? u"NULL"_s : c.value(name).toString(); };
        QCOMPARE(c.value(u"operador"_s).toString(), Operator);
        // The deactivation is stamped with the date it wrote.
        if (c.value(u"orden"_s).toString() == u"Baja"_s && c.value(u"campo"_s).toString() == u"Fecha_Baja"_s)
            QCOMPARE(c.value(u"fecha"_s).toString(), stamp = c.value(u"nuevo"_s).toString());
        changes << u"%1 %2: %3 -> %4"_s.arg(text(u"orden"_s), text(u"campo"_s), text(u"anterior"_s), text(u"nuevo"_s));
    }
    // The newest change is the one the record's audit columns show.
    QCOMPARE(record.value(u"Fecha_Ult_Modif"_s).toString(), shown[0].value(u"historial"_s)[0][u"fecha"_s].toString());
    QCOMPARE(changes, (QStringList{
        u"Reactivación Es_Cve_Estado: BA -> AC"_s, u"Reactivación Oper_Baja: D'Arcy -> "_s,
        u"Reactivación Fecha_Baja: %1 -> NULL"_s.arg(stamp),
        u"Baja Es_Cve_Estado: AC -> BA"_s, u"Baja Oper_Baja:  -> D'Arcy"_s, u"Baja Fecha_Baja: NULL -> %1"_s.arg(stamp),
        u"Modificación Au_Cve_Ubicacion: 0004 -> 0002"_s, u"Modificación Af_Costo_Original: %1 -> 1750.25"_s.arg(cost),
    }));
    QVERIFY(!shown[0].value(u"mas"_s).toBool());
    // Only this asset's history was written.
    QCOMPARE(db->value(u"SELECT COUNT(*) FROM Historial"_s), u"8"_s);
}

void tst_Lifecycle::faultAtEveryStatementChangesNothing_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("loseLink");
    for (const QString &backend : {u"sqlite"_s, u"postgresql"_s}) {
        QTest::addRow("%s, failed", qPrintable(backend)) << backend << false;
        QTest::addRow("%s, link lost", qPrintable(backend)) << backend << true;
    }
}

// Generation, deactivation and reactivation, each on a database of its own.
// Each fault gets a host of its own: the screen's services cache what they
// learn of the schema per process, so a run after a failed one would send
// fewer statements and some would never be struck. (A registration the
// audit trail refuses takes the same way out as one a fault strikes.)
void tst_Lifecycle::faultAtEveryStatementChangesNothing()
{
    QFETCH(QString, backend);
    QFETCH(bool, loseLink);
    const QList<std::tuple<QString, QString, QStringList>> commands = { // the ids: each reached by some statement
        {u"B3"_s, u"0000000015"_s, {u"ERR-ID:7500034"_s, u"ERR-ID:7500035"_s, u"ERR-ID:7500042"_s}},
        {u"Eliminar"_s, u"0000000019"_s, {u"ERR-ID:7500043"_s, u"ERR-ID:7500044"_s}},
        {u"Reactivar"_s, u"0000000019"_s, {u"ERR-ID:7500045"_s, u"ERR-ID:7500046"_s}},
    };
    for (const auto &[command, asset, ids] : commands) {
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
            QVERIFY2(n <= 60, qPrintable(command + u" never reached its COMMIT"_s));
            const HostRun run = runHost(db->url(), loadLines(asset) + u"dump\n"_s
                                                       + (loseLink ? u"fault lose %1\n"_s : u"fault %1\n"_s).arg(n)
                                                       + u"toolbar "_s + command + u"\ndump\n"_s);
            const QList<QJsonObject> faults = run.of(u"fault"_s);
            QCOMPARE(faults.size(), 1);
            QCOMPARE(faults[0].value(u"statement"_s).toInt(), n);
            struck = faults[0].value(u"sql"_s).toString().trimmed();
            const QString where = u"%1, sentencia %2: %3"_s.arg(command).arg(n).arg(faults[0].value(u"sql"_s).toString().simplified());
            const QString reason = loseLink ? u"Se perdió la conexión con la base de datos (falla simulada en la "_s + where.section(u", "_s, 1) + u')'
                                            : u"Falla simulada en la "_s + where.section(u", "_s, 1);

            // The failure's own text under one of the command's ids; the asset stays shown as it was.
            const QList<QJsonObject> shown = run.of(u"mensaje"_s);
            QVERIFY2(shown.size() == 1, qPrintable(where + u'\n' + run.messages().join(u'\n')));
            QCOMPARE(shown[0].value(u"prompt"_s).toString(), reason);
            const QString id = shown[0].value(u"id"_s).toString();
            QVERIFY2(ids.contains(id), qPrintable(id + u" at "_s + where));
            reached.insert(id);
            QCOMPARE(clave(run.dump(1)), asset);
            QVERIFY(offered(run.dump(1)).contains(command));
            QVERIFY2(dumpedValues(run.dump(1), true) == dumpedValues(run.dump(0), true), qPrintable(where));
            const TableSnapshot after = TableSnapshot::take(db->connection());
            QVERIFY2(after == before, qPrintable(where + u'\n' + before.difference(after)));
        }
        QCOMPARE(reached, QSet<QString>(ids.begin(), ids.end()));
        // With no fault the same command goes through.
        QVERIFY(runHost(db->url(), loadLines(asset) + u"toolbar "_s + command + u"\n"_s).errors().isEmpty());
        QVERIFY(TableSnapshot::take(db->connection()) != before);
    }
}

QTEST_MAIN(tst_Lifecycle)
#include "tst_lifecycle.moc"
