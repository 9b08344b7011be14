#pragma once

#include <QString>
#include <QStringList>

namespace suite {

class Session;
struct LabelSheet;

// The suite's print object. A screen makes one for a call and releases it.
// Both operations print or show the document and return; every failure is a
// SuiteError whose description the screen shows. For a person the document
// opens in the print preview; when the host runs unattended it is written as
// a PDF into the host's print directory and reported through HostEvents.
class Reporte
{
public:
    explicit Reporte(Session *session = nullptr); // null: Session::current()

    // Prints the format of Formato_Impresion named formato, filled from the
    // first row of its statement, whose {PARAMETROS} becomes parametro.
    //   impresora  printer offered first in the print dialog ("" the default)
    //   copias     copies; 0 or less: 1
    //   reservado  not used (0)
    //   titulo     the document's title; "" takes the format's Fi_Titulo
    void Imprime(const QString &formato, const QString &parametro, const QString &impresora, double copias,
                 double reservado, const QString &titulo);

    // Prints an already filled label text (plain text, or rich text when it
    // looks like HTML) on a label-sized page; QR directives and {FECHA} are
    // honoured (a text filled by DocumentBuilder::fillFields prints its values
    // as they are). impresora as above; the numbers as LabelSetup describes them:
    // offsets and size in mm, font points, copies. (0, 0, -1, -1, 7, -1): an
    // 80 x 40 mm label in 7-point type, one copy.
    void ImprimeTexto(const QString &texto, const QString &impresora, double izquierdaMm, double arribaMm,
                      double anchoMm, double altoMm, double puntos, double copias);

    // Prints many filled label texts as one document, one label each, in
    // their order: on a roll one a page (the label of ImprimeTexto's
    // defaults), on a sheet from its starting position on; puntos as above.
    // SuiteError for an empty list or a sheet its labels do not fit on.
    void ImprimeEtiquetas(const QStringList &textos, const LabelSheet &hoja, const QString &impresora,
                          double puntos);

    // Whether the last call printed its document (or wrote its PDF), rather
    // than the person closing the preview without printing.
    bool impreso() const { return m_printed; }

private:
    Session &session() const;
    Session *m_session;
    bool m_printed = false;
};

} // namespace suite
