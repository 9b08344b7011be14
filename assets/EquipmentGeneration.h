#pragma once

#include <QString>

namespace xb733 {

class AssetScreen;

// The third extra button, "Generar equipo" (B3Click): for an asset whose type
// is managed as equipment and/or as a vehicle, creates the missing Equipo and
// Vehiculo records in one transaction, each with a new key and the defaults
// start-up read, and reports what it created and what existed already. A
// record that exists is never made twice. Failures reported: a failed insert,
// the vehicle's missing defaults and an asset changed meanwhile as refusals,
// after the rollback; anything else through AssetScreen::fail.
class EquipmentGeneration
{
public:
    explicit EquipmentGeneration(const AssetScreen &screen);

    void B3Click();

private:
    struct Outcome;
    Outcome generate();
    void report(const Outcome &outcome) const;

    // Each inserts its row inside the command's transaction; on failure the
    // reason is left in TextoError (or, for the vehicle's variables, a
    // message of its own, shown once the transaction is over) and ok is false.
    void GeneraEquipo(QString &key, bool &ok);
    void GeneraVehiculo(QString &key, bool &ok);

    const AssetScreen &m_screen;
    QString TextoError;
    QString m_variableRefusal, m_variableRefusalId;
};

} // namespace xb733
