#include "assets/ShownAsset.h"

#include "assets/AssetStatements.h"
#include "suite/data/Connection.h"
#include "suite/data/Dialect.h"
#include "suite/data/Recordset.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace xb733 {

namespace {

const QString Deactivated = u"BA"_s;

const QString Consequences[] = {
    u" No se guardó nada: lo que usted escribió sigue en pantalla para que pueda copiarlo. Después cancele y vuelva "
    "a abrir el activo fijo para ver cómo quedó."_s,
    u" No se hizo ningún cambio. Vuelva a abrir el activo fijo para ver cómo quedó."_s,
};

QString textOf(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// "El usuario ANA dio de baja el activo fijo 0000000004 el 12/05/2024 a las 10:31, después de que usted lo abrió."
QString whoDidWhat(const QVariant &user, const QString &what, const QString &key, const QVariant &stamp)
{
    const QString name = textOf(user).trimmed();
    QString sentence = (name.isEmpty() ? u"Otro usuario"_s : u"El usuario "_s + name) + u' ' + what
                       + u" el activo fijo "_s + key;
    const QDateTime at = stamp.toDateTime();
    if (at.isValid())
        sentence += u" el %1 a las %2"_s.arg(at.toString(u"dd/MM/yyyy"_s), at.toString(u"HH:mm"_s));
    return sentence + u", después de que usted lo abrió."_s;
}

} // namespace

void ShownAsset::remember(const suite::Recordset &asset)
{
    m_key = textOf(asset.Fields(u"Af_Cve_Activo_Fijo"_s));
    m_state = textOf(asset.Fields(u"Es_Cve_Estado"_s));
    // A database too old to count its writes, opened for looking up only.
    m_version = asset.hasField(u"Af_Version"_s) ? asset.Fields(u"Af_Version"_s) : QVariant();
}

void ShownAsset::assumeVersion(qlonglong version)
{
    // Only over a version the load read: a database that counts no writes stays for looking up.
    if (!m_version.isNull())
        m_version = version;
}

QString ShownAsset::lockAndCompare(suite::Connection &connection, const QString &key, const QString &state,
                                   Command command) const
{
    const suite::RecordsetPtr row =
        connection.Execute(AssetStatements::lockAsset(key, connection.dialect().forUpdateClause()));
    const QString &consequence = Consequences[command];
    if (row->Eof())
        return u"El activo fijo %1 ya no está en la base de datos."_s.arg(key) + consequence;

    const QString stored = textOf(row->Fields(u"Es_Cve_Estado"_s));
    const bool unchanged = !m_version.isNull() && m_key == key
                           && row->Fields(u"Af_Version"_s).toLongLong() == m_version.toLongLong();
    if (unchanged && stored == state)
        return {};
    if (stored == Deactivated)
        return whoDidWhat(row->Fields(u"Oper_Baja"_s), u"dio de baja"_s, key, row->Fields(u"Fecha_Baja"_s)) + consequence;
    return whoDidWhat(row->Fields(u"Oper_Ult_Modif"_s), m_state == Deactivated ? u"reactivó"_s : u"modificó"_s, key,
                      row->Fields(u"Fecha_Ult_Modif"_s))
           + consequence;
}

} // namespace xb733
