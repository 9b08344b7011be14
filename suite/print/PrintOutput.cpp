#include "suite/print/PrintOutput.h"

#include "suite/data/SuiteError.h"
#include "suite/print/DocumentPainter.h"
#include "suite/print/PagedDocument.h"
#include "suite/print/PagedPreview.h"
#include "suite/print/PrintPreview.h"
#include "suite/print/PrinterPage.h"
#include "suite/runtime/HostEvents.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString safeStem(const QString &stem)
{
    static const QRegularExpression unsafe(u"[^a-z0-9_-]+"_s);
    QString safe = stem.toLower().replace(unsafe, u"_"_s);
    return safe.isEmpty() ? u"documento"_s : safe;
}

// Creates the file, so that no other print can take the same name.
QString reserveFile(const QString &directory, const QString &stem)
{
    const QString base = safeStem(stem) + u'-' + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    for (int n = 1; n < 10000; ++n) {
        const QString name = n == 1 ? base + u".pdf"_s : base + u"-%1.pdf"_s.arg(n);
        QFile file(QDir(directory).filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            throw SuiteError(u"No se pudo crear el documento en \"%1\": %2"_s.arg(directory, file.errorString()));
    }
    throw SuiteError(u"No se encontró un nombre libre para el documento en \"%1\"."_s.arg(directory));
}

} // namespace

PrintOutput::PrintOutput(const QPageLayout &layout, int copies, const QString &printerName, const QString &title)
    : m_layout(layout)
    , m_copies(std::max(1, copies))
    , m_printerName(printerName)
    , m_title(title)
{
}

void PrintOutput::setUp(QPrinter &printer) const
{
    printer.setDocName(m_title);
    printer.setCreator(u"Talvexor"_s);
    printer.setCopyCount(m_copies);
    PrinterPage::apply(printer, m_layout);
}

QString PrintOutput::writePdf(const Painting &paint, const QString &fileStem) const
{
    const QString directory = HostEvents::instance().printDirectory();
    if (directory.isEmpty())
        throw SuiteError(u"El anfitrión no indicó la carpeta de los documentos impresos."_s);
    QDir().mkpath(directory);
    const QString path = reserveFile(directory, fileStem);
    try {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        setUp(printer);
        paint(&printer);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    return path;
}

PrintOutput::Delivery PrintOutput::deliver(QTextDocument &document, const QString &fileStem) const
{
    return deliver([&](QPrinter *printer) { DocumentPainter::paint(document, printer, m_layout); }, fileStem);
}

PrintOutput::Delivery PrintOutput::deliver(const Painting &paint, const QString &fileStem) const
{
    if (HostEvents::instance().unattended())
        return {writePdf(paint, fileStem), true};

    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerName.isEmpty())
        printer.setPrinterName(m_printerName);
    setUp(printer);
    return {QString(), PrintPreview::show(paint, &printer, m_layout, m_title)};
}

PrintOutput::Delivery PrintOutput::deliver(const PagedDocument &document, const QString &fileStem) const
{
    if (HostEvents::instance().unattended())
        return {writePdf([&](QPrinter *printer) { document.paint(printer); }, fileStem), true};

    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerName.isEmpty())
        printer.setPrinterName(m_printerName);
    setUp(printer);
    return {QString(), PagedPreview::show(document, &printer, m_title)};
}

} // namespace suite
