#include "suite/host/ScriptEvents.h"

#include "suite/host/JsonText.h"

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString arrayOf(const QVariantList &values)
{
    QStringList items;
    for (const QVariant &value : values)
        items.append(JsonText::value(JsonText::fromVariant(value)));
    return JsonText::array(items);
}

} // namespace

JsonText ScriptEvents::printed(const QString &operation, const QVariantList &arguments, const QString &file)
{
    JsonText event;
    event.add(u"event"_s, u"reporte"_s);
    event.add(u"op"_s, operation);
    event.addRaw(u"args"_s, arrayOf(arguments));
    event.add(u"file"_s, file);
    return event;
}

JsonText ScriptEvents::information(const QVariantList &arguments, const QStringList &fields,
                                   const QVariantList &values, const QStringList &historyFields,
                                   const QList<QVariantList> &history, bool more)
{
    JsonText event;
    event.add(u"event"_s, u"informacion"_s);
    event.addRaw(u"args"_s, arrayOf(arguments));
    if (fields.isEmpty()) {
        event.add(u"registro"_s, QJsonValue(QJsonValue::Null));
    } else {
        JsonText record;
        for (qsizetype i = 0; i < fields.size() && i < values.size(); ++i)
            record.add(fields.at(i), JsonText::fromVariant(values.at(i)));
        event.add(u"registro"_s, record);
    }
    QStringList changes;
    for (const QVariantList &change : history) {
        JsonText item;
        for (qsizetype i = 0; i < historyFields.size() && i < change.size(); ++i)
            item.add(historyFields.at(i), JsonText::fromVariant(change.at(i)));
        changes.append(item.toString());
    }
    event.addRaw(u"historial"_s, JsonText::array(changes));
    event.add(u"mas"_s, more);
    return event;
}

} // namespace suite
