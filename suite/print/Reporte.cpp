#include "suite/print/Reporte.h"

#include "suite/data/SuiteError.h"
#include "suite/print/DocumentBuilder.h"
#include "suite/print/FormatStore.h"
#include "suite/print/LabelPages.h"
#include "suite/print/LabelSetup.h"
#include "suite/print/PageSetup.h"
#include "suite/print/PrintOutput.h"
#include "suite/runtime/HostEvents.h"
#include "suite/session/Session.h"

#include <QTextDocument>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

constexpr double LetterPoints = 10; // what a format's template does not size itself

int copiesOf(double copies)
{
    return copies >= 1 ? qRound(copies) : 1;
}

} // namespace

Reporte::Reporte(Session *session)
    : m_session(session)
{
}

Session &Reporte::session() const
{
    return m_session ? *m_session : Session::current();
}

void Reporte::Imprime(const QString &formato, const QString &parametro, const QString &impresora, double copias,
                      double reservado, const QString &titulo)
{
    m_printed = false;
    const FormatStore store(*session().connection());
    const PrintFormat format = store.read(formato);
    if (format.templateText.trimmed().isEmpty())
        throw SuiteError(u"El formato de impresión \"%1\" no tiene plantilla."_s.arg(format.key));
    const double margin = format.marginMm;
    const QPageLayout layout = PageSetup::layout(PageSetup::pageSize(format.pageName),
                                                 QMarginsF(margin, margin, margin, margin));

    DocumentBuilder builder(LetterPoints);
    builder.setFields(*store.data(format, parametro));
    const auto document = builder.build(format.templateText);
    const QString title = !titulo.isEmpty() ? titulo : !format.title.isEmpty() ? format.title : format.key;
    document->setMetaInformation(QTextDocument::DocumentTitle, title);

    const PrintOutput output(layout, copiesOf(copias), impresora, title);
    const PrintOutput::Delivery delivery = output.deliver(*document, format.key);
    m_printed = delivery.printed;
    if (!delivery.pdf.isEmpty()) {
        HostEvents::instance().notifyPrinted(u"Imprime"_s, {formato, parametro, impresora, copias, reservado, titulo},
                                             delivery.pdf);
    }
}

void Reporte::ImprimeTexto(const QString &texto, const QString &impresora, double izquierdaMm, double arribaMm,
                           double anchoMm, double altoMm, double puntos, double copias)
{
    m_printed = false;
    if (texto.trimmed().isEmpty())
        throw SuiteError(u"La etiqueta no tiene texto que imprimir."_s);
    const LabelSetup setup(izquierdaMm, arribaMm, anchoMm, altoMm, puntos, copias);
    const QPageLayout layout = setup.pageLayout();

    const auto document = DocumentBuilder(setup.points()).build(texto);
    const QString title = u"Etiqueta"_s;
    document->setMetaInformation(QTextDocument::DocumentTitle, title);

    const PrintOutput output(layout, setup.copies(), impresora, title);
    const PrintOutput::Delivery delivery = output.deliver(*document, u"etiqueta"_s);
    m_printed = delivery.printed;
    if (!delivery.pdf.isEmpty()) {
        HostEvents::instance().notifyPrinted(u"ImprimeTexto"_s,
                                             {DocumentBuilder::withoutMarks(texto), impresora, izquierdaMm, arribaMm,
                                              anchoMm, altoMm, puntos, copias},
                                             delivery.pdf);
    }
}

void Reporte::ImprimeEtiquetas(const QStringList &textos, const LabelSheet &hoja, const QString &impresora,
                               double puntos)
{
    m_printed = false;
    if (textos.isEmpty())
        throw SuiteError(u"No hay etiquetas que imprimir."_s);
    const LabelSetup roll(0, 0, -1, -1, puntos, 1);
    const LabelPages pages(textos, hoja, roll.points(), roll.pageLayout());
    const QString title = u"Etiquetas"_s;
    const PrintOutput output(pages.pageLayout(), 1, impresora, title);
    const PrintOutput::Delivery delivery = output.deliver(pages, u"etiquetas"_s);
    m_printed = delivery.printed;
    if (!delivery.pdf.isEmpty()) {
        HostEvents::instance().notifyPrinted(u"ImprimeEtiquetas"_s,
                                             {int(textos.size()), hoja.description(), impresora, puntos},
                                             delivery.pdf);
    }
}

} // namespace suite
