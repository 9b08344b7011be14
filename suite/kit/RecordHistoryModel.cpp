#include "suite/kit/RecordHistoryModel.h"

#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/SqlText.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

const QString Table = u"Historial"_s;
enum Column { When, Who, Command, What, Before, After, Numbered };

} // namespace

RecordHistoryModel::RecordHistoryModel(Connection &connection, const QString &entity, const QString &key,
                                       QObject *parent)
    : QAbstractTableModel(parent)
    , m_connection(connection)
    , m_entity(entity)
    , m_key(key)
{
    if (!key.isEmpty() && connection.tableExists(Table))
        m_rows = readPage();
}

const QStringList &RecordHistoryModel::fields()
{
    static const QStringList names = {u"fecha"_s, u"operador"_s, u"orden"_s, u"campo"_s, u"anterior"_s, u"nuevo"_s};
    return names;
}

QList<QVariantList> RecordHistoryModel::readPage()
{
    // Newest first by stamp, and by number among changes of one stamp; the
    // next page starts after the last row read, along the same index.
    QString statement = u"SELECT Hi_Fecha, Hi_Operador, Hi_Orden, Hi_Campo, Hi_Valor_Anterior, Hi_Valor_Nuevo, "
                        "Hi_Numero FROM Historial WHERE Hi_Entidad = '"_s + sqlEscape(m_entity)
                        + u"' AND Hi_Clave = '"_s + sqlEscape(m_key) + u"'"_s;
    if (!m_lastNumber.isNull()) {
        const QString last = m_lastNumber.toString();
        const QString lastStamp = u"(SELECT Hi_Fecha FROM Historial WHERE Hi_Numero = "_s + last + u')';
        statement += u" AND (Hi_Fecha < "_s + lastStamp + u" OR (Hi_Fecha = "_s + lastStamp
                     + u" AND Hi_Numero < "_s + last + u"))"_s;
    }
    statement += u" ORDER BY Hi_Fecha DESC, Hi_Numero DESC"_s;
    // One row more than a page tells whether another follows.
    const RecordsetPtr rows = m_connection.Execute(m_connection.dialect().limit(statement, PageRows + 1));
    QList<QVariantList> page;
    for (const QVector<QVariant> &row : rows->rows()) {
        if (page.size() == PageRows)
            break;
        page.append(row.mid(0, Numbered));
        m_lastNumber = row.at(Numbered);
    }
    m_more = rows->rowCount() > PageRows;
    return page;
}

int RecordHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordHistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(fields().size());
}

QVariant RecordHistoryModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    const QVariant value = m_rows.at(index.row()).value(index.column());
    if (value.isNull())
        return QString();
    if (index.column() == When && value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(u"dd/MM/yyyy HH:mm:ss"_s);
    return value.toString();
}

QVariant RecordHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList captions = {u"Fecha"_s, u"Usuario"_s, u"Orden"_s, u"Dato"_s, u"Antes"_s, u"Después"_s};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return captions.value(section);
}

bool RecordHistoryModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_more;
}

void RecordHistoryModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !m_more)
        return;
    QList<QVariantList> page = readPage();
    if (page.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + page.size() - 1));
    m_rows += page;
    endInsertRows();
}

} // namespace suite
