#include "suite/host/TransferOptions.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace suite {

QList<QCommandLineOption> TransferOptions::options()
{
    return {
        {u"import"_s, u"Importa los activos fijos del archivo CSV con las reglas de la pantalla y termina."_s,
         u"ARCHIVO"_s},
        {u"export"_s, u"Exporta los activos fijos a un archivo CSV (- es la salida estándar) y termina."_s,
         u"ARCHIVO"_s},
        {u"dry-run"_s, u"Con --import: revisa cada renglón como al importar, sin guardar nada."_s},
        {u"update"_s, u"Con --import: modifica los activos fijos que ya existen en vez de rechazarlos."_s},
        {u"report"_s, u"Con --import: escribe el informe de renglones rechazados en ARCHIVO."_s, u"ARCHIVO"_s},
        {u"estado"_s, u"Con --export: solo los activos en ese estado (AC o BA)."_s, u"ESTADO"_s},
        {u"ubicacion"_s, u"Con --export: solo los activos de esa ubicación."_s, u"CLAVE"_s},
        {u"tipo"_s, u"Con --export: solo los activos de ese tipo."_s, u"CLAVE"_s},
        {u"centro-costo"_s, u"Con --export: solo los activos cargados a ese centro de costo."_s, u"CLAVE"_s},
    };
}

bool TransferOptions::read(const QCommandLineParser &parser, QString &error)
{
    importFile = parser.value(u"import"_s);
    exportFile = parser.value(u"export"_s);
    reportFile = parser.value(u"report"_s);
    dryRun = parser.isSet(u"dry-run"_s);
    update = parser.isSet(u"update"_s);
    filter = {parser.value(u"estado"_s).toUpper(), parser.value(u"ubicacion"_s), parser.value(u"tipo"_s),
              parser.value(u"centro-costo"_s)};

    const bool filtered = parser.isSet(u"estado"_s) || parser.isSet(u"ubicacion"_s) || parser.isSet(u"tipo"_s)
                          || parser.isSet(u"centro-costo"_s);
    if (parser.isSet(u"import"_s) && importFile.isEmpty())
        error = u"--import necesita un archivo."_s;
    else if (parser.isSet(u"export"_s) && exportFile.isEmpty())
        error = u"--export necesita un archivo (o - para la salida estándar)."_s;
    else if (importing() && exporting())
        error = u"--import y --export no van juntos."_s;
    else if (!importing() && (dryRun || update || parser.isSet(u"report"_s)))
        error = u"--dry-run, --update y --report van con --import."_s;
    else if (!exporting() && filtered)
        error = u"--estado, --ubicacion, --tipo y --centro-costo van con --export."_s;
    else if (!filter.state.isEmpty() && filter.state != u"AC"_s && filter.state != u"BA"_s)
        error = u"--estado es AC (activos) o BA (dados de baja): %1"_s.arg(filter.state);
    return error.isEmpty();
}

} // namespace suite
