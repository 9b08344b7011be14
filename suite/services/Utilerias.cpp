#include "suite/services/Utilerias.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/Schema.h"
#include "suite/data/SqlText.h"
#include "suite/data/SuiteError.h"
#include "suite/kit/SearchDialogPresenter.h"
#include "suite/services/ControlGroup.h"
#include "suite/services/KeyGenerator.h"
#include "suite/services/SchemaCatalog.h"
#include "suite/services/Variants.h"
#include "suite/session/SearchPresenter.h"
#include "suite/session/Session.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

// The variable that lists the tables whose changes may not be registered
// (separated by commas, semicolons or blanks), e.g. while an audit is closed.
const auto blockedVariable = u"BITACORA_BLOQUEADA"_s;

QString valueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(u"yyyy-MM-dd"_s);
    case QMetaType::QDateTime:
        return value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    default:
        return cStr(value);
    }
}

QDateTime parseStamp(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    QDateTime stamp = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!stamp.isValid()) // "yyyy-MM-dd HH:mm:ss", perhaps with fractions or a zone after it
        stamp = QDateTime::fromString(text.left(19), u"yyyy-MM-dd HH:mm:ss"_s);
    if (!stamp.isValid())
        throw SuiteError(u"El servidor devolvió una fecha no válida: \"%1\"."_s.arg(text));
    return stamp;
}

QWidget *focusTarget()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    if (QWidget *window = QApplication::activeWindow())
        return window->focusWidget();
    return nullptr;
}

struct Stroke
{
    int key;
    QString text;
};

// The keys a text stands for: a TAB or CR/LF as those keys, "{TAB}", "{ENTER}"
// and "~" as the platform writes them, anything else as the character typed.
QList<Stroke> strokes(const QString &keys)
{
    QList<Stroke> out;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar c = keys.at(i);
        if (c == u'{') {
            const qsizetype end = keys.indexOf(u'}', i + 1);
            if (end > i + 1) {
                const QString name = keys.mid(i + 1, end - i - 1).toUpper();
                if (name == u"TAB"_s) {
                    out.append({Qt::Key_Tab, u"\t"_s});
                    i = end;
                    continue;
                }
                if (name == u"ENTER"_s) {
                    out.append({Qt::Key_Return, u"\r"_s});
                    i = end;
                    continue;
                }
            }
        }
        if (c == u'\t')
            out.append({Qt::Key_Tab, u"\t"_s});
        else if (c == u'\r' || c == u'\n' || c == u'~')
            out.append({Qt::Key_Return, u"\r"_s});
        else // Qt's key code of a printable character is its upper-case code point (Key_A, Key_Ntilde)
            out.append({int(c.toUpper().unicode()), QString(c)});
    }
    return out;
}

} // namespace

Utilerias::Utilerias(Session *session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

Session &Utilerias::session() const
{
    return m_session ? *m_session : Session::current();
}

QString Utilerias::Consulta(const QString &queryId, int maxRows, const QString &unused, QObject *owner)
{
    Q_UNUSED(unused)
    QWidget *window = qobject_cast<QWidget *>(owner);
    if (!window && qobject_cast<QApplication *>(QCoreApplication::instance()))
        window = QApplication::activeWindow();
    if (SearchPresenter *presenter = session().search())
        return presenter->choose(queryId, maxRows, window);
    SearchDialogPresenter dialog;
    return dialog.choose(queryId, maxRows, window);
}

QString Utilerias::BuscaValor(const QString &table, const QString &searchColumn, const QString &value,
                              const QString &resultColumn, int zero, const QString &e1,
                              const QString &e2, const QString &e3)
{
    Q_UNUSED(zero)
    Q_UNUSED(e1)
    Q_UNUSED(e2)
    Q_UNUSED(e3)
    try {
        Connection *connection = session().connection();
        auto &catalogue = SchemaCatalog::of(*connection);
        const QString tableName = catalogue.table(table);
        const QString search = catalogue.column(tableName, searchColumn).name;
        const QString result = catalogue.column(tableName, resultColumn).name;
        const QString literal = u"'"_s + sqlEscape(value) + u"'"_s;
        // A column the schema compares without regard to case is looked up so,
        // through its unique index.
        const TableDef *declared = Schema::table(tableName);
        const ColumnDef *column = declared ? declared->column(search) : nullptr;
        const Dialect &dialect = connection->dialect();
        const QString condition = column && column->caseBlind
            ? dialect.foldedSql(search) + u" = "_s + dialect.foldedSql(literal)
            : search + u" = "_s + literal;
        auto row = connection->Execute(u"SELECT "_s + result + u" FROM "_s + tableName + u" WHERE "_s + condition
                                       + u" LIMIT 1"_s);
        return row->Eof() ? QString() : valueText(row->fieldValue(0));
    } catch (const SuiteError &error) {
        m_lastError = error.description();
        throw;
    }
}

void Utilerias::SiguienteClave(const QString &table, const QString &keyColumn, const QString &e1,
                               const QString &e2, const QString &e3, const QString &e4,
                               const QString &e5, const QString &e6, const QString &e7, int &next)
{
    Q_UNUSED(e1)
    Q_UNUSED(e2)
    Q_UNUSED(e3)
    Q_UNUSED(e4)
    Q_UNUSED(e5)
    Q_UNUSED(e6)
    Q_UNUSED(e7)
    try {
        next = KeyGenerator(*session().connection()).next(table, keyColumn);
    } catch (const SuiteError &error) {
        m_lastError = error.description();
        throw;
    }
}

QDateTime Utilerias::FechaServidor()
{
    Connection *connection = session().connection();
    auto row = connection->Execute(connection->dialect().currentDateTimeSql());
    if (row->Eof() || row->fieldValue(0).isNull())
        throw SuiteError(u"El servidor no devolvió la fecha actual."_s);
    return parseStamp(row->fieldValue(0));
}

QString Utilerias::FechaTexto(const QDateTime &value)
{
    if (!value.isValid())
        throw SuiteError(u"Fecha no válida."_s);
    return value.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QString Utilerias::FechaSql(const QDateTime &value)
{
    if (!value.isValid())
        throw SuiteError(u"Fecha no válida."_s);
    return FechaSql(value.date());
}

QString Utilerias::FechaSql(const QDate &value)
{
    if (!value.isValid())
        throw SuiteError(u"Fecha no válida."_s);
    return value.toString(u"yyyy-MM-dd"_s);
}

void Utilerias::LimpiaControles(QWidget *form, int group)
{
    ControlGroup(form, group).clear();
}

void Utilerias::HabilitaControles(QWidget *form, int group)
{
    ControlGroup(form, group).enable();
}

void Utilerias::RegistraBitacora(const QString &table, const QString &key, const QString &text, bool &ok)
{
    ok = false;
    try {
        Connection *connection = session().connection();
        auto blocked = connection->Execute(u"SELECT Va_Valor FROM Variable WHERE Va_Cve_Variable = '"_s
                                           + blockedVariable + u"'"_s);
        if (!blocked->Eof()) {
            const QString wanted = SchemaCatalog::fold(table);
            const auto names = valueText(blocked->fieldValue(0))
                                   .split(QRegularExpression(u"[,;\\s]+"_s), Qt::SkipEmptyParts);
            for (const auto &name : names) {
                if (SchemaCatalog::fold(name) == wanted) {
                    m_lastError = u"La bitácora no acepta registros de la tabla %1: está bloqueada"
                                  " (variable %2)."_s.arg(table, blockedVariable);
                    return;
                }
            }
        }
        const QString stamp = FechaTexto(FechaServidor());
        connection->Execute(
            u"INSERT INTO Bitacora (Bi_Tabla, Bi_Clave, Bi_Texto, Bi_Operador, Bi_Fecha) VALUES ('"_s
            + sqlEscape(table) + u"', '"_s + sqlEscape(key) + u"', '"_s + sqlEscape(text) + u"', '"_s
            + sqlEscape(session().user()) + u"', '"_s + stamp + u"')"_s);
        ok = true;
    } catch (const SuiteError &error) {
        m_lastError = error.description();
    }
}

void Utilerias::RegistraMovimiento(const QString &entity, const QString &key, const QString &action)
{
    try {
        Connection *connection = session().connection();
        const QString stamp = FechaTexto(FechaServidor());
        connection->Execute(
            u"INSERT INTO Movimiento (Mo_Entidad, Mo_Clave, Mo_Accion, Mo_Operador, Mo_Fecha) VALUES ('"_s
            + sqlEscape(entity) + u"', '"_s + sqlEscape(key) + u"', '"_s + sqlEscape(action) + u"', '"_s
            + sqlEscape(session().user()) + u"', '"_s + stamp + u"')"_s);
    } catch (const SuiteError &error) {
        m_lastError = error.description();
        throw;
    }
}

QString Utilerias::RegistraError() const
{
    return m_lastError;
}

QString Utilerias::LeeConfiguracion(const QString &text, const QString &suiteName)
{
    auto row = session().connection()->Execute(
        u"SELECT Cf_Valor FROM Configuracion WHERE Cf_Sistema = '"_s + sqlEscape(suiteName)
        + u"' AND Cf_Clave = '"_s + sqlEscape(text) + u"'"_s);
    return row->Eof() ? QString() : valueText(row->fieldValue(0));
}

void Utilerias::EnviaTecla(const QString &keys, int zero, const QVariant &unused)
{
    Q_UNUSED(zero)
    Q_UNUSED(unused)
    for (const Stroke &stroke : strokes(keys)) {
        // The focus moves with each TAB, so every key goes to whoever holds it now.
        QWidget *target = focusTarget();
        if (!target)
            return;
        QKeyEvent press(QEvent::KeyPress, stroke.key, Qt::NoModifier, stroke.text);
        QCoreApplication::sendEvent(target, &press);
        if (QWidget *after = focusTarget()) {
            QKeyEvent release(QEvent::KeyRelease, stroke.key, Qt::NoModifier, stroke.text);
            QCoreApplication::sendEvent(after, &release);
        }
    }
}

} // namespace suite
