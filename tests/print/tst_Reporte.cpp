#include "suite/data/Connection.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/print/Reporte.h"
#include "suite/runtime/HostEvents.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestSession.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(program), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Compatibility forms folded, so the "fi" ligature reads as "fi".
QString pdfText(const QString &file)
{
    return run(u"pdftotext"_s, {file, u"-"_s}).normalized(QString::NormalizationForm_KC);
}

QString pdfInfo(const QString &file, const QString &key)
{
    const QRegularExpression line(u"^"_s + key + u":\\s*(.*)$"_s, QRegularExpression::MultilineOption);
    return line.match(run(u"pdfinfo"_s, {file})).captured(1).trimmed();
}

// The QR codes zbarimg reads on the first page rasterised at 150 dpi.
QString qrOf(const QString &file)
{
    const QString png = file + u"-page"_s;
    run(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"150"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s, file, png});
    return run(u"zbarimg"_s, {u"--raw"_s, u"-q"_s, png + u".png"_s}).trimmed();
}

// The label text as the screen builds it: each returned field's value in
// place of its capitalised name in brackets.
QString screenLabel(suite::Connection &c, const QString &label, const QString &asset)
{
    auto row = c.Execute(u"SELECT * FROM Etiqueta WHERE Et_Cve_Etiqueta = '"_s + label + u"'"_s);
    QString text = row->Fields(u"Et_Valor"_s).toString();
    QString statement = row->Fields(u"Et_Sentencia"_s).toString();
    statement = row->Fields(u"Et_Tipo"_s).toString() == u"01"_s
                    ? statement.replace(u"{PARAMETROS}"_s, asset)
                    : u"EXEC "_s + statement + u" '"_s + asset + u"' "_s;
    auto data = c.Execute(statement);
    for (int i = 0; i < data->fieldCount(); ++i)
        text.replace(u'[' + data->fieldName(i).toUpper() + u']', data->fieldValue(i).toString());
    return text;
}

QString scalar(suite::Connection &c, const QString &sql)
{
    return c.Execute(sql)->fieldValue(0).toString();
}

} // namespace

// The print object end to end: documents written unattended and read back
// with poppler and zbar, as a person would read the paper.
class ReporteTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    QStringList printed() const
    {
        return QDir(m_dir->path()).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    }

    static void requireTools()
    {
        for (const QString &tool : {u"pdftotext"_s, u"pdfinfo"_s, u"pdftoppm"_s, u"zbarimg"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(tool + u" is not installed (scripts/install-deps.sh installs it)"_s));
        }
    }

    static void addFormat(suite::Connection &c, const QString &key, const QString &templateText,
                          const QString &statement, const QString &page = u"Letter"_s)
    {
        c.Execute(u"INSERT INTO Formato_Impresion (Fi_Cve_Formato, Fi_Titulo, Fi_Plantilla, Fi_Sentencia, "
                  "Fi_Pagina, Fi_Margen_Mm) VALUES ('%1', 'Prueba', '%2', '%3', '%4', 15)"_s
                      .arg(key, suite::sqlEscape(templateText), suite::sqlEscape(statement), page));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        suite::HostEvents::instance().setUnattended(true);
        suite::HostEvents::instance().setPrintDirectory(m_dir->path());
    }

    void cleanup()
    {
        suite::HostEvents::instance().setUnattended(false);
        suite::HostEvents::instance().setPrintDirectory({});
        m_dir.reset();
    }

    void letterOfTheDemo_data() { TestDatabase::addBackendRows(); }

    // The custody letter of an employee's asset and of a client's, as the
    // screen asks for it, on each backend.
    void letterOfTheDemo()
    {
        requireTools();
        QFETCH(QString, backend);
        TALVEXOR_OPEN_OR_SKIP(db, backend, true)
        TestSession session(std::move(db));
        suite::Connection &c = session.connection();
        QSignalSpy spy(&suite::HostEvents::instance(), &suite::HostEvents::printed);

        const QString employee = scalar(c, u"SELECT MIN(Af_Cve_Activo_Fijo) FROM Activo_Fijo WHERE Af_Tipo_Responsable = 'EM'"_s);
        const QString client = scalar(c, u"SELECT MIN(Af_Cve_Activo_Fijo) FROM Activo_Fijo WHERE Af_Tipo_Responsable = 'CL'"_s);
        const auto person = c.Execute(u"SELECT p.Em_Nombre, p.Em_Apellido_Paterno, p.Em_Apellido_Materno FROM Empleado p "
                                      "JOIN Activo_Fijo a ON a.Af_Responsable = p.Em_Cve_Empleado "
                                      "WHERE a.Af_Cve_Activo_Fijo = '"_s + employee + u"'"_s);
        const QString personName = QStringList{person->fieldValue(0).toString(), person->fieldValue(1).toString(),
                                               person->fieldValue(2).toString()}.join(u' ');
        const QString clientName = scalar(c, u"SELECT c.Cl_Descripcion FROM Cliente c JOIN Activo_Fijo a ON "
                                             "a.Af_Responsable = c.Cl_Cve_Cliente WHERE a.Af_Cve_Activo_Fijo = '"_s + client + u"'"_s);
        const QLocale mexican(QLocale::Spanish, QLocale::Mexico);
        const QString before = mexican.toString(QDate::currentDate(), u"d 'de' MMMM 'de' yyyy"_s);

        const QVector<QPair<QString, QString>> cases = {{employee, personName}, {client, clientName}, {employee, personName}};
        for (const auto &[asset, responsible] : cases) {
            spy.clear();
            suite::Reporte().Imprime(u"RESPONSIVA_AF"_s, asset, u""_s, 0, 0, u""_s);
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toString(), u"Imprime"_s);
            QCOMPARE(spy.at(0).at(1).toList(), (QVariantList{u"RESPONSIVA_AF"_s, asset, u""_s, 0.0, 0.0, u""_s}));
            const QString file = spy.at(0).at(2).toString();
            QCOMPARE(QFileInfo(file).absolutePath(), QDir(m_dir->path()).absolutePath());

            const QString text = pdfText(file).simplified();
            QVERIFY2(text.contains(u"CARTA RESPONSIVA DE ACTIVO FIJO"_s), qPrintable(text));
            QVERIFY2(text.contains(asset), qPrintable(text));
            QVERIFY2(text.contains(responsible), qPrintable(responsible + u" not in "_s + text));
            const auto row = c.Execute(u"SELECT Af_Descripcion, Af_Numero_Serie FROM Activo_Fijo WHERE Af_Cve_Activo_Fijo = '"_s
                                       + asset + u"'"_s);
            QVERIFY(text.contains(row->fieldValue(0).toString()));
            QVERIFY(text.contains(row->fieldValue(1).toString()));
            const QString after = mexican.toString(QDate::currentDate(), u"d 'de' MMMM 'de' yyyy"_s);
            QVERIFY2(text.contains(before) || text.contains(after), qPrintable(text));

            QCOMPARE(pdfInfo(file, u"Pages"_s), u"1"_s);
            QVERIFY(pdfInfo(file, u"Page size"_s).contains(u"(letter)"_s));
            QCOMPARE(pdfInfo(file, u"Title"_s), u"Carta responsiva de activo fijo"_s);
            QCOMPARE(qrOf(file), asset);
        }
        // The same letter printed again is a new file; none was overwritten.
        QCOMPARE(printed().size(), 3);
    }

    void labels_data()
    {
        QTest::addColumn<QString>("text");     // a label of the demo by its key, or the text itself
        QTest::addColumn<QVector<double>>("numbers");
        QTest::addColumn<QString>("qr");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("pageSize");

        const QVector<double> screen = {0, 0, -1, -1, 7, -1};
        QTest::newRow("demo label by statement, the screen's numbers")
            << u"AF01"_s << screen << u"0000000007"_s << QStringList{u"ACTIVO FIJO 0000000007"_s, u"Serie: "_s}
            << 1 << u"227 x 113 pts"_s;
        QTest::newRow("demo label by procedure")
            << u"AF02"_s << screen << u"0000000007"_s << QStringList{u"ACTIVO FIJO 0000000007"_s} << 1
            << u"227 x 113 pts"_s;
        QTest::newRow("plain text, inline code, 100 x 50, three copies")
            << u"Equipo {QR:ABC-123}\nfin"_s << QVector<double>{0, 0, 100, 50, 9, 3} << u"ABC-123"_s
            << QStringList{u"Equipo"_s, u"fin"_s} << 3 << u"283 x 142 pts"_s;
        QTest::newRow("rich text, sized code floating right")
            << u"<p><b>Caja</b> fuerte {QR 15 derecha:Ñandú &amp; Cía}</p>"_s << QVector<double>{2, 1, 60, 30, 8, 1}
            << u"Ñandú & Cía"_s << QStringList{u"Caja fuerte"_s} << 1 << u"170 x 85 pts"_s;
    }

    void labels()
    {
        requireTools();
        QFETCH(QString, text);
        QFETCH(QVector<double>, numbers);
        TestSession session(true);
        if (text.startsWith(u"AF0"_s))
            text = screenLabel(session.connection(), text, u"0000000007"_s);
        QSignalSpy spy(&suite::HostEvents::instance(), &suite::HostEvents::printed);

        suite::Reporte().ImprimeTexto(text, u""_s, numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]);

        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), u"ImprimeTexto"_s);
        QVariantList arguments{text, u""_s};
        for (double n : numbers)
            arguments.append(n);
        QCOMPARE(spy.at(0).at(1).toList(), arguments);
        const QString file = spy.at(0).at(2).toString();
        QVERIFY(QFileInfo(file).fileName().startsWith(u"etiqueta-"_s));
        QTEST(qrOf(file), "qr");
        const QString shownText = pdfText(file).simplified();
        QFETCH(QStringList, shown);
        for (const QString &part : shown)
            QVERIFY2(shownText.contains(part), qPrintable(part + u" not in "_s + shownText));
        QTEST(pdfInfo(file, u"Pages"_s).toInt(), "pages");
        QFETCH(QString, pageSize);
        QVERIFY2(pdfInfo(file, u"Page size"_s).startsWith(pageSize), qPrintable(pdfInfo(file, u"Page size"_s)));
    }

    void valuesPrintAsStored_data()
    {
        QTest::addColumn<bool>("label");
        QTest::addColumn<QString>("value");
        QTest::newRow("quote and markup in a letter") << false << uR"(O'Brien <b>&amp;</b> "x" > y)"_s;
        QTest::newRow("brackets and directives in a letter") << false << u"[NOMBRE] {FECHA} {QR:no}"_s;
        QTest::newRow("plain label") << true << uR"(5 < 6 & "x" {QR})"_s;
    }

    // Whatever a value holds is printed, never interpreted.
    void valuesPrintAsStored()
    {
        requireTools();
        QFETCH(bool, label);
        QFETCH(QString, value);
        TestSession session(true);
        addFormat(session.connection(), u"ECO"_s, u"<p>Valor: [NOMBRE].</p>"_s,
                  u"SELECT '{PARAMETROS}' AS Nombre"_s);
        QSignalSpy spy(&suite::HostEvents::instance(), &suite::HostEvents::printed);

        if (label)
            suite::Reporte().ImprimeTexto(u"Valor: "_s + value + u"."_s, u""_s, 0, 0, -1, -1, 7, -1);
        else
            suite::Reporte().Imprime(u"ECO"_s, value, u""_s, 0, 0, u""_s);

        QCOMPARE(spy.count(), 1);
        const QString file = spy.at(0).at(2).toString();
        QCOMPARE(pdfText(file).simplified(), u"Valor: "_s + value + u"."_s);
        QCOMPARE(qrOf(file), QString());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("first"); // the format, or the label's text
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<double>("left");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown format") << u"Imprime"_s << u"NO_EXISTE"_s << u"1"_s << 0.0
                                        << u"No existe el formato de impresión \"NO_EXISTE\"."_s;
        QTest::newRow("no row for the key")
            << u"Imprime"_s << u"RESPONSIVA_AF"_s << u"9999999999"_s << 0.0
            << u"El formato de impresión \"RESPONSIVA_AF\" no encontró datos para \"9999999999\"."_s;
        QTest::newRow("statement fails") << u"Imprime"_s << u"MALA"_s << u"1"_s << 0.0
                                         << u"No se pudieron leer los datos del formato de impresión \"MALA\": "_s;
        QTest::newRow("unknown page") << u"Imprime"_s << u"SERVILLETA"_s << u"1"_s << 0.0
                                      << u"El tamaño de página \"Servilleta\" no se conoce"_s;
        QTest::newRow("unknown QR option") << u"ImprimeTexto"_s << u"{QR grande:1}"_s << u""_s << 0.0
                                           << u"El código QR tiene una opción que no se conoce: \"grande\""_s;
        QTest::newRow("QR without value") << u"ImprimeTexto"_s << u"{QR:}"_s << u""_s << 0.0
                                          << u"El código QR no tiene valor que codificar."_s;
        QTest::newRow("offset beyond the label") << u"ImprimeTexto"_s << u"x"_s << u""_s << 90.0
                                                 << u"Los márgenes no dejan espacio para imprimir"_s;
        QTest::newRow("empty label") << u"ImprimeTexto"_s << u" \n "_s << u""_s << 0.0
                                     << u"La etiqueta no tiene texto que imprimir."_s;
    }

    // Each failure says why in Spanish, and leaves no document behind.
    void failures()
    {
        QFETCH(QString, op);
        QFETCH(QString, first);
        QFETCH(QString, parameter);
        QFETCH(double, left);
        QFETCH(QString, error);
        TestSession session(true);
        addFormat(session.connection(), u"MALA"_s, u"[X]"_s, u"SELECT X FROM No_Existe WHERE X = '{PARAMETROS}'"_s);
        addFormat(session.connection(), u"SERVILLETA"_s, u"[X]"_s, u""_s, u"Servilleta"_s);
        QSignalSpy spy(&suite::HostEvents::instance(), &suite::HostEvents::printed);

        QString description;
        try {
            if (op == u"Imprime"_s)
                suite::Reporte().Imprime(first, parameter, u""_s, 0, 0, u""_s);
            else
                suite::Reporte().ImprimeTexto(first, u""_s, left, 0, -1, -1, 7, -1);
        } catch (const suite::SuiteError &e) {
            description = e.description();
        }
        QVERIFY2(description.startsWith(error), qPrintable(description));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(printed(), QStringList());
    }

    // A person gets the preview of the document and no file is written.
    void personSeesThePreview()
    {
        TestSession session(true);
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
#include "tst_Reporte.moc"
