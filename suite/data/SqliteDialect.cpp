#include "suite/data/SqliteDialect.h"

#include "suite/data/SqlLexer.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// The path of descriptions from the root of the chart of accounts down to one
// account, joined by " / "; NULL when the account does not exist. A parent
// chain that loops stops at the first account seen twice.
void rutaCuentaContable(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3 *db = sqlite3_context_db_handle(context);
    sqlite3_stmt *stmt = nullptr;
    const char *sql = "SELECT Cc_Descripcion, Cc_Cuenta_Padre FROM Cuenta_Contable WHERE Cc_Cve_Cuenta_Contable = ?1";
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_result_error(context, sqlite3_errmsg(db), -1);
        return;
    }
    QString account = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])));
    QStringList path;
    QSet<QString> seen;
    while (!account.isEmpty() && !seen.contains(account)) {
        seen.insert(account);
        const QByteArray key = account.toUtf8();
        sqlite3_reset(stmt);
        sqlite3_bind_text(stmt, 1, key.constData(), key.size(), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW) {
            sqlite3_result_error(context, sqlite3_errmsg(db), -1);
            sqlite3_finalize(stmt);
            return;
        }
        path.prepend(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
        account = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
    }
    sqlite3_finalize(stmt);
    if (path.isEmpty()) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray text = path.join(u" / "_s).toUtf8();
    sqlite3_result_text(context, text.constData(), text.size(), SQLITE_TRANSIENT);
}

QDate isoDate(const QString &text)
{
    if (text.size() < 10 || text.at(4) != u'-' || text.at(7) != u'-')
        return {};
    return QDate::fromString(text.left(10), u"yyyy-MM-dd"_s);
}

QDateTime isoStamp(const QString &text)
{
    const QDate date = isoDate(text);
    if (!date.isValid())
        return {};
    if (text.size() == 10)
        return QDateTime(date, QTime(0, 0));
    if (text.size() < 19 || (text.at(10) != u' ' && text.at(10) != u'T'))
        return {};
    QTime time = QTime::fromString(text.mid(11, 8), u"HH:mm:ss"_s);
    if (!time.isValid())
        return {};
    if (text.size() > 20 && text.at(19) == u'.')
        time = time.addMSecs(qRound(text.mid(19).toDouble() * 1000));
    return QDateTime(date, time);
}

sqlite3 *nativeHandle(const QSqlDatabase &database)
{
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw SuiteError(u"El controlador de SQLite no entrega su conexión nativa"_s);
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.data());
    if (!db)
        throw SuiteError(u"La base de datos SQLite no está abierta"_s);
    return db;
}

// Below this a save may not fit: the WAL grows by whole pages as it writes.
constexpr qint64 MinimumFreeBytes = 1024 * 1024;

} // namespace

SqliteDialect::SqliteDialect()
    : Dialect({u"sqlite"_s, u"QSQLITE"_s, u"LIKE"_s, u"INTEGER PRIMARY KEY AUTOINCREMENT"_s, u"TIMESTAMP"_s,
               u"strftime('%Y-%m-%dT%H:%M:%S', 'now', 'localtime')"_s, u"upper(%1)"_s})
{
}

void SqliteDialect::prepare(QSqlDatabase &database) const
{
    sqlite3 *db = nativeHandle(database);
    const int rc = sqlite3_create_function_v2(db, "Get_Ruta_Cuenta_Contable", 1, SQLITE_UTF8, nullptr,
                                              rutaCuentaContable, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw SuiteError(QString::fromUtf8(sqlite3_errmsg(db)));
}

QString SqliteDialect::writeRefusal(const QSqlDatabase &database) const
{
    const char *file = sqlite3_db_filename(nativeHandle(database), "main");
    if (!file || !*file)
        return {}; // in memory
    const QFileInfo info(QString::fromUtf8(file));
    // The folder first: a file in a folder that takes no new files is opened
    // for reading only whatever its own permission.
    if (::access(QFile::encodeName(info.absolutePath()).constData(), W_OK | X_OK) != 0) {
        return u"La carpeta %1 no deja escribir, y la base de datos necesita crear en ella sus archivos de trabajo. "
               "Para hacer cambios, pida permiso de escritura sobre la carpeta y vuelva a abrir la pantalla."_s
            .arg(info.absolutePath());
    }
    // SQLite opens a file it may not write for reading only, and says so
    // only at the first write.
    if (sqlite3_db_readonly(nativeHandle(database), "main") == 1
        || ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK) != 0) {
        return u"El archivo de la base de datos %1 es de solo lectura. Para hacer cambios, pida permiso de escritura "
               "sobre él y vuelva a abrir la pantalla."_s.arg(info.absoluteFilePath());
    }
    const QStorageInfo disk(info.absolutePath());
    if (disk.isValid() && disk.bytesAvailable() < MinimumFreeBytes) {
        return u"El disco de la base de datos está lleno (quedan %1 KB libres en %2). Libere espacio y vuelva a "
               "abrir la pantalla."_s.arg(disk.bytesAvailable() / 1024).arg(disk.rootPath());
    }
    return {};
}

std::function<void()> SqliteDialect::interrupter(const QSqlDatabase &database) const
{
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return [] {};
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.data());
    return [db] { sqlite3_interrupt(db); };
}

QVariant SqliteDialect::normalize(const QString &column, const QVariant &value) const
{
    ColumnKind kind;
    if (!Schema::kindOf(column, &kind))
        return value;
    switch (kind) {
    case ColumnKind::Money:
    case ColumnKind::Percent:
    case ColumnKind::Double: {
        if (value.isNull())
            return QVariant(QMetaType::fromType<double>());
        bool ok = false;
        const double number = value.toDouble(&ok);
        return ok ? QVariant(number) : value;
    }
    case ColumnKind::Date: {
        if (value.isNull())
            return QVariant(QMetaType::fromType<QDate>());
        const QDate date = isoDate(value.toString());
        return date.isValid() ? QVariant(date) : value;
    }
    case ColumnKind::Stamp: {
        if (value.isNull())
            return QVariant(QMetaType::fromType<QDateTime>());
        const QDateTime stamp = isoStamp(value.toString());
        return stamp.isValid() ? QVariant(stamp) : value;
    }
    default:
        return value;
    }
}

QString SqliteDialect::beginSql() const
{
    // Take the write lock at once: two processes that both read and then try
    // to write in deferred transactions would have one of them fail at once
    // instead of waiting for the busy timeout.
    return u"BEGIN IMMEDIATE"_s;
}

QString SqliteDialect::indexNamesSql() const
{
    return u"SELECT name FROM sqlite_master WHERE type = 'index'"_s;
}

QStringList SqliteDialect::routinesSql() const
{
    // The label procedure of the fixed-asset screen, kept as a statement.
    return {
        u"INSERT INTO Procedimiento (Pr_Nombre, Pr_Sentencia) "
        "SELECT 'Etiqueta_Activo_Fijo', "
        "'SELECT a.Af_Cve_Activo_Fijo, a.Af_Descripcion, a.Af_Numero_Serie, a.Af_Marca, a.Af_Modelo, "
        "e.Em_Descripcion FROM Activo_Fijo a LEFT JOIN Empresa e ON e.Em_Cve_Empresa = a.Em_Cve_Empresa "
        "WHERE a.Af_Cve_Activo_Fijo = :1' "
        "WHERE NOT EXISTS (SELECT 1 FROM Procedimiento WHERE Pr_Nombre = 'Etiqueta_Activo_Fijo')"_s,
    };
}

QStringList SqliteDialect::versionTriggerSql(const TableDef &table, const QString &column) const
{
    // A trigger cannot change the row being written: it writes it again,
    // which the WHEN keeps from going round (and SQLite's triggers do not
    // fire themselves unless asked to).
    return {u"CREATE TRIGGER IF NOT EXISTS TR_%1_Version AFTER UPDATE ON %1 FOR EACH ROW "
            "WHEN NEW.%2 IS OLD.%2 "
            "BEGIN UPDATE %1 SET %2 = OLD.%2 + 1 WHERE rowid = NEW.rowid; END"_s.arg(table.name, column)};
}

// An FTS5 table of trigrams over a copy of the key and the description kept
// in a table of its own (its rows numbered by an INTEGER PRIMARY KEY, which
// VACUUM keeps, and found by key through a unique index), kept in step by
// triggers on the catalogue. The trigram tokenizer folds case (all of it,
// where LIKE folds only ASCII: it finds more, never less).
bool SqliteDialect::hasSearchIndex(const SearchIndexDef &index, const QSqlDatabase &database) const
{
    QStringList names;
    for (const QString &suffix : {u""_s, u"_Texto"_s, u"_Alta"_s, u"_Baja"_s, u"_Cambio"_s})
        names << u"'"_s + (index.name + suffix).toLower() + u"'"_s;
    QSqlQuery query(database);
    if (!query.exec(u"SELECT COUNT(*) FROM sqlite_master WHERE lower(name) IN (%1)"_s.arg(names.join(u", "_s)))
        || !query.next()) {
        throw SuiteError(query.lastError().text());
    }
    return query.value(0).toInt() == names.size();
}

QStringList SqliteDialect::searchIndexSql(const SearchIndexDef &index, const QSqlDatabase &database) const
{
    // Made together: a part missing may have missed changes, so all is made again.
    if (hasSearchIndex(index, database))
        return {};
    const QString texts = index.name + u"_Texto"_s;
    const QString inserted = index.name + u"_Alta"_s;
    const QString deleted = index.name + u"_Baja"_s;
    const QString updated = index.name + u"_Cambio"_s;
    const QString &key = index.key;
    const QString add = u"INSERT INTO %1 (Clave, Descripcion) VALUES (new.%2, %3); "
                        "INSERT INTO %4 (rowid, Clave, Descripcion) SELECT Fila, Clave, Descripcion FROM %1 "
                        "WHERE Clave = new.%2; "_s.arg(texts, key, searchDescription(index, u"new."_s), index.name);
    const QString remove = u"INSERT INTO %1 (%1, rowid, Clave, Descripcion) SELECT 'delete', Fila, Clave, Descripcion "
                           "FROM %2 WHERE Clave = old.%3; DELETE FROM %2 WHERE Clave = old.%3; "_s.arg(index.name, texts,
                                                                                                      key);
    return dropSearchIndexSql(index) + QStringList{
        u"CREATE TABLE %1 (Fila INTEGER PRIMARY KEY, Clave TEXT NOT NULL UNIQUE, Descripcion TEXT)"_s.arg(texts),
        u"CREATE VIRTUAL TABLE %1 USING fts5(Clave, Descripcion, content = '%2', content_rowid = 'Fila', "
        "columnsize = 0, tokenize = 'trigram')"_s.arg(index.name, texts),
        u"INSERT INTO %1 (Clave, Descripcion) SELECT %2, %3 FROM %4"_s.arg(texts, key,
                                                                          searchDescription(index, QString()),
                                                                          index.table),
        u"INSERT INTO %1 (%1) VALUES ('rebuild')"_s.arg(index.name),
        // One b-tree per trigram: a look-up reads fewer pages than across the fill's segments.
        u"INSERT INTO %1 (%1) VALUES ('optimize')"_s.arg(index.name),
        u"CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3END"_s.arg(inserted, index.table, add),
        u"CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3END"_s.arg(deleted, index.table, remove),
        u"CREATE TRIGGER %1 AFTER UPDATE ON %2 WHEN old.%3 IS NOT new.%3 OR (%4) IS NOT (%5) BEGIN %6%7END"_s.arg(
            updated, index.table, key, searchDescription(index, u"old."_s), searchDescription(index, u"new."_s),
            remove, add),
    };
}

QStringList SqliteDialect::dropSearchIndexSql(const SearchIndexDef &index) const
{
    return {
        u"DROP TRIGGER IF EXISTS %1_Alta"_s.arg(index.name),
        u"DROP TRIGGER IF EXISTS %1_Baja"_s.arg(index.name),
        u"DROP TRIGGER IF EXISTS %1_Cambio"_s.arg(index.name),
        u"DROP TABLE IF EXISTS "_s + index.name,
        u"DROP TABLE IF EXISTS %1_Texto"_s.arg(index.name),
    };
}

namespace {

// The FTS5 query of text: phrases of trigrams, each piece found as a
// substring, its wildcards and quotes plain characters.
QString trigramQuery(const QStringList &pieces)
{
    QStringList phrases;
    for (QString piece : pieces)
        phrases << u'"' + piece.replace(u'"', u"\"\""_s) + u'"';
    return u"'"_s + sqlEscape(phrases.join(u" AND "_s)) + u"'"_s;
}

} // namespace

QString SqliteDialect::searchConditionSql(const SearchIndexDef &index, const QString &text, const QString &key,
                                          const QString &) const
{
    if (text.toUcs4().size() < 3)
        return {};
    return u"%1 IN (SELECT Clave FROM %2 WHERE %2 MATCH %3)"_s.arg(key, index.name, trigramQuery(searchPieces(text)));
}

QString SqliteDialect::searchCountSql(const SearchIndexDef &index, const QString &text, int atMost) const
{
    // Rowids only: the copy of the texts is not read.
    if (text.toUcs4().size() < 3)
        return {};
    return u"SELECT COUNT(*) FROM (SELECT rowid FROM %1 WHERE %1 MATCH %2 LIMIT %3) k"_s.arg(
        index.name, trigramQuery(searchPieces(text)), QString::number(atMost + 1));
}

QString SqliteDialect::qualifiedFunction(const QString &word) const
{
    return word.mid(4); // "dbo." dropped: the function is registered by its bare name
}

QString SqliteDialect::execStatement(const QString &name, const QStringList &argumentLiterals,
                                     const QSqlDatabase &database) const
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    const QString lookup = u"SELECT Pr_Sentencia FROM Procedimiento WHERE Pr_Nombre = '"_s + sqlEscape(name) + u"'"_s;
    if (!query.exec(lookup)) {
        const QSqlError error = query.lastError();
        throw SuiteError(error.databaseText().isEmpty() ? error.text() : error.databaseText());
    }
    if (!query.next())
        throw SuiteError(u"No se encontró el procedimiento almacenado '%1'"_s.arg(name));
    const QString body = query.value(0).toString();

    QVector<SqlLexer::Token> tokens = SqlLexer::tokenize(body);
    for (auto &t : tokens) {
        if (t.kind != SqlLexer::Kind::Parameter)
            continue;
        const int index = t.text.mid(1).toInt() - 1;
        if (index < 0 || index >= argumentLiterals.size())
            throw SuiteError(u"El procedimiento '%1' espera el parámetro %2, que no se pasó"_s.arg(name, t.text));
        const QString &argument = argumentLiterals.at(index);
        t.text = argument == u"NULL"_s ? argument
                                       : u"'"_s + sqlEscape(SqlLexer::unquote(argument)) + u"'"_s;
    }
    return SqlLexer::join(tokens);
}

} // namespace suite
