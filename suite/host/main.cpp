// talvexor: the suite's host. Opens the XB733 screen on a database, or runs a
// script against it (--script), brings a catalogue in or takes it out
// (--import, --export), or prepares a database (--init-db, --demo).
#include "suite/data/Connection.h"
#include "suite/data/SuiteError.h"
#include "suite/host/CatalogueExport.h"
#include "suite/host/CatalogueImport.h"
#include "suite/host/DatabaseOpening.h"
#include "suite/host/HostLanguage.h"
#include "suite/host/HostOptions.h"
#include "suite/host/HostWindow.h"
#include "suite/host/KeyList.h"
#include "suite/host/ScreenHost.h"
#include "suite/host/ScriptLexer.h"
#include "suite/host/ScriptRunner.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr int exitFailed = 1;
constexpr int exitNoScreen = 2;

void say(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString noDisplayAdvice()
{
    return u"talvexor: no hay pantalla (ni DISPLAY ni WAYLAND_DISPLAY).\n"
           "  Sin ventana, con una imagen de la pantalla:\n"
           "    QT_QPA_PLATFORM=offscreen talvexor --screenshot pantalla.png\n"
           "  En una pantalla virtual:\n"
           "    Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp &\n"
           "    DISPLAY=:99 talvexor\n"
           "  Para guiones: talvexor --script ARCHIVO (no necesita pantalla)."_s;
}

int prepareDatabase(const suite::HostOptions &options)
{
    const QString url = suite::DatabaseOpening::urlOf(options);
    if (options.databaseUrl.isEmpty())
        QDir().mkpath(QFileInfo(suite::HostOptions::defaultDatabaseFile()).absolutePath());
    std::unique_ptr<suite::Connection> connection;
    try {
        suite::DatabaseOpening::refuseMissingFile(url, options.initDatabase || options.databaseUrl.isEmpty());
        connection = suite::Connection::open(url);
    } catch (const suite::SuiteError &e) {
        say(stderr, u"talvexor: no se pudo abrir la base de datos %1: %2"_s.arg(url, e.description()));
        return exitNoScreen;
    }
    try {
        suite::ScreenHost::prepareDatabase(*connection, options.loadDemo);
    } catch (const suite::SuiteError &e) {
        say(stderr, u"talvexor: %1: %2"_s.arg(url, e.description()));
        return exitFailed;
    }
    say(stdout, options.loadDemo ? u"Datos de demostración cargados en %1"_s.arg(url)
                                 : u"Esquema listo en %1"_s.arg(url));
    return 0;
}

int runScript(suite::ScreenHost &host, const suite::HostOptions &options)
{
    QFile out;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    suite::ScriptRunner runner(host, [&out](const QString &line) {
        out.write(line.toUtf8() + '\n');
        out.flush();
    });

    QString printDirectory = options.printDirectory;
    if (printDirectory.isEmpty()) {
        // Kept after the run: the output names the documents written here.
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/talvexor-print-XXXXXX";
        if (char *made = mkdtemp(pattern.data()))
            printDirectory = QString::fromLocal8Bit(made);
    }
    QDir().mkpath(printDirectory);
    runner.install(QDir(printDirectory).absolutePath());

    if (options.labels() && options.labelsFile != u"-"_s && !QFileInfo(options.labelsFile).isReadable()) {
        say(stderr, u"talvexor: no se pudo leer la lista de claves %1"_s.arg(options.labelsFile));
        return exitNoScreen;
    }
    QFile script;
    // Labels printed unattended: the script line that prints them, alone.
    QBuffer labels;
    labels.setData(u"labels %1\n"_s.arg(suite::ScriptLexer::quoted(options.labelsFile)).toUtf8());
    const bool opened = options.labels()                ? labels.open(QIODevice::ReadOnly)
                        : options.scriptFile == u"-"_s ? script.open(stdin, QIODevice::ReadOnly)
                                                       : (script.setFileName(options.scriptFile),
                                                          script.open(QIODevice::ReadOnly));
    if (!opened) {
        say(stderr, u"talvexor: no se pudo leer el guion %1: %2"_s.arg(options.scriptFile, script.errorString()));
        return exitNoScreen;
    }

    try {
        host.openScreen();
    } catch (const suite::SuiteError &e) {
        say(stderr, u"talvexor: %1"_s.arg(e.description()));
        return exitNoScreen;
    }
    runner.attach();
    const int status = options.labels() ? runner.run(labels) : runner.run(script);

    if (!options.screenshotFile.isEmpty() && host.window()
        && !host.window()->grab().save(options.screenshotFile)) {
        say(stderr, u"talvexor: no se pudo guardar %1"_s.arg(options.screenshotFile));
        return exitFailed;
    }
    return status;
}

// A person's labels: the print preview over the screen, then done.
int printLabels(suite::ScreenHost &host, const suite::HostOptions &options)
{
    try {
        const QStringList keys = suite::KeyList::read(options.labelsFile);
        host.openScreen();
        host.printLabels(keys);
    } catch (const suite::SuiteError &e) {
        say(stderr, u"talvexor: %1"_s.arg(e.description()));
        return exitNoScreen;
    }
    return 0;
}

// The import and the export work through the screen, which nobody sees.
int runTransfer(suite::ScreenHost &host, const suite::HostOptions &options)
{
    try {
        host.openScreen();
        if (options.transfer.importing())
            return suite::CatalogueImport(host, options.transfer).run();
        return suite::CatalogueExport(host, options.transfer).run();
    } catch (const suite::SuiteError &e) {
        say(stderr, u"talvexor: %1"_s.arg(e.description()));
        return exitNoScreen;
    }
}

int showScreen(suite::ScreenHost &host, const suite::HostOptions &options)
{
    try {
        host.openScreen();
    } catch (const suite::SuiteError &e) {
        say(stderr, u"talvexor: %1"_s.arg(e.description()));
        return exitNoScreen;
    }
    if (options.screenshotFile.isEmpty())
        return QApplication::exec();

    // Once the window is shown and laid out, its picture, and done.
    int status = 0;
    QTimer::singleShot(0, [&] {
        if (!host.window()->grab().save(options.screenshotFile)) {
            say(stderr, u"talvexor: no se pudo guardar %1"_s.arg(options.screenshotFile));
            status = exitFailed;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    suite::HostOptions options;
    QString error;
    QString help;
    if (!suite::HostOptions::parse(arguments, options, error, help)) {
        if (!help.isEmpty()) {
            say(stdout, help);
            return 0;
        }
        say(stderr, u"talvexor: %1 (--help muestra las opciones)"_s.arg(error));
        return exitNoScreen;
    }

    if (!options.needsWindow()) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(u"Talvexor"_s);
        return prepareDatabase(options);
    }

    if (options.transfer.active())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!hasDisplay()) {
        // A script or a picture needs no person watching: no display either.
        if (options.scripted() || options.labels() || !options.screenshotFile.isEmpty()) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        } else {
            say(stderr, noDisplayAdvice());
            return exitFailed;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Talvexor"_s);
    suite::HostLanguage::apply();

    suite::ScreenHost host(options);
    try {
        host.openDatabase();
    } catch (const suite::SuiteError &e) {
        const QString text = u"no se pudo abrir la base de datos %1: %2"_s.arg(suite::DatabaseOpening::urlOf(options),
                                                                             e.description());
        say(stderr, u"talvexor: "_s + text);
        // A person who started the window from a menu reads no standard error.
        if (!options.unattended() && options.screenshotFile.isEmpty())
            QMessageBox::critical(nullptr, u"Talvexor"_s, u"No se pudo abrir la base de datos.\n\n"_s + e.description());
        return exitNoScreen;
    }

    // Labels with a print folder, or with no display, are written as PDF, reported as a script's are.
    const bool asScript = options.scripted()
                          || (options.labels() && (!options.printDirectory.isEmpty() || !hasDisplay()));
    const int status = options.transfer.active() ? runTransfer(host, options)
                       : asScript                    ? runScript(host, options)
                       : options.labels()            ? printLabels(host, options)
                                                     : showScreen(host, options);
    host.close();
    return status;
}
