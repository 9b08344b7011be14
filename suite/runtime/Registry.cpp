#include "suite/runtime/Registry.h"

#include "suite/data/SuiteError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

QString progIdKey(const QString &progId)
{
    return u"ProgID/"_s + progId + u"/CLSID"_s;
}

QString clsidGroup(const QString &clsid)
{
    // Without its braces, which an INI key would have to escape.
    QString bare = clsid;
    bare.remove(u'{').remove(u'}');
    return u"CLSID/"_s + bare;
}

} // namespace

Registry::Registry(const QString &fileName)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    m_settings = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}

Registry::~Registry() = default;

QString Registry::defaultFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + u"/Talvexor/registry.ini"_s;
}

QString Registry::fileName() const
{
    return m_settings->fileName();
}

void Registry::registerClass(const QString &progId, const QString &clsid, const QString &library,
                             const QString &description)
{
    m_settings->setValue(progIdKey(progId), clsid);
    m_settings->beginGroup(clsidGroup(clsid));
    m_settings->setValue(u"ProgID"_s, progId);
    m_settings->setValue(u"InprocServer"_s, library);
    m_settings->setValue(u"Description"_s, description);
    m_settings->endGroup();
}

void Registry::unregisterClass(const QString &progId, const QString &clsid)
{
    // Only the ProgID that still names this class goes: another build may
    // have taken the name over in the meantime.
    if (m_settings->value(progIdKey(progId)).toString() == clsid)
        m_settings->remove(u"ProgID/"_s + progId);
    m_settings->remove(clsidGroup(clsid));
}

Registry::Entry Registry::find(const QString &progId) const
{
    Entry entry;
    entry.progId = progId;
    entry.clsid = m_settings->value(progIdKey(progId)).toString();
    if (entry.clsid.isEmpty())
        return entry;
    entry.library = m_settings->value(clsidGroup(entry.clsid) + u"/InprocServer"_s).toString();
    return entry;
}

void Registry::sync()
{
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        throw SuiteError(u"No se pudo escribir el registro de componentes %1."_s
                             .arg(QDir::toNativeSeparators(m_settings->fileName())));
    }
}

} // namespace suite
