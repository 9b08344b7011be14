#include "suite/runtime/ComponentHost.h"

#include "suite/data/SuiteError.h"
#include "suite/runtime/ClassFactory.h"
#include "suite/runtime/ComponentServer.h"
#include "suite/runtime/Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QObject>

using namespace Qt::StringLiterals;

namespace suite {

namespace {

using RegisterFunction = HResult (*)();
using GetClassObjectFunction = HResult (*)(const char *, void **);

QString hex(HResult result)
{
    return u"0x"_s + QString::number(static_cast<quint32>(result), 16).toUpper().rightJustified(8, u'0');
}

QString native(const QString &file)
{
    return QDir::toNativeSeparators(file);
}

} // namespace

ComponentHost::ComponentHost() = default;

ComponentHost::~ComponentHost()
{
    // Libraries stay mapped: objects, metatypes or static data of a component
    // may outlive this host object until the process ends.
    for (auto &entry : m_libraries)
        entry.second->setLoadHints(QLibrary::PreventUnloadHint);
}

QLibrary &ComponentHost::load(const QString &libraryFile)
{
    const QString key = QFileInfo(libraryFile).absoluteFilePath();
    auto it = m_libraries.find(key);
    if (it != m_libraries.end())
        return *it->second;

    if (!QFileInfo::exists(key))
        throw SuiteError(u"No se encontró el componente %1."_s.arg(native(key)));
    auto library = std::make_unique<QLibrary>(key);
    if (!library->load()) {
        throw SuiteError(u"No se pudo cargar el componente %1: %2"_s
                             .arg(native(key), library->errorString()));
    }
    return *m_libraries.emplace(key, std::move(library)).first->second;
}

template<typename Function>
Function ComponentHost::entryPoint(const QString &libraryFile, const char *name)
{
    QLibrary &library = load(libraryFile);
    auto function = reinterpret_cast<Function>(library.resolve(name));
    if (!function) {
        throw SuiteError(u"El componente %1 no exporta %2: %3"_s
                             .arg(native(library.fileName()), QString::fromLatin1(name),
                                  library.errorString()));
    }
    return function;
}

QObject *ComponentHost::createObject(const QString &progId)
{
    const Registry registry;
    const Registry::Entry entry = registry.find(progId);
    if (!entry.isValid()) {
        throw SuiteError(u"La clase %1 no está registrada (%2)."_s
                             .arg(progId, native(registry.fileName())));
    }

    auto getClassObject = entryPoint<GetClassObjectFunction>(entry.library, "DllGetClassObject");
    void *raw = nullptr;
    const HResult result = getClassObject(entry.clsid.toUtf8().constData(), &raw);
    if (result != hresult::Ok || !raw) {
        throw SuiteError(u"El componente %1 no ofrece la clase %2 %3 (código %4)."_s
                             .arg(native(entry.library), progId, entry.clsid, hex(result)));
    }
    QObject *object = static_cast<ClassFactory *>(raw)->CreateInstance();
    if (!object)
        throw SuiteError(u"El componente %1 no pudo crear un objeto %2."_s.arg(native(entry.library), progId));
    return object;
}

void ComponentHost::ensureRegistered(const QString &progId, const QString &libraryFile)
{
    const Registry::Entry entry = Registry().find(progId);
    if (entry.isValid() && QFileInfo::exists(entry.library))
        return;
    const HResult result = registerLibrary(libraryFile);
    if (result != hresult::Ok) {
        throw SuiteError(u"No se pudo registrar el componente %1 (código %2)."_s
                             .arg(native(libraryFile), hex(result)));
    }
    if (!Registry().find(progId).isValid()) {
        throw SuiteError(u"El componente %1 no registra la clase %2."_s.arg(native(libraryFile), progId));
    }
}

HResult ComponentHost::registerLibrary(const QString &libraryFile)
{
    return entryPoint<RegisterFunction>(libraryFile, "DllRegisterServer")();
}

HResult ComponentHost::unregisterLibrary(const QString &libraryFile)
{
    return entryPoint<RegisterFunction>(libraryFile, "DllUnregisterServer")();
}

HResult ComponentHost::canUnloadNow(const QString &libraryFile)
{
    return entryPoint<RegisterFunction>(libraryFile, "DllCanUnloadNow")();
}

void ComponentHost::shutdown()
{
    ComponentServer::shutdown();
}

} // namespace suite
