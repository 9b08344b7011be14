#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace suite {

// A JSON object written in the order its members were added. Other tools read
// the scripted host's output and its documented member order is part of the
// format, which QJsonObject (sorted keys) would not keep.
class JsonText
{
public:
    JsonText &add(const QString &key, const QJsonValue &value);
    JsonText &add(const QString &key, const JsonText &object);
    JsonText &addRaw(const QString &key, const QString &json);
    bool isEmpty() const { return m_members.isEmpty(); }
    QString toString() const;

    // One value as JSON text.
    static QString value(const QJsonValue &value);
    // A database or property value: null, a number, a Boolean, a date as
    // "YYYY-MM-DD" (with " HH:MM:SS" for a date and time) or a text.
    static QJsonValue fromVariant(const QVariant &value);
    static QString array(const QStringList &jsonItems);

private:
    QStringList m_members;
};

} // namespace suite
