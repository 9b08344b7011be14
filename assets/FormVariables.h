#pragma once

#include <QString>

namespace xb733 {

// What start-up reads from the configuration for the later commands.
struct FormVariables
{
    QString CentroCostoDefault;
    QString EtiquetasActivoFijo;
    QString MarcaEquipoDefault;
    QString TipoVehiculoDefault;
    QString UbicacionEquipoDefault;
    QString TipoEquipoDefault;
    QString FormatoEquipo;
    QString FormatoVehiculo;
    QString FormatoCentroCosto;
    bool ClaveEditable = false;
};

} // namespace xb733
