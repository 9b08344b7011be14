#include "assets/Deactivation.h"

#include "assets/AssetHistory.h"
#include "assets/AssetScreen.h"
#include "assets/ScreenCodes.h"
#include "assets/SqlLiteral.h"
#include "assets/ToolbarCommands.h"
#include "suite/data/SuiteError.h"
#include "suite/data/TransactionGuard.h"
#include "suite/kit/TxtKit.h"
#include "suite/services/Entorno.h"
#include "suite/services/Utilerias.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Suite = u"Talvexor"_s;

// The five columns of the state, the same for the asset and its records.
QString deactivated(const QString &user, const QString &stamp)
{
    return u"   Oper_Ult_Modif = '"_s + user + u"', "_s
           + u"   Fecha_Ult_Modif = '"_s + stamp + u"', "_s
           + u"   Oper_Baja = '"_s + user + u"', "_s
           + u"   Fecha_Baja = '"_s + stamp + u"', "_s
           + u"   Es_Cve_Estado = 'BA' "_s;
}

QString reactivated(const QString &user, const QString &stamp)
{
    return u"   Oper_Ult_Modif = '"_s + user + u"', "_s
           + u"   Fecha_Ult_Modif = '"_s + stamp + u"', "_s
           + u"   Oper_Baja = '', "_s
           + u"   Fecha_Baja= NULL, "_s
           + u"   Es_Cve_Estado = 'AC' "_s;
}

} // namespace

struct Deactivation::Change
{
    QString routine;
    QString action;    // the movement's action word
    QString vetoId;    // the registration refused
    QString failureId; // anything else failed
    bool stampFirst;   // the date and operator are read before the transaction begins
    QString fromState; // the state the command starts from
    QString changedId; // the asset changed since it was shown
    QString (*assignments)(const QString &user, const QString &stamp);
    QString vehicleWhere;
    const char *history; // the command, as the asset's history names it
};

Deactivation::Deactivation(const AssetScreen &screen, ToolbarCommands &commands)
    : m_screen(screen)
    , m_commands(commands)
{
}

void Deactivation::Eliminar()
{
    static const Change change{u"Controles_Eliminar()"_s, u"Baja"_s, u"ERR-ID:7500043"_s, u"ERR-ID:7500044"_s,
                               false, u"AC"_s, u"ERR-ID:7500061"_s, &deactivated, u" WHERE Af_Cve_Activo_Fijo = '"_s,
                               AssetHistory::Deactivation};
    run(change);
}

void Deactivation::Reactivar()
{
    static const Change change{u"Controles_Reactivar()"_s, u"Reactivación"_s, u"ERR-ID:7500045"_s,
                               u"ERR-ID:7500046"_s, true, u"BA"_s, u"ERR-ID:7500062"_s, &reactivated,
                               u" WHERE Af_cve_Activo_Fijo = '"_s, AssetHistory::Reactivation};
    run(change);
}

void Deactivation::run(const Change &change)
{
    m_changedMeanwhile.clear();
    try {
        if (apply(change)) {
            const QString key = m_screen.keyBox().text();
            m_commands.Cancelar();
            const bool reactivation = change.assignments == &reactivated;
            m_screen.status(u"Activo fijo %1 %2"_s.arg(key, reactivation ? u"reactivado"_s : u"dado de baja"_s));
            return;
        }
        if (!m_changedMeanwhile.isEmpty()) {
            m_screen.message(m_changedMeanwhile, Exclamation, change.routine, change.changedId);
            return;
        }
        m_screen.message(m_screen.utilerias().RegistraError(), Exclamation, Suite, change.vetoId);
    } catch (const std::exception &e) {
        m_screen.fail(e, change.routine, change.failureId);
    }
}

// True when committed. A veto, an asset changed since it was shown or a
// failure leaves through the guard, which rolls everything back before the
// caller says why.
bool Deactivation::apply(const Change &change)
{
    suite::Utilerias &utilerias = m_screen.utilerias();
    const QString key = m_screen.keyBox().text();
    QString stamp;
    QString user;
    auto readStamp = [&] {
        stamp = utilerias.FechaTexto(utilerias.FechaServidor());
        user = m_screen.entorno().Usuario();
    };
    if (change.stampFirst)
        readStamp();
    suite::TransactionGuard transaction(m_screen.connection());
    // After another user's command on this asset, not amid it; and only on
    // the asset as it was shown, so a second deactivation records nothing.
    m_changedMeanwhile = m_screen.shown().lockAndCompare(m_screen.connection(), key, change.fromState,
                                                         ShownAsset::StateChange);
    if (!m_changedMeanwhile.isEmpty())
        return false;
    const AssetHistory history(m_screen, key, change.history);
    if (!change.stampFirst)
        readStamp();

    const QString set = change.assignments(SqlLiteral::inner(user), SqlLiteral::inner(stamp));
    const QString quotedKey = SqlLiteral::inner(key);
    m_screen.execute(u" UPDATE Activo_Fijo SET "_s + set + u" WHERE Af_cve_Activo_Fijo = '"_s + quotedKey + u"' "_s);
    if (!utilerias.BuscaValor(u"Equipo"_s, u"Eq_Activo_Fijo"_s, key, u"Eq_Activo_Fijo"_s, 0, QString(), QString(),
                              QString()).isEmpty()) {
        m_screen.execute(u" UPDATE Equipo SET "_s + set + u" WHERE Eq_Activo_Fijo = '"_s + quotedKey + u"' "_s);
    }
    // The look-up names the table with its accent; the catalogue resolves it.
    if (!utilerias.BuscaValor(u"Vehículo"_s, u"Af_Cve_Activo_Fijo"_s, key, u"Af_Cve_Activo_Fijo"_s, 0, QString(),
                              QString(), QString()).isEmpty()) {
        m_screen.execute(u" UPDATE Vehiculo SET "_s + set + change.vehicleWhere + quotedKey + u"' "_s);
    }

    utilerias.RegistraMovimiento(u"ACTIVO_FIJO"_s, key, change.action);
    bool registered = false;
    utilerias.RegistraBitacora(u"Activo_Fijo"_s, key, QString(), registered);
    if (registered) {
        history.record(user, [&] { return stamp; });
        transaction.commit();
    }
    return registered;
}

} // namespace xb733
