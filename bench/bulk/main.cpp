// Work on many rows at once, on a generated catalogue:
//  - labels in bulk: the labels of N assets filled from their definition's
//    statement, rendered to one PDF on a roll and on sheets of 3 x 8, their
//    print preview opened, and the whole host run `talvexor --labels FILE
//    --print-dir DIR`;
//  - an asset's long history: the first page Información shows of an asset
//    changed H times, among H changes of every other asset of a thousand
//    (written in a transaction that is rolled back).
// Prints the median, minimum and maximum over R runs in milliseconds.
//
//   bench_bulk --db URL [--count N] [--history H] [--runs R] [--host PATH_TO_TALVEXOR]
#include "suite/data/Connection.h"
#include "suite/data/Recordset.h"
#include "suite/kit/RecordHistoryModel.h"
#include "suite/print/DocumentBuilder.h"
#include "suite/print/LabelPages.h"
#include "suite/print/LabelSetup.h"
#include "suite/print/PagedPreview.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString LabelTemplate = u"{QR 24 izquierda:[AF_CVE_ACTIVO_FIJO]}[EM_DESCRIPCION]\n"
                              "ACTIVO FIJO [AF_CVE_ACTIVO_FIJO]\n[AF_DESCRIPCION]\nSerie: [AF_NUMERO_SERIE]\n"
                              "[AF_MARCA] [AF_MODELO]"_s;
const QString LabelStatement =
    u"SELECT a.Af_Cve_Activo_Fijo, a.Af_Descripcion, a.Af_Numero_Serie, a.Af_Marca, a.Af_Modelo, "
    "e.Em_Descripcion FROM Activo_Fijo a LEFT JOIN Empresa e ON e.Em_Cve_Empresa = a.Em_Cve_Empresa "
    "WHERE a.Af_Cve_Activo_Fijo = '%1'"_s;
constexpr double Points = 7;

void print(const char *what, const QList<double> &samples)
{
    QList<double> ms = samples;
    std::sort(ms.begin(), ms.end());
    const qsizetype n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    std::printf("%-44s runs=%lld median=%.0f ms min=%.0f ms max=%.0f ms\n", what, static_cast<long long>(n), median,
                ms.front(), ms.back());
    std::fflush(stdout);
}

QList<double> timed(int runs, const std::function<void()> &work)
{
    QList<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        ms << clock.nsecsElapsed() / 1e6;
    }
    return ms;
}

// Each key's label as the screen fills it: one statement per asset.
QStringList filled(suite::Connection &connection, const QStringList &keys)
{
    QStringList texts;
    for (const QString &key : keys) {
        const suite::RecordsetPtr row = connection.Execute(LabelStatement.arg(key));
        QHash<QString, QString> values;
        for (int i = 0; i < row->fieldCount(); ++i)
            values.insert(row->fieldName(i).toUpper(), suite::DocumentBuilder::valueText(row->fieldValue(i)));
        texts << suite::DocumentBuilder::fillFields(LabelTemplate, values);
    }
    return texts;
}

void writePdf(const suite::LabelPages &pages, const QString &file)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageLayout(pages.pageLayout());
    pages.paint(&printer);
}

// The pages as drawn: how many, and when the first one was.
class Counted : public suite::PagedDocument
{
public:
    Counted(const suite::PagedDocument &pages, const QElapsedTimer &clock)
        : m_pages(pages)
        , m_clock(clock)
    {}
    QPageLayout pageLayout() const override { return m_pages.pageLayout(); }
    int pageCount() const override { return m_pages.pageCount(); }
    void paintPage(QPainter &painter, QPaintDevice *device, int page) const override
    {
        m_pages.paintPage(painter, device, page);
        if (m_drawn++ == 0)
            m_first = m_clock.nsecsElapsed() / 1e6;
    }
    mutable int m_drawn = 0;
    mutable double m_first = 0;

private:
    const suite::PagedDocument &m_pages;
    const QElapsedTimer &m_clock;
};

// From asking for the preview to its first page on the screen; the pages
// drawn by the time the person can look at it and scroll.
double previewOpens(const suite::PagedDocument &pages, int *drawn)
{
    QElapsedTimer clock;
    clock.start();
    const Counted counted(pages, clock);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (counted.m_drawn == 0)
            return;
        // The first pages are on the screen: whatever else is drawn now is in view too.
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    poll.start(0);
    QPrinter printer(QPrinter::HighResolution);
    suite::PagedPreview::show(counted, &printer, u"Etiquetas"_s);
    *drawn = counted.m_drawn;
    return counted.m_first;
}

// changes rows of the history of each key, one second apart, as saves leave them.
void writeHistory(suite::Connection &connection, const QStringList &keys, int changes)
{
    const QDateTime start(QDate(2020, 1, 1), QTime(8, 0));
    QStringList rows;
    auto flush = [&] {
        if (rows.isEmpty())
            return;
        connection.Execute(u"INSERT INTO Historial (Hi_Entidad, Hi_Clave, Hi_Fecha, Hi_Operador, Hi_Orden, Hi_Campo, "
                           "Hi_Valor_Anterior, Hi_Valor_Nuevo) VALUES "_s + rows.join(u", "_s));
        rows.clear();
    };
    for (const QString &key : keys) {
        for (int i = 0; i < changes; ++i) {
            rows << u"('ACTIVO_FIJO', '%1', '%2', 'BENCH', 'Modificación', 'Af_Costo_Original', '%3', '%4')"_s.arg(
                        key, start.addSecs(i).toString(u"yyyy-MM-dd HH:mm:ss"_s)).arg(i).arg(i + 1);
            if (rows.size() == 500)
                flush();
        }
    }
    flush();
}

} // namespace

int main(int argc, char **argv)
{
    // Labels are drawn, not shown: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption db(u"db"_s, u"URL"_s, u"URL"_s);
    const QCommandLineOption count(u"count"_s, u"labels"_s, u"N"_s, u"1000"_s);
    const QCommandLineOption runs(u"runs"_s, u"runs"_s, u"R"_s, u"5"_s);
    const QCommandLineOption history(u"history"_s, u"changes"_s, u"H"_s, u"10000"_s);
    const QCommandLineOption host(u"host"_s, u"talvexor"_s, u"PATH"_s);
    parser.addOptions({db, count, runs, history, host});
    parser.process(app);
    if (!parser.isSet(db)) {
        std::fprintf(stderr, "bench_bulk --db URL [--count N] [--history H] [--runs R] [--host PATH]\n");
        return 2;
    }
    const int n = parser.value(count).toInt();
    const int r = parser.value(runs).toInt();
    auto connection = suite::Connection::open(parser.value(db));
    QStringList keys;
    const suite::RecordsetPtr rows = connection->Execute(
        u"SELECT Af_Cve_Activo_Fijo FROM Activo_Fijo WHERE Es_Cve_Estado = 'AC' ORDER BY Af_Cve_Activo_Fijo"_s);
    for (; !rows->Eof() && keys.size() < n; rows->MoveNext())
        keys << rows->fieldValue(0).toString();
    if (keys.isEmpty()) {
        std::fprintf(stderr, "bench_bulk: the catalogue has no active assets\n");
        return 2;
    }
    const int labels = int(keys.size()); // a small catalogue has fewer
    std::printf("%d labels on %s\n", labels, qPrintable(parser.value(db)));

    QStringList texts;
    print("labels filled (a statement each)", timed(r, [&] { texts = filled(*connection, keys); }));

    const suite::LabelSetup roll(0, 0, -1, -1, Points, 1);
    suite::LabelSheet sheet;
    sheet.page = u"A4"_s;
    sheet.rows = 8;
    sheet.columns = 3;
    sheet.topMm = sheet.bottomMm = 4.5;
    const suite::LabelPages onRoll(texts, suite::LabelSheet(), Points, roll.pageLayout());
    const suite::LabelPages onSheets(texts, sheet, Points, roll.pageLayout());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"etiquetas.pdf"_s);
    print("PDF, roll (one label a page)", timed(r, [&] { writePdf(onRoll, pdf); }));
    print("PDF, A4 sheets of 3 x 8", timed(r, [&] { writePdf(onSheets, pdf); }));
    std::printf("  %d pages, %lld KB\n", onSheets.pageCount(), static_cast<long long>(QFile(pdf).size() / 1024));

    int drawn = 0;
    print("print preview open, A4 sheets of 3 x 8", timed(r, [&] { previewOpens(onSheets, &drawn); }));
    std::printf("  pages drawn by the time it takes input: %d of %d\n", drawn, onSheets.pageCount());

    if (parser.isSet(host)) {
        QFile list(dir.filePath(u"claves.txt"_s));
        list.open(QIODevice::WriteOnly);
        list.write(keys.join(u'\n').toUtf8());
        list.close();
        print("talvexor --labels (start, print, end)", timed(r, [&] {
                  QProcess run;
                  run.start(parser.value(host), {u"--db"_s, parser.value(db), u"--labels"_s, list.fileName(),
                                                 u"--print-dir"_s, dir.filePath(u"host"_s)});
                  run.waitForFinished(600000);
              }));
    }

    // The asset changed H times, among a thousand others changed a hundred times each.
    const int changes = parser.value(history).toInt();
    QElapsedTimer clock;
    clock.start();
    connection->BeginTrans();
    writeHistory(*connection, keys.mid(0, 1), changes);
    writeHistory(*connection, keys.mid(1, 1000), 100);
    std::printf("history: %d changes of %s and 100 of each of %lld others written in %.1f s\n", changes,
                qPrintable(keys[0]), static_cast<long long>(keys.mid(1, 1000).size()), clock.nsecsElapsed() / 1e9);
    int shown = 0;
    print("Información: the newest page of its history", timed(r, [&] {
              suite::RecordHistoryModel model(*connection, u"ACTIVO_FIJO"_s, keys[0]);
              shown = model.rowCount();
          }));
    print("Información: the page after 50 pages", timed(r, [&] {
              suite::RecordHistoryModel model(*connection, u"ACTIVO_FIJO"_s, keys[0]);
              for (int page = 0; page < 50 && model.canFetchMore({}); ++page)
                  model.fetchMore({});
          }));
    std::printf("  %d changes a page\n", shown);
    connection->RollbackTrans();
    return 0;
}
