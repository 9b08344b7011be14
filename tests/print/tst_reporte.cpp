#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/print/Reporte.h"
#include "suite/runtime/HostEvents.h"
#include "tests/support/PdfReading.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

using namespace Qt::StringLiterals;

// What only the print object shows (the demo's letter and labels through the host: tst_printing), read back
// with poppler and zbar: directives, page sizes, copies, values as stored, failures, a person's preview.
class ReporteTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestSession> m_session;

    QStringList printed() const { return QDir(m_dir->path()).entryList({u"*.pdf"_s}, QDir::Files); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_session = std::make_unique<TestSession>(TestDatabase::sqlite(true));
        m_session->connection().Execute(u"INSERT INTO Formato_Impresion (Fi_Cve_Formato, Fi_Titulo, Fi_Plantilla, Fi_Sentencia, "
                                        "Fi_Pagina, Fi_Margen_Mm) VALUES ('ECO', 'Prueba', '<p>Valor: [NOMBRE].</p>', 'SELECT "
                                        "''{PARAMETROS}'' AS Nombre', 'Letter', 15), ('MALA', 'Prueba', '[X]', 'SELECT X FROM "
                                        "No_Existe', 'Letter', 15), ('SERVILLETA', 'Prueba', '[X]', '', 'Servilleta', 15)"_s);
        suite::HostEvents::instance().setUnattended(true);
        suite::HostEvents::instance().setPrintDirectory(m_dir->path());
    }

    void cleanup()
    {
        suite::HostEvents::instance().setUnattended(false);
        suite::HostEvents::instance().setPrintDirectory({});
        m_session.reset();
        m_dir.reset();
    }

    void documents_data()
    {
        QTest::addColumn<QString>("format");           // a format; none for a label
        QTest::addColumn<QString>("text");             // the format's parameter, or the label's text
        QTest::addColumn<QVector<double>>("numbers");  // the label's offsets, size, points and copies
        QTest::addColumn<QString>("error");            // how the message starts; none when it prints
        QTest::addColumn<QString>("qr");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("info");         // pages, page size, title
        auto row = [](const char *name, const QString &format, const QString &text, const QVector<double> &numbers,
                      const QString &error, const QString &qr = {}, const QStringList &shown = {}, const QStringList &info = {}) {
            QTest::newRow(name) << format << text << numbers << error << qr << shown << info;
        };
        const QVector<double> screen = {0, 0, -1, -1, 7, -1};
        const QString today = QLocale(QLocale::Spanish, QLocale::Mexico).toString(QDate::currentDate(), u"d 'de' MMMM 'de' yyyy"_s);

        row("letter: its format's page and title, today's date", u"RESPONSIVA_AF"_s, u"0000000007"_s, {}, {}, u"0000000007"_s,
            {u"CARTA RESPONSIVA DE ACTIVO FIJO"_s, u"0000000007"_s, today}, {u"1"_s, u"612 x 792 pts"_s, u"Carta responsiva de activo fijo"_s});
        row("plain text, inline code, 100 x 50, three copies", {}, u"Equipo {QR:ABC-123}\nfin"_s, {0, 0, 100, 50, 9, 3}, {},
            u"ABC-123"_s, {u"Equipo"_s, u"fin"_s}, {u"3"_s, u"283 x 142 pts"_s, u"Etiqueta"_s});
        row("rich text, sized code floating right", {}, u"<p><b>Caja</b> fuerte {QR 15 derecha:Ñandú &amp; Cía}</p>"_s,
            {2, 1, 60, 30, 8, 1}, {}, u"Ñandú & Cía"_s, {u"Caja fuerte"_s}, {u"1"_s, u"170 x 85 pts"_s, u"Etiqueta"_s});
        // Whatever a value holds is printed, never interpreted (quotes and markup in a letter: tst_printing).
        row("brackets and directives in a letter", u"ECO"_s, u"[NOMBRE] {FECHA} {QR:no}"_s, {}, {}, {},
            {u"Valor: [NOMBRE] {FECHA} {QR:no}."_s}, {u"1"_s, u"612 x 792 pts"_s, u"Prueba"_s});
        row("markup in a plain label, the default size", {}, uR"(5 < 6 & "x" {QR})"_s, screen, {}, {}, {uR"(5 < 6 & "x" {QR})"_s},
            {u"1"_s, u"227 x 113 pts"_s, u"Etiqueta"_s});

        // Each failure says why in Spanish, and leaves no document behind (an unknown format: tst_printing).
        row("no row for the key", u"RESPONSIVA_AF"_s, u"9999999999"_s, {},
            u"El formato de impresión \"RESPONSIVA_AF\" no encontró datos para \"9999999999\"."_s);
        row("statement fails", u"MALA"_s, u"1"_s, {}, u"No se pudieron leer los datos del formato de impresión \"MALA\": "_s);
        row("unknown page", u"SERVILLETA"_s, u"1"_s, {}, u"El tamaño de página \"Servilleta\" no se conoce"_s);
        row("unknown QR option", {}, u"{QR grande:1}"_s, screen, u"El código QR tiene una opción que no se conoce: \"grande\""_s);
        row("QR without value", {}, u"{QR:}"_s, screen, u"El código QR no tiene valor que codificar."_s);
        row("offset beyond the label", {}, u"x"_s, {90, 0, -1, -1, 7, -1}, u"Los márgenes no dejan espacio para imprimir"_s);
        row("empty label", {}, u" \n "_s, screen, u"La etiqueta no tiene texto que imprimir."_s);
    }

    void documents()
    {
        QFETCH(QString, format);
        QFETCH(QString, text);
        QFETCH(QVector<double>, numbers);
        QFETCH(QString, error);
        QSignalSpy spy(&suite::HostEvents::instance(), &suite::HostEvents::printed);
        QString description;
        try {
            if (format.isEmpty())
                suite::Reporte().ImprimeTexto(text, u""_s, numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]);
            else
                suite::Reporte().Imprime(format, text, u""_s, 0, 0, u""_s);
        } catch (const suite::SuiteError &e) {
            description = e.description();
        }
        if (!error.isEmpty()) {
            QVERIFY2(description.startsWith(error) && spy.isEmpty() && printed().isEmpty(), qPrintable(description));
            return;
        }
        QVERIFY2(description.isEmpty(), qPrintable(description));
        if (const QString tool = missingPdfTool(); !tool.isEmpty())
            QSKIP(qPrintable(tool + u" is not installed (scripts/install-deps.sh installs it)"_s));
        QCOMPARE(spy.count(), 1);
        const QString file = spy.at(0).at(2).toString();
        QCOMPARE(QFileInfo(file).absolutePath(), QDir(m_dir->path()).absolutePath());
        QTEST(qrOf(file), "qr");
        const QString shownText = pdfText(file);
        QFETCH(QStringList, shown);
        for (const QString &part : shown)
            QVERIFY2(shownText.contains(part), qPrintable(part + u" not in "_s + shownText));
        QFETCH(QStringList, info);
        QCOMPARE((QStringList{pdfInfo(file, u"Pages"_s), pdfInfo(file, u"Page size"_s).left(info.value(1).size()),
                              pdfInfo(file, u"Title"_s)}), info);
    }

    // A person gets the preview of the document and no file is written.
    void personSeesThePreview()
    {
        suite::HostEvents::instance().setUnattended(false);
        QSignalSpy spy(&suite::HostEvents::instance(), &suite::HostEvents::printed);
        QString title;
        int pages = -1;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            if (auto *preview = dialog->findChild<QPrintPreviewWidget *>())
                pages = preview->pageCount();
            dialog->reject();
        });
        suite::Reporte().Imprime(u"RESPONSIVA_AF"_s, u"0000000007"_s, u""_s, 0, 0, u""_s);
        QCOMPARE(title, u"Vista previa: Carta responsiva de activo fijo"_s);
        QCOMPARE(pages, 1);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(printed(), QStringList());
    }
};

QTEST_MAIN(ReporteTest)
#include "tst_reporte.moc"
