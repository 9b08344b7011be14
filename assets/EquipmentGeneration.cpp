#include "assets/EquipmentGeneration.h"

#include "assets/AssetHistory.h"
#include "assets/AssetScreen.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "suite/kit/FormControls.h"
#include "assets/FormVariables.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"
#include "suite/kit/Controles.h"
#include "suite/kit/DpFecha.h"
#include "suite/kit/KeyFormat.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"

#include <QStringList>
#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Routine = u"Controles_B3Click()"_s;
const QString Suite = u"Talvexor"_s;

const QString EquipmentFailureId = u"ERR-ID:7500034"_s;
const QString VehicleFailureId = u"ERR-ID:7500035"_s;
const QString CommandFailureId = u"ERR-ID:7500042"_s;

// The equipment's defaults, checked in this order before anything is written.
struct Requirement
{
    QString FormVariables::*value;
    QString refusal;
};
const Requirement EquipmentRequirements[] = {
    {&FormVariables::FormatoEquipo, u"Debe configurar correctamente la variable <FTO_EQUIPO> "_s},
    {&FormVariables::TipoEquipoDefault, u"Debe configurar correctamente la variable <CAT_TIPO_EQUIPO_DEFAULT> "_s},
    {&FormVariables::UbicacionEquipoDefault,
     u"Debe configurar correctamente la variable <CAT_UBICACION_EQUIPO_DEFAULT> "_s},
    {&FormVariables::MarcaEquipoDefault, u"Debe configurar correctamente la variable <CAT_MARCA_EQUIPO_DEFAULT> "_s},
};

const QString EquipmentInsert = u"INSERT INTO Equipo( "
                                "   Eq_Cve_Equipo, "
                                "   Eq_Cliente, "
                                "   Eq_Activo_Fijo, "
                                "   Te_Cve_Tipo_Equipo, "
                                "   Ue_Cve_Ubicacion_Equipo, "
                                "   Mr_Cve_Marca, "
                                "   Eq_Serie, "
                                "   Eq_Numero_Economico, "
                                "   Eq_Modelo, "
                                "   Eq_Centro_Costo, "
                                "   Eq_UserDef_1, "
                                "   Eq_UserDef_2, "
                                "   Eq_UserDef_3, "
                                "   Eq_UserDef_4, "
                                "   Eq_UserDef_5, "
                                "   Eq_UserDef_6, "
                                "   Oper_Alta, "
                                "   Fecha_Alta, "
                                "   Oper_Ult_Modif, "
                                "   Fecha_Ult_Modif "
                                ") VALUES ("_s;

// The vehicle's two variables are refused with a message of their own.
const QString VehicleTypeRefusal = u"Debe confifurar correctamente la variable <CAT_TIPO_VEHICULO_DEFAULT> "_s;
const QString VehicleTypeRefusalId = u"ERR-ID:7500050"_s;
const QString VehicleBrandRefusal = u"Debe confifurar correctamente la variable <CAT_MARCA_EQUIPO_DEFAULT> "_s;
const QString VehicleBrandRefusalId = u"ERR-ID:7500051"_s;

const QString VehicleInsert = u"INSERT INTO Vehiculo("
                              "   Vh_Cve_Vehiculo, "
                              "   Vh_Descripcion, "
                              "   Vh_Sucursal, "
                              "   Vh_Tabla, "
                              "   Vh_Documento, "
                              "   Tv_Cve_Tipo_Vehiculo, "
                              "   Vh_Placas, "
                              "   Vh_Ejes, "
                              "   Vh_Marca, "
                              "   Vh_Modelo, "
                              "   Vh_Num_Economico, "
                              "   Vh_Serie, "
                              "   Vh_Motor, "
                              "   Vh_Capacidad_M3,"
                              "   Vh_Capacidad_Peso, "
                              "   Vh_Porcentaje_Carga, "
                              "   Vh_Poliza_Seguro, "
                              "   Vh_Compania_Seguro, "
                              "   Vh_Inicio_Seguro, "
                              "   Vh_Fin_Seguro, "
                              "   Vh_Odometro, "
                              "   Af_Cve_Activo_Fijo, "
                              "   Oper_Alta, "
                              "   Fecha_Alta, "
                              "   Oper_Ult_Modif,"
                              "   Fecha_Ult_Modif "
                              ")VALUES ("_s;
constexpr int VehicleModelLength = 8;

// What was made, what was there already.
const QString EquipmentCreated = u"Se creó el equipo con clave: "_s;
const QString EquipmentCreatedId = u"ERR-ID:7500036"_s;
const QString VehicleCreated = u"Se creo el vehículo con clave: "_s;
const QString VehicleCreatedId = u"ERR-ID:7500037"_s;
const QString BothCreatedSecondLine = u"se creó el vehículo con clave: "_s;
const QString BothCreatedId = u"ERR-ID:7500038"_s;
const QString EquipmentExists = u"Ya existe un equipo con esta clave de activo fijo"_s;
const QString EquipmentExistsId = u"ERR-ID:7500039"_s;
const QString VehicleExists = u"Ya existe un vehículo con está clave de activo fijo"_s;
const QString VehicleExistsId = u"ERR-ID:7500040"_s;
const QString BothExist = u"Ya existe un equipo  un vehículo con esta clave de activo fijo"_s;
const QString BothExistId = u"ERR-ID:7500041"_s;

const QString ActiveState = u"AC"_s;
const QString ChangedMeanwhileId = u"ERR-ID:7500063"_s;

} // namespace

struct EquipmentGeneration::Outcome
{
    enum Record { NotWanted, Created, Existing };
    Record equipment = NotWanted;
    Record vehicle = NotWanted;
    QString equipmentKey;
    QString vehicleKey;
    QString failureId; // set when a generation failed: TextoError is shown under it
    QString changedMeanwhile; // why the stored asset is not the one shown
};

EquipmentGeneration::EquipmentGeneration(const AssetScreen &screen)
    : m_screen(screen)
{
}

void EquipmentGeneration::B3Click()
{
    // A refusal of the vehicle's variables shows its own message and leaves
    // no reason here, so the failure message that follows it stays empty
    // rather than repeating an earlier press's reason.
    TextoError.clear();
    m_variableRefusal.clear();
    try {
        // Every message after the transaction: a box left open would hold
        // the asset's row and the key counters for as long as it stays open.
        const Outcome outcome = generate();
        if (!outcome.changedMeanwhile.isEmpty()) {
            m_screen.message(outcome.changedMeanwhile, Exclamation, Routine, ChangedMeanwhileId);
            return;
        }
        if (!m_variableRefusal.isEmpty())
            m_screen.message(m_variableRefusal, Exclamation, Suite, m_variableRefusalId);
        if (!outcome.failureId.isEmpty()) {
            m_screen.message(TextoError, Critical, Suite, outcome.failureId);
            return;
        }
        report(outcome);
    } catch (const std::exception &e) {
        m_screen.fail(e, Routine, CommandFailureId);
    }
}

// Returns with the transaction committed, or rolled back (by the guard) when
// a generation failed or anything threw, so no message waits on open work.
EquipmentGeneration::Outcome EquipmentGeneration::generate()
{
    const QString key = m_screen.keyBox().text();
    const QString type = m_screen.text(u"txt_Ta_Cve_Tipo_ActivoFijo"_s);
    suite::Utilerias &utilerias = m_screen.utilerias();
    suite::TransactionGuard transaction(m_screen.connection());
    Outcome outcome;
    // Taken first, so two users never both find the equipment missing; and
    // an asset deactivated by another user since it was shown gets no active
    // records (deactivation would not have reached them), nor one changed
    // since, whose records would carry what the screen no longer shows.
    outcome.changedMeanwhile = m_screen.shown().lockAndCompare(m_screen.connection(), key, ActiveState,
                                                               ShownAsset::StateChange);
    if (!outcome.changedMeanwhile.isEmpty())
        return outcome;
    const AssetHistory history(m_screen, key, AssetHistory::Generation);

    const QString equipment = utilerias.BuscaValor(u"Tipo_Activo_Fijo"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s, type,
                                                   u"Ta_Equipo"_s, 0, QString(), QString(), QString());
    if (equipment == u"SI"_s) {
        const QString existing = utilerias.BuscaValor(u"Equipo"_s, u"Eq_Activo_Fijo"_s, key, u"Eq_Activo_Fijo"_s,
                                                      0, QString(), QString(), QString());
        if (existing.isEmpty()) {
            bool ok = false;
            GeneraEquipo(outcome.equipmentKey, ok);
            if (!ok) {
                outcome.failureId = EquipmentFailureId;
                return outcome;
            }
            outcome.equipment = Outcome::Created;
        } else {
            outcome.equipment = Outcome::Existing;
        }
    }

    const QString vehicleType = utilerias.BuscaValor(u"Tipo_Activo_Fijo"_s, u"Ta_Cve_Tipo_Activo_Fijo"_s, type,
                                                     u"Ta_Tipo_Vehiculo"_s, 0, QString(), QString(), QString());
    if (!vehicleType.isEmpty()) {
        const QString existing = utilerias.BuscaValor(u"Vehículo"_s, u"Af_Cve_Activo_Fijo"_s, key,
                                                      u"Af_Cve_Activo_Fijo"_s, 0, QString(), QString(), QString());
        if (existing.isEmpty()) {
            bool ok = false;
            GeneraVehiculo(outcome.vehicleKey, ok);
            if (!ok) {
                outcome.failureId = VehicleFailureId;
                return outcome;
            }
            outcome.vehicle = Outcome::Created;
        } else {
            outcome.vehicle = Outcome::Existing;
        }
    }

    // The records made, in the asset's history; when both existed, nothing.
    history.record(m_screen.entorno().Usuario(),
                   [&] { return utilerias.FechaTexto(utilerias.FechaServidor()); });
    transaction.commit();
    return outcome;
}

void EquipmentGeneration::report(const Outcome &outcome) const
{
    const QString title = m_screen.toolbar().b3caption();
    const bool equipmentMade = outcome.equipment == Outcome::Created;
    const bool vehicleMade = outcome.vehicle == Outcome::Created;
    QStringList made;
    if (equipmentMade)
        made << u"equipo %1"_s.arg(outcome.equipmentKey);
    if (vehicleMade)
        made << u"vehículo %1"_s.arg(outcome.vehicleKey);
    if (!made.isEmpty()) {
        m_screen.status(u"Activo fijo %1: %2 %3"_s.arg(m_screen.keyBox().text(), made.join(u" y "_s),
                                                          made.size() > 1 ? u"generados"_s : u"generado"_s));
    }
    if (equipmentMade && vehicleMade) {
        m_screen.message(EquipmentCreated + outcome.equipmentKey + u"\r\n"_s + BothCreatedSecondLine
                             + outcome.vehicleKey,
                         Exclamation, title, BothCreatedId);
    } else if (equipmentMade) {
        m_screen.message(EquipmentCreated + outcome.equipmentKey, Information, title, EquipmentCreatedId);
    } else if (vehicleMade) {
        m_screen.message(VehicleCreated + outcome.vehicleKey, Information, title, VehicleCreatedId);
    }

    const bool equipmentThere = outcome.equipment == Outcome::Existing;
    const bool vehicleThere = outcome.vehicle == Outcome::Existing;
    if (equipmentThere && vehicleThere)
        m_screen.message(BothExist, Exclamation, Suite, BothExistId);
    else if (equipmentThere)
        m_screen.message(EquipmentExists, Exclamation, Suite, EquipmentExistsId);
    else if (vehicleThere)
        m_screen.message(VehicleExists, Exclamation, Suite, VehicleExistsId);
}

void EquipmentGeneration::GeneraEquipo(QString &key, bool &ok)
{
    ok = false;
    try {
        const FormVariables &variables = m_screen.variables();
        for (const Requirement &requirement : EquipmentRequirements) {
            if ((variables.*requirement.value).isEmpty()) {
                TextoError = requirement.refusal;
                return;
            }
        }
        suite::Utilerias &utilerias = m_screen.utilerias();
        const QString stamp = utilerias.FechaTexto(utilerias.FechaServidor());
        const QString user = m_screen.entorno().Usuario();
        int next = 0;
        utilerias.SiguienteClave(u"Equipo"_s, u"Eq_Cve_Equipo"_s, QString(), QString(), QString(), QString(),
                                 QString(), QString(), QString(), next);
        const QString newKey = suite::formatKey(QString::number(next), variables.FormatoEquipo);

        // An empty picker or box gives NULL, as the asset holds it.
        auto date = [&](const QString &picker) {
            const QDate day = m_screen.controls().require<suite::dpFecha>(picker)->kitDate();
            return day.isValid() ? SqlLiteral::text(utilerias.FechaSql(day)) : u"NULL"_s;
        };
        const QStringList values = {
            SqlLiteral::text(newKey),
            SqlLiteral::text(QString()),
            SqlLiteral::text(m_screen.keyBox().text()),
            SqlLiteral::text(variables.TipoEquipoDefault),
            SqlLiteral::text(variables.UbicacionEquipoDefault),
            SqlLiteral::text(variables.MarcaEquipoDefault),
            SqlLiteral::text(m_screen.text(u"txtNSerie"_s)),
            SqlLiteral::text(m_screen.text(u"txtNEconomico"_s)),
            SqlLiteral::text(m_screen.text(u"txtModelo"_s)),
            SqlLiteral::text(QString()),
            SqlLiteral::text(m_screen.text(u"txtUser1"_s)),
            SqlLiteral::text(m_screen.text(u"txtUser2"_s)),
            SqlLiteral::orNull(m_screen.box(u"txtUser3"_s).valor(), SqlLiteral::number),
            SqlLiteral::orNull(m_screen.box(u"txtUser4"_s).valor(), SqlLiteral::number),
            date(u"dpUser5"_s),
            date(u"dpUser6"_s),
            SqlLiteral::text(user),
            SqlLiteral::text(stamp),
            SqlLiteral::text(user),
            SqlLiteral::text(stamp),
        };
        m_screen.execute(EquipmentInsert + values.join(u", "_s) + u")"_s);
        key = newKey;
        ok = true;
    } catch (const std::exception &e) {
        TextoError = AssetScreen::describe(e);
    }
}

void EquipmentGeneration::GeneraVehiculo(QString &key, bool &ok)
{
    ok = false;
    try {
        const FormVariables &variables = m_screen.variables();
        if (variables.TipoVehiculoDefault.isEmpty()) {
            m_variableRefusal = VehicleTypeRefusal;
            m_variableRefusalId = VehicleTypeRefusalId;
            return;
        }
        if (variables.MarcaEquipoDefault.isEmpty()) {
            m_variableRefusal = VehicleBrandRefusal;
            m_variableRefusalId = VehicleBrandRefusalId;
            return;
        }
        suite::Utilerias &utilerias = m_screen.utilerias();
        const QString stamp = utilerias.FechaTexto(utilerias.FechaServidor());
        const QString user = m_screen.entorno().Usuario();
        int next = 0;
        utilerias.SiguienteClave(u"Vehículo"_s, u"Vh_Cve_Vehiculo"_s, QString(), QString(), QString(), QString(),
                                 QString(), QString(), QString(), next);
        const QString newKey = suite::formatKey(QString::number(next), variables.FormatoVehiculo);

        const QString empty = SqlLiteral::text(QString());
        const QString zero = SqlLiteral::text(u"0"_s);
        const QStringList values = {
            SqlLiteral::text(newKey),
            SqlLiteral::text(m_screen.text(u"txt_Af_Descripcion"_s)),
            empty, empty, empty,
            SqlLiteral::text(variables.TipoVehiculoDefault),
            empty,
            zero,
            SqlLiteral::text(variables.MarcaEquipoDefault),
            SqlLiteral::text(m_screen.text(u"txtModelo"_s).left(VehicleModelLength)),
            SqlLiteral::text(m_screen.text(u"txtNEconomico"_s)),
            SqlLiteral::text(m_screen.text(u"txtNSerie"_s)),
            empty,
            zero, zero, zero,
            empty, empty, empty, empty, empty,
            SqlLiteral::text(m_screen.keyBox().text()),
            SqlLiteral::text(user),
            SqlLiteral::text(stamp),
            SqlLiteral::text(user),
            SqlLiteral::text(stamp),
        };
        m_screen.execute(VehicleInsert + values.join(u", "_s) + u")"_s);
        key = newKey;
        ok = true;
    } catch (const std::exception &e) {
        TextoError = AssetScreen::describe(e);
    }
}

} // namespace xb733
