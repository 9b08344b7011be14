#include "suite/services/RecordHistory.h"

#include "suite/data/Connection.h"
#include "suite/data/DecimalText.h"
#include "suite/data/SqlText.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString literal(const QVariant &text)
{
    return text.isNull() ? u"NULL"_s : u"'"_s + sqlEscape(text.toString()) + u"'"_s;
}

} // namespace

RecordHistory::RecordHistory(Connection &connection, const QString &entity, const QString &key)
    : m_connection(connection)
    , m_entity(entity)
    , m_key(key)
{
}

QVariant RecordHistory::textOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        return stamp.toString(stamp.time().msec() ? u"yyyy-MM-dd HH:mm:ss.zzz"_s : u"yyyy-MM-dd HH:mm:ss"_s);
    }
    case QMetaType::QString:
        return value.toString();
    default:
        if (const std::optional<QString> number = DecimalText::fromVariant(value))
            return *number;
        return value.toString();
    }
}

QList<RecordHistory::Change> RecordHistory::changes(const Values &before, const Values &after)
{
    QHash<QString, QVariant> was;
    for (const auto &[what, value] : before)
        was.insert(what, textOf(value));
    QList<Change> out;
    QHash<QString, bool> seen;
    for (const auto &[what, value] : after) {
        seen.insert(what, true);
        const QVariant old = was.value(what, QVariant(QMetaType::fromType<QString>()));
        const QVariant now = textOf(value);
        if (old.isNull() != now.isNull() || old.toString() != now.toString())
            out.append({what, {old, now}});
    }
    // What the command took away altogether: a distribution row, a field.
    for (const auto &[what, value] : before) {
        if (!seen.contains(what) && !value.isNull())
            out.append({what, {textOf(value), QVariant(QMetaType::fromType<QString>())}});
    }
    return out;
}

int RecordHistory::record(const Values &before, const Values &after, const QString &command, const QString &user,
                          const std::function<QString()> &stamp) const
{
    const QList<Change> found = changes(before, after);
    if (found.isEmpty())
        return 0;
    // One statement for the whole command, however many values it changed.
    const QString common = u"('"_s + sqlEscape(m_entity) + u"', '"_s + sqlEscape(m_key) + u"', '"_s
                           + sqlEscape(stamp()) + u"', '"_s + sqlEscape(user) + u"', '"_s + sqlEscape(command)
                           + u"', '"_s;
    // Numbered last value first: newest first, as the history is read, then
    // lists each command's values in the record's own order.
    QStringList rows;
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const auto &[what, values] = *it;
        rows << common + sqlEscape(what) + u"', "_s + literal(values.first) + u", "_s + literal(values.second)
                    + u')';
    }
    m_connection.Execute(u"INSERT INTO Historial (Hi_Entidad, Hi_Clave, Hi_Fecha, Hi_Operador, Hi_Orden, Hi_Campo, "
                         "Hi_Valor_Anterior, Hi_Valor_Nuevo) VALUES "_s + rows.join(u", "_s));
    return int(found.size());
}

} // namespace suite
