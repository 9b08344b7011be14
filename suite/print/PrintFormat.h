#pragma once

#include <QString>

namespace suite {

// One row of Formato_Impresion: what a print format prints and on what page.
struct PrintFormat
{
    QString key;          // Fi_Cve_Formato
    QString title;        // Fi_Titulo: the document's title
    QString templateText; // Fi_Plantilla: rich text or plain text with [FIELD]s
    QString statement;    // Fi_Sentencia: its data, with {PARAMETROS}; may be empty
    QString pageName;     // Fi_Pagina: "Letter", "A4", ... or "100x50" (mm)
    double marginMm = 20; // Fi_Margen_Mm: on every side
};

} // namespace suite
