#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace suite {

class JsonText;

// The scripted host's lines for what suite objects tell the host they did
// (HostEvents): a document printed, a record's information shown.
class ScriptEvents
{
public:
    // {"event":"reporte","op":…,"args":[…],"file":…}
    static JsonText printed(const QString &operation, const QVariantList &arguments, const QString &file);
    // {"event":"informacion","args":[…],"registro":{…} or null,"historial":[{…},…],"mas":bool}
    static JsonText information(const QVariantList &arguments, const QStringList &fields, const QVariantList &values,
                                const QStringList &historyFields, const QList<QVariantList> &history, bool more);
};

} // namespace suite
