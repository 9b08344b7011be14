#include "suite/host/JsonText.h"

#include <QDate>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace suite {

JsonText &JsonText::add(const QString &key, const QJsonValue &v)
{
    return addRaw(key, value(v));
}

JsonText &JsonText::add(const QString &key, const JsonText &object)
{
    return addRaw(key, object.toString());
}

JsonText &JsonText::addRaw(const QString &key, const QString &json)
{
    m_members.append(value(key) + u':' + json);
    return *this;
}

QString JsonText::toString() const
{
    return u'{' + m_members.join(u',') + u'}';
}

QString JsonText::value(const QJsonValue &v)
{
    // QJsonDocument writes only arrays and objects: write a one-element array
    // and keep what is between the brackets.
    const QString text = QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
    return text.mid(1, text.size() - 2);
}

QJsonValue JsonText::fromVariant(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QJsonValue(QJsonValue::Null);
    switch (v.metaType().id()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return v.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble();
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return v.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    default:
        return v.toString();
    }
}

QString JsonText::array(const QStringList &jsonItems)
{
    return u'[' + jsonItems.join(u',') + u']';
}

} // namespace suite
