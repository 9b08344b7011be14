#include "suite/data/DemoEquipment.h"

#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const QString Operator = u"ADMIN"_s;
// The defaults the demo's configuration names (CAT_*_DEFAULT).
const QString EquipmentType = u"0001"_s;
const QString EquipmentPlace = u"0001"_s;
const QString Brand = u"GENERICA"_s;
const QString VehicleType = u"01"_s;

QString quoted(const QString &text)
{
    return u"'"_s + sqlEscape(text) + u"'"_s;
}

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

QString dateOf(const QVariant &value)
{
    return value.isNull() ? u"NULL"_s : quoted(value.toDate().toString(u"yyyy-MM-dd"_s));
}

QString numberOf(const QVariant &value)
{
    return value.isNull() ? u"NULL"_s : QString::number(value.toDouble(), 'g', 15);
}

void loadCatalogue(Connection &c, const QString &table, const QString &keyColumn, const QString &descriptionColumn,
                   const QList<std::pair<QString, QString>> &rows)
{
    QStringList values;
    for (const auto &[key, description] : rows) {
        values << u"("_s + quoted(key) + u", "_s + quoted(description) + u", 'AC', "_s + quoted(Operator)
                      + u", '2018-01-02 09:00:00', "_s + quoted(Operator) + u", '2018-01-02 09:00:00')"_s;
    }
    c.Execute(u"INSERT INTO "_s + table + u" ("_s + keyColumn + u", "_s + descriptionColumn
              + u", Es_Cve_Estado, Oper_Alta, Fecha_Alta, Oper_Ult_Modif, Fecha_Ult_Modif) VALUES "_s
              + values.join(u", "_s));
}

struct Generated
{
    QString key;   // of the equipment or vehicle
    QString asset;
    QString made;  // when it was generated
};

RecordsetPtr asset(Connection &c, const QString &key)
{
    RecordsetPtr row = c.Execute(u"SELECT * FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = "_s + quoted(key));
    if (row->Eof())
        throw SuiteError(u"Los datos de demostración no tienen el activo fijo %1."_s.arg(key));
    return row;
}

// A record made while its asset was deactivated later carries the asset's
// deactivation, as the asset screen leaves it.
QString state(const Recordset &a)
{
    if (textOf(a.Fields(u"Es_Cve_Estado"_s)) != u"BA"_s)
        return u"'AC', NULL, NULL"_s;
    return u"'BA', "_s + quoted(textOf(a.Fields(u"Oper_Baja"_s))) + u", "_s
           + quoted(a.Fields(u"Fecha_Baja"_s).toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s));
}

QString audit(const Recordset &a, const QString &made)
{
    const bool deactivated = textOf(a.Fields(u"Es_Cve_Estado"_s)) == u"BA"_s;
    const QString changed = deactivated
                                ? a.Fields(u"Fecha_Baja"_s).toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s)
                                : made;
    return quoted(Operator) + u", "_s + quoted(made) + u", "_s + quoted(Operator) + u", "_s + quoted(changed);
}

void loadEquipment(Connection &c, const QList<Generated> &records)
{
    for (const Generated &g : records) {
        const RecordsetPtr a = asset(c, g.asset);
        c.Execute(u"INSERT INTO Equipo (Eq_Cve_Equipo, Eq_Cliente, Eq_Activo_Fijo, Te_Cve_Tipo_Equipo, "
                  "Ue_Cve_Ubicacion_Equipo, Mr_Cve_Marca, Eq_Serie, Eq_Numero_Economico, Eq_Modelo, "
                  "Eq_Centro_Costo, Eq_UserDef_1, Eq_UserDef_2, Eq_UserDef_3, Eq_UserDef_4, Eq_UserDef_5, "
                  "Eq_UserDef_6, Es_Cve_Estado, Oper_Baja, Fecha_Baja, Oper_Alta, Fecha_Alta, Oper_Ult_Modif, "
                  "Fecha_Ult_Modif) VALUES ("_s
                  + QStringList{quoted(g.key), u"''"_s, quoted(g.asset), quoted(EquipmentType),
                                quoted(EquipmentPlace), quoted(Brand),
                                quoted(textOf(a->Fields(u"Af_Numero_Serie"_s))),
                                quoted(textOf(a->Fields(u"Af_Numero_Economico"_s))),
                                quoted(textOf(a->Fields(u"Af_Modelo"_s))), u"''"_s,
                                quoted(textOf(a->Fields(u"Af_UserDef_1"_s))),
                                quoted(textOf(a->Fields(u"Af_UserDef_2"_s))),
                                numberOf(a->Fields(u"Af_UserDef_3"_s)), numberOf(a->Fields(u"Af_UserDef_4"_s)),
                                dateOf(a->Fields(u"Af_UserDef_5"_s)), dateOf(a->Fields(u"Af_UserDef_6"_s)),
                                state(*a), audit(*a, g.made)}
                        .join(u", "_s)
                  + u")"_s);
    }
}

void loadVehicles(Connection &c, const QList<Generated> &records)
{
    for (const Generated &g : records) {
        const RecordsetPtr a = asset(c, g.asset);
        c.Execute(u"INSERT INTO Vehiculo (Vh_Cve_Vehiculo, Vh_Descripcion, Vh_Sucursal, Vh_Tabla, Vh_Documento, "
                  "Tv_Cve_Tipo_Vehiculo, Vh_Placas, Vh_Ejes, Vh_Marca, Vh_Modelo, Vh_Num_Economico, Vh_Serie, "
                  "Vh_Motor, Vh_Capacidad_M3, Vh_Capacidad_Peso, Vh_Porcentaje_Carga, Vh_Poliza_Seguro, "
                  "Vh_Compania_Seguro, Vh_Inicio_Seguro, Vh_Fin_Seguro, Vh_Odometro, Af_Cve_Activo_Fijo, "
                  "Es_Cve_Estado, Oper_Baja, Fecha_Baja, Oper_Alta, Fecha_Alta, Oper_Ult_Modif, Fecha_Ult_Modif) "
                  "VALUES ("_s
                  + QStringList{quoted(g.key), quoted(textOf(a->Fields(u"Af_Descripcion"_s))), u"''"_s, u"''"_s,
                                u"''"_s, quoted(VehicleType), u"''"_s, u"0"_s, quoted(Brand),
                                quoted(textOf(a->Fields(u"Af_Modelo"_s)).left(8)),
                                quoted(textOf(a->Fields(u"Af_Numero_Economico"_s))),
                                quoted(textOf(a->Fields(u"Af_Numero_Serie"_s))), u"''"_s, u"0"_s, u"0"_s, u"0"_s,
                                u"''"_s, u"''"_s, u"''"_s, u"''"_s, u"''"_s, quoted(g.asset), state(*a),
                                audit(*a, g.made)}
                        .join(u", "_s)
                  + u")"_s);
    }
}

} // namespace

void DemoEquipment::load(Connection &connection)
{
    loadCatalogue(connection, u"Tipo_Equipo"_s, u"Te_Cve_Tipo_Equipo"_s, u"Te_Descripcion"_s, {
        {u"0001"_s, u"Equipo general"_s},
        {u"0002"_s, u"Equipo de cómputo y comunicaciones"_s},
        {u"0003"_s, u"Maquinaria de planta"_s},
    });
    loadCatalogue(connection, u"Ubicacion_Equipo"_s, u"Ue_Cve_Ubicacion_Equipo"_s, u"Ue_Descripcion"_s, {
        {u"0001"_s, u"Almacén de equipos, Monterrey"_s},
        {u"0002"_s, u"Taller de mantenimiento, Apodaca"_s},
    });
    loadCatalogue(connection, u"Marca"_s, u"Mr_Cve_Marca"_s, u"Mr_Descripcion"_s, {
        {u"GENERICA"_s, u"Genérica (sin marca registrada)"_s},
    });
    loadCatalogue(connection, u"Tipo_Vehiculo"_s, u"Tv_Cve_Tipo_Vehiculo"_s, u"Tv_Descripcion"_s, {
        {u"01"_s, u"Utilitario de carga"_s},
        {u"02"_s, u"Unidad móvil de servicio"_s},
    });

    loadEquipment(connection, {
        {u"0000000001"_s, u"0000000013"_s, u"2022-01-10 09:15:00"_s},
        {u"0000000002"_s, u"0000000010"_s, u"2022-02-03 09:45:00"_s},
        {u"0000000003"_s, u"0000000019"_s, u"2023-08-21 16:05:00"_s},
        {u"0000000004"_s, u"0000000021"_s, u"2024-09-30 12:10:00"_s},
    });
    loadVehicles(connection, {
        {u"0000000001"_s, u"0000000027"_s, u"2022-05-09 10:30:00"_s},
        {u"0000000002"_s, u"0000000019"_s, u"2023-08-21 16:05:00"_s},
    });
}

} // namespace suite
