#pragma once

#include "suite/runtime/HResult.h"

#include <QString>
#include <map>
#include <memory>

class QLibrary;
class QObject;

namespace suite {

// The host's half of the runtime: finds a class in the per-user registry,
// loads its library, lets the component start and asks its class factory for
// an instance. Every failure throws SuiteError with a text that says what was
// being loaded and, for the loader, the loader's own explanation.
class ComponentHost
{
public:
    ComponentHost();
    ~ComponentHost();
    ComponentHost(const ComponentHost &) = delete;
    ComponentHost &operator=(const ComponentHost &) = delete;

    // A new instance of progId, owned by the caller.
    QObject *createObject(const QString &progId);

    // Registers libraryFile (through its DllRegisterServer) when progId is not
    // registered or its registered library no longer exists.
    void ensureRegistered(const QString &progId, const QString &libraryFile);

    // The library's own entry points, for installers and tests.
    HResult registerLibrary(const QString &libraryFile);
    HResult unregisterLibrary(const QString &libraryFile);
    HResult canUnloadNow(const QString &libraryFile);

    // Lets every started component free what it owns (see ComponentServer).
    void shutdown();

private:
    QLibrary &load(const QString &libraryFile);
    template<typename Function>
    Function entryPoint(const QString &libraryFile, const char *name);

    std::map<QString, std::unique_ptr<QLibrary>> m_libraries;
};

} // namespace suite
