// What a person prints from the preview reaches a real print queue as it was previewed. A private CUPS
// server (its own folder and socket) holds two PDF printers whose default page is A4: ETIQUETAS takes any
// page size, as a label printer does; HOJAS has only its sheets. The print dialog gives the printer the
// queue's default page; the output must still be the document's page, and a label must keep its size.
// The PDF printer re-renders with Ghostscript, so its output is read by page size and picture, not text.
#include "suite/print/LabelSetup.h"
#include "suite/print/PageSetup.h"
#include "suite/print/PrintOutput.h"
#include "suite/runtime/HostEvents.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Ppd = u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_s;
const QString Backend = u"/usr/lib/cups/backend/cups-pdf"_s;
constexpr double MmPerInch = 25.4;
constexpr int Dpi = 72;

QString run(const QString &program, const QStringList &arguments, int *status = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    if (status)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

// The ink of the first page at 72 dpi, in millimetres from the top left corner.
QRectF inkMm(const QString &pdf)
{
    run(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, QString::number(Dpi), u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s,
                       pdf, pdf});
    const QImage page(pdf + u".png"_s);
    QRect ink;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
        }
    }
    const double mm = MmPerInch / Dpi;
    return QRectF(ink.x() * mm, ink.y() * mm, ink.width() * mm, ink.height() * mm);
}

// A framed table as wide as the page's printable area: its frame shows where the text was laid out.
std::unique_ptr<QTextDocument> framed(const QString &words)
{
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(u"<table width=\"100%\" border=\"1\" cellspacing=\"0\" style=\"border-color:black\"><tr><td>"_s
                      + words + u"</td></tr></table>"_s);
    return document;
}

} // namespace

class tst_cups : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_outbox; // where cups-pdf writes the jobs of this user
    QString m_token;  // starts the title of every job of this run
    QStringList m_written;

    QString socket() const { return m_dir.filePath(u"cups.sock"_s); }

    // Prints the document from the preview, choosing the queue in the print dialog as a person would;
    // returns the PDF the queue made of it.
    QString printFromPreview(QTextDocument &document, const QPageLayout &layout, const QString &queue,
                             const QString &name)
    {
        const QString title = m_token + name;
        bool dialogAccepted = false;
        QTimer::singleShot(0, this, [&] {
            auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            QAction *print = nullptr;
            for (QAction *action : preview ? preview->findChildren<QAction *>() : QList<QAction *>()) {
                if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                    print = action;
            }
            if (!print) {
                if (preview)
                    preview->reject();
                return;
            }
            QTimer::singleShot(0, this, [&] {
                if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                    dialog->accept();
                    dialogAccepted = true;
                }
            });
            print->trigger();
        });
        const suite::PrintOutput::Delivery delivery =
            suite::PrintOutput(layout, 1, queue, title).deliver(document, name);
        if (!dialogAccepted || !delivery.printed)
            return {};

        // cups-pdf names its file after the job's title, blanks and signs made "_".
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            const QStringList found = QDir(m_outbox).entryList({title + u"*.pdf"_s}, QDir::Files);
            const QString pending = run(u"lpstat"_s, {u"-o"_s, queue});
            if (!found.isEmpty() && pending.trimmed().isEmpty()) {
                m_written << QDir(m_outbox).filePath(found.constFirst());
                return m_written.constLast();
            }
            QTest::qWait(200);
        }
        return {};
    }

    // The document as its preview draws it, on its own page: what the print object writes unattended.
    QString previewedPdf(QTextDocument &document, const QPageLayout &layout)
    {
        suite::HostEvents::instance().setUnattended(true);
        const QString pdf = suite::PrintOutput(layout, 1, {}, u"vista"_s).deliver(document, u"vista"_s).pdf;
        suite::HostEvents::instance().setUnattended(false);
        return pdf;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("SKIP: cups-pdf runs only under a cupsd started by root");
        for (const QString &tool : {u"/usr/sbin/cupsd"_s, Backend, Ppd, u"lpadmin"_s, u"lpstat"_s, u"pdfinfo"_s, u"pdftoppm"_s}) {
            if (!QFile::exists(tool) && QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is missing (scripts/install-deps.sh installs cups, cups-pdf and poppler)"_s));
        }
        QVERIFY(m_dir.isValid());
        const QString root = m_dir.path();
        for (const QString &folder : {u"conf"_s, u"spool/tmp"_s, u"cache"_s, u"state"_s, u"log"_s})
            QVERIFY(QDir(root).mkpath(folder));
        auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(u"conf/cupsd.conf"_s, u"Listen %1\nLogLevel warn\nBrowsing Off\nWebInterface No\nDefaultAuthType None\n"
                                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n"_s.arg(socket()).toUtf8());
        write(u"conf/cups-files.conf"_s, u"ServerRoot %1/conf\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                                         "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                         "PageLog %1/log/page_log\n"_s.arg(root).toUtf8());
        // The filters run as the unprivileged lp user: the folders must be open to it.
        run(u"chmod"_s, {u"-R"_s, u"a+rwX"_s, root});

        m_cupsd.start(u"/usr/sbin/cupsd"_s, {u"-f"_s, u"-c"_s, m_dir.filePath(u"conf/cupsd.conf"_s), u"-s"_s,
                                             m_dir.filePath(u"conf/cups-files.conf"_s)});
        QVERIFY2(m_cupsd.waitForStarted(), qPrintable(m_cupsd.errorString()));
        qputenv("CUPS_SERVER", socket().toLocal8Bit());
        QTRY_VERIFY_WITH_TIMEOUT(run(u"lpstat"_s, {u"-r"_s}).contains(u"scheduler is running"_s), 10000);

        // A sheet printer: the same driver without custom page sizes.
        QFile ppd(Ppd);
        QVERIFY(ppd.open(QIODevice::ReadOnly));
        QString sheets = QString::fromLatin1(ppd.readAll());
        sheets.replace(QRegularExpression(u"\\*VariablePaperSize:.*\\*ParamCustomPageSize HeightOffset[^\\n]*\\n"_s,
                                          QRegularExpression::DotMatchesEverythingOption),
                       u"*VariablePaperSize: False\n"_s);
        QVERIFY(!sheets.contains(u"CustomPageSize"_s));
        write(u"hojas.ppd"_s, sheets.toLatin1());
        const QFileInfo sheetPpd(m_dir.filePath(u"hojas.ppd"_s));
        for (const QStringList &queue : {QStringList{u"ETIQUETAS"_s, Ppd}, QStringList{u"HOJAS"_s, sheetPpd.filePath()}}) {
            int status = 0;
            const QString said = run(u"lpadmin"_s, {u"-p"_s, queue[0], u"-v"_s, u"cups-pdf:/"_s, u"-E"_s, u"-P"_s, queue[1],
                                                   u"-o"_s, u"PageSize=A4"_s}, &status);
            QVERIFY2(status == 0, qPrintable(said));
        }

        const passwd *user = getpwuid(geteuid());
        QVERIFY(user);
        m_outbox = QString::fromLocal8Bit(user->pw_dir) + u"/PDF"_s;
        m_token = u"tvxprueba%1x"_s.arg(QCoreApplication::applicationPid());
        suite::HostEvents::instance().setUnattended(false);
        suite::HostEvents::instance().setPrintDirectory(m_dir.path());
    }

    void cleanupTestCase()
    {
        for (const QString &file : std::as_const(m_written)) {
            QFile::remove(file);
            QFile::remove(file + u".png"_s);
        }
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000))
                m_cupsd.kill();
        }
    }

    // The letter on Letter, laid out across Letter's width; the label at 80 x 40 mm on the label printer
    // and at 80 x 40 mm in the corner of the sheet printer's A4, never stretched to it.
    void printedAsPreviewed()
    {
        const QPageLayout letter = suite::PageSetup::layout(suite::PageSetup::pageSize(u"Letter"_s),
                                                            QMarginsF(15, 15, 15, 15));
        const QPageLayout label = suite::LabelSetup(0, 0, -1, -1, 7, -1).pageLayout();
        const auto letterText = framed(u"Carta responsiva del activo fijo 0000000007"_s);
        const auto labelText = framed(u"Activo fijo 0000000007"_s);
        const QString letterPdf = printFromPreview(*letterText, letter, u"ETIQUETAS"_s, u"carta"_s);
        const QString labelPdf = printFromPreview(*labelText, label, u"ETIQUETAS"_s, u"etiqueta"_s);
        const QString sheetPdf = printFromPreview(*labelText, label, u"HOJAS"_s, u"hoja"_s);
        QVERIFY2(!letterPdf.isEmpty() && !labelPdf.isEmpty() && !sheetPdf.isEmpty(),
                 qPrintable(u"cups-pdf wrote no job into "_s + m_outbox + u": "_s
                            + run(u"cat"_s, {m_dir.filePath(u"log/error_log"_s)})));

        auto pageSize = [](const QString &pdf) {
            return QRegularExpression(u"Page size:\\s*(\\d+ x \\d+) pts"_s).match(run(u"pdfinfo"_s, {pdf})).captured(1);
        };
        QCOMPARE(pageSize(letterPdf), u"612 x 792"_s);
        QCOMPARE(pageSize(labelPdf), u"226 x 113"_s);
        QCOMPARE(pageSize(sheetPdf), u"595 x 842"_s);

        // On paper where the preview shows it: the frame spans what the document's page leaves
        // between its margins (on Letter 186 mm, on A4 it would be 180), a label's on the sheet too.
        const QList<std::tuple<QString, QTextDocument *, QPageLayout>> printed = {
            {letterPdf, letterText.get(), letter}, {labelPdf, labelText.get(), label}, {sheetPdf, labelText.get(), label}};
        for (const auto &[pdf, document, layout] : printed) {
            const QRectF onPaper = inkMm(pdf);
            const QRectF previewed = inkMm(previewedPdf(*document, layout));
            const QString where = u"%1: %2 x %3 at %4, %5 (previewed %6 x %7 at %8, %9)"_s.arg(QFileInfo(pdf).fileName())
                                      .arg(onPaper.width()).arg(onPaper.height()).arg(onPaper.left()).arg(onPaper.top())
                                      .arg(previewed.width()).arg(previewed.height()).arg(previewed.left()).arg(previewed.top());
            QVERIFY2(previewed.width() > 60, qPrintable(where));
            for (const qreal difference : {onPaper.left() - previewed.left(), onPaper.top() - previewed.top(),
                                           onPaper.width() - previewed.width(), onPaper.height() - previewed.height()})
                QVERIFY2(qAbs(difference) < 1.5, qPrintable(where));
        }
    }
};

QTEST_MAIN(tst_cups)
#include "tst_cups.moc"
