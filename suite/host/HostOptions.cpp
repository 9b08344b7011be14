#include "suite/host/HostOptions.h"

#include <QCommandLineParser>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace suite {

bool HostOptions::parse(const QStringList &arguments, HostOptions &options, QString &error, QString &helpText)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Talvexor: abre la pantalla XB733, Catalogo de activo fijo."_s);
    const QCommandLineOption help({u"h"_s, u"help"_s}, u"Muestra esta ayuda."_s);
    const QCommandLineOption db(u"db"_s, u"Base de datos: sqlite:ARCHIVO o postgresql://usuario@host:puerto/base."_s, u"URL"_s);
    const QCommandLineOption usuario(u"usuario"_s, u"Clave del operador (omisión: el usuario del sistema)."_s, u"USUARIO"_s);
    const QCommandLineOption initDb(u"init-db"_s, u"Crea el esquema y termina."_s);
    const QCommandLineOption demo(u"demo"_s, u"Carga los datos de demostración en una base vacía y termina."_s);
    const QCommandLineOption screenshot(u"screenshot"_s, u"Guarda una imagen de la ventana en PNG y termina."_s, u"PNG"_s);
    const QCommandLineOption script(u"script"_s, u"Ejecuta las líneas de ARCHIVO (- es la entrada estándar) y escribe JSON."_s, u"ARCHIVO"_s);
    const QCommandLineOption printDir(u"print-dir"_s, u"Carpeta de los documentos impresos en modo guion."_s, u"CARPETA"_s);
    const QCommandLineOption trace(u"trace"_s, u"Escribe cada sentencia SQL y su duración en la salida de errores."_s);
    const QCommandLineOption labels(u"labels"_s, u"Imprime las etiquetas de las claves de ARCHIVO, una por línea "
                                                 "(- es la entrada estándar); con --print-dir, en PDF y sin ventana."_s,
                                    u"ARCHIVO"_s);
    parser.addOptions({help, db, usuario, initDb, demo, screenshot, script, printDir, trace, labels});
    parser.addOptions(TransferOptions::options());

    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(help)) {
        helpText = parser.helpText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = u"Argumento inesperado: %1"_s.arg(parser.positionalArguments().constFirst());
        return false;
    }
    options.databaseUrl = parser.value(db);
    options.user = parser.value(usuario);
    options.scriptFile = parser.value(script);
    options.printDirectory = parser.value(printDir);
    options.screenshotFile = parser.value(screenshot);
    options.initDatabase = parser.isSet(initDb);
    options.loadDemo = parser.isSet(demo);
    options.trace = parser.isSet(trace);
    if (parser.isSet(script) && options.scriptFile.isEmpty()) {
        error = u"--script necesita un archivo (o - para la entrada estándar)."_s;
        return false;
    }
    options.labelsFile = parser.value(labels);
    if (parser.isSet(labels) && (options.labelsFile.isEmpty() || parser.isSet(script))) {
        error = options.labelsFile.isEmpty() ? u"--labels necesita un archivo (o - para la entrada estándar)."_s
                                             : u"--labels y --script no van juntos."_s;
        return false;
    }
    if (!options.transfer.read(parser, error))
        return false;
    if (options.transfer.active() && (options.scripted() || options.labels())) {
        error = u"--import y --export no van con --script ni con --labels."_s;
        return false;
    }
    return true;
}

QString HostOptions::defaultDatabaseFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/demo.db"_s;
}

QString HostOptions::loginName()
{
    for (const char *variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    if (const passwd *entry = getpwuid(getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return u"USUARIO"_s;
}

} // namespace suite
