#include "suite/data/DatabaseFault.h"

#include <QSqlError>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

enum class Fault { None, Repeated, TooLong, TooBig, Busy, TooSlow, LinkLost, ReadOnly, DiskFull, Damaged, NoFile, Disk };

// SQLite answers with its result code (the extended one carries the primary
// in its low byte), PostgreSQL with the SQLSTATE.
Fault sqliteFault(int code)
{
    switch (code & 0xff) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return Fault::Busy;
    case 8:  // SQLITE_READONLY
        return Fault::ReadOnly;
    case 10: // SQLITE_IOERR
        return Fault::Disk;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return Fault::Damaged;
    case 13: // SQLITE_FULL
        return Fault::DiskFull;
    case 14: // SQLITE_CANTOPEN
        return Fault::NoFile;
    default:
        return Fault::None;
    }
}

Fault postgresFault(const QString &state)
{
    if (state == u"23505"_s)
        return Fault::Repeated;
    if (state == u"22001"_s)
        return Fault::TooLong;
    if (state == u"22003"_s)
        return Fault::TooBig;
    // A deadlock, a serialization failure, a lock not granted within the wait.
    if (state == u"40P01"_s || state == u"40001"_s || state == u"55P03"_s)
        return Fault::Busy;
    if (state == u"57014"_s)
        return Fault::TooSlow;
    if (state.startsWith(u"08"_s) || state == u"57P01"_s || state == u"57P02"_s || state == u"57P03"_s)
        return Fault::LinkLost;
    if (state == u"25006"_s || state == u"42501"_s)
        return Fault::ReadOnly;
    if (state == u"53100"_s)
        return Fault::DiskFull;
    if (state == u"XX001"_s || state == u"XX002"_s)
        return Fault::Damaged;
    if (state == u"58030"_s)
        return Fault::Disk;
    return Fault::None;
}

QString sentence(Fault fault)
{
    switch (fault) {
    case Fault::Repeated:
        return u"Ya hay otro registro con ese valor y la base de datos no admite repetirlo."_s;
    case Fault::TooLong:
        return u"Un texto es más largo de lo que cabe en su columna."_s;
    case Fault::TooBig:
        return u"Un número no cabe en su columna."_s;
    case Fault::Busy:
        return u"Otro usuario ocupaba los mismos datos a la vez; vuelva a intentarlo."_s;
    case Fault::TooSlow:
        return u"La base de datos tardó demasiado en responder y la orden se canceló; vuelva a intentarlo y, si se "
               "repite, avise al administrador."_s;
    case Fault::LinkLost:
        return DatabaseFault::linkLost();
    case Fault::ReadOnly:
        return u"La base de datos no admite cambios (es de solo lectura o usted no tiene permiso para escribir en "
               "ella) y no se guardó nada. Pida ese permiso al administrador."_s;
    case Fault::DiskFull:
        return u"El disco de la base de datos está lleno y no se guardó nada. Libere espacio o avise al "
               "administrador, y vuelva a intentarlo."_s;
    case Fault::Damaged:
        return u"El archivo de la base de datos está dañado o no es una base de datos de Talvexor. No siga "
               "trabajando en él: avise al administrador para recuperarlo de su copia de seguridad."_s;
    case Fault::NoFile:
        return u"No se pudo abrir el archivo de la base de datos: no está, o su carpeta no deja crear los archivos "
               "de trabajo que necesita. Compruebe la ruta y los permisos de la carpeta."_s;
    case Fault::Disk:
        return u"El disco no dejó leer o escribir la base de datos y no se guardó nada. Compruebe el disco o avise "
               "al administrador."_s;
    case Fault::None:
        break;
    }
    return {};
}

} // namespace

QString DatabaseFault::describe(const QSqlError &error, const QString &backend, bool linkLost)
{
    const QString database = error.databaseText().trimmed();
    const QString driver = error.driverText().trimmed();
    QString text;
    if (database.isEmpty())
        text = driver.isEmpty() ? u"Error desconocido de la base de datos"_s : driver;
    else if (driver.isEmpty() || database.contains(driver))
        text = database;
    else
        text = database + u" ("_s + driver + u')';

    const QString code = error.nativeErrorCode();
    Fault fault = linkLost ? Fault::LinkLost
                  : backend == u"sqlite"_s ? sqliteFault(code.toInt())
                                           : postgresFault(code);
    // SQLite reports a repeated unique value as a constraint, like others.
    if (fault == Fault::None && database.startsWith(u"UNIQUE constraint failed"_s))
        fault = Fault::Repeated;
    const QString reason = sentence(fault);
    return reason.isEmpty() ? text : reason + u'\n' + text;
}

bool DatabaseFault::isBusy(const QSqlError &error)
{
    return sqliteFault(error.nativeErrorCode().toInt()) == Fault::Busy;
}

QString DatabaseFault::linkLost()
{
    return u"Se perdió la conexión con la base de datos (el servidor se reinició o se cortó la red). Vuelva a "
           "intentarlo: la conexión se restablece sola."_s;
}

QString DatabaseFault::cannotOpen(const QSqlError &error, const QString &backend)
{
    // The driver says nothing more precise than its own text when the server cannot be reached.
    if (backend != u"sqlite"_s && error.nativeErrorCode().isEmpty()) {
        return u"No se pudo conectar con el servidor de la base de datos (está apagado, no hay red o la dirección "
               "no es la suya). Compruebe la red o avise al administrador, y vuelva a intentarlo.\n"_s
               + describe(error, backend);
    }
    return describe(error, backend);
}

QString DatabaseFault::cannotReconnect(const QString &reason)
{
    return u"No se pudo restablecer la conexión con la base de datos: "_s + reason;
}

QString DatabaseFault::lockedAtStart(int waitSeconds)
{
    return u"Otro programa tiene bloqueada la base de datos desde hace más de %1 s. Espere a que termine (o "
           "ciérrelo) y vuelva a abrir la pantalla."_s.arg(waitSeconds);
}

} // namespace suite
