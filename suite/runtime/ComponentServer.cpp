#include "suite/runtime/ComponentServer.h"

#include "suite/data/SuiteError.h"
#include "suite/runtime/ClassFactory.h"
#include "suite/runtime/ComponentTable.h"
#include "suite/runtime/Registry.h"

#include <QFileInfo>
#include <QObject>

#include <dlfcn.h>
#include <map>
#include <memory>
#include <vector>

namespace suite {

namespace {

struct ComponentState
{
    bool started = false;
    int live = 0;
    std::vector<std::unique_ptr<ClassFactory>> factories;
};

// Keyed by the table's address: a component has exactly one table.
std::map<const ComponentTable *, ComponentState> &states()
{
    static std::map<const ComponentTable *, ComponentState> all;
    return all;
}

ComponentState &stateOf(const ComponentTable &table)
{
    return states()[&table];
}

} // namespace

QString ComponentServer::moduleFileOf(const void *address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

HResult ComponentServer::registerServer(const ComponentTable &table)
{
    const QString library = moduleFileOf(&table);
    if (library.isEmpty())
        return hresult::RegisterClassFailed;
    try {
        Registry registry;
        for (const ComponentClass &c : table.classes)
            registry.registerClass(c.progId, c.clsid, library, c.description);
        registry.sync();
    } catch (const SuiteError &) {
        return hresult::RegisterClassFailed;
    }
    return hresult::Ok;
}

HResult ComponentServer::unregisterServer(const ComponentTable &table)
{
    try {
        Registry registry;
        for (const ComponentClass &c : table.classes)
            registry.unregisterClass(c.progId, c.clsid);
        registry.sync();
    } catch (const SuiteError &) {
        return hresult::RegisterClassFailed;
    }
    return hresult::Ok;
}

HResult ComponentServer::getClassObject(const ComponentTable &table, const char *clsid, void **factory)
{
    if (!factory)
        return hresult::Pointer;
    *factory = nullptr;
    if (!clsid)
        return hresult::Pointer;

    const QString wanted = QString::fromUtf8(clsid);
    const ComponentClass *found = nullptr;
    for (const ComponentClass &c : table.classes) {
        if (c.clsid.compare(wanted, Qt::CaseInsensitive) == 0)
            found = &c;
    }
    if (!found)
        return hresult::ClassNotAvailable;

    ComponentState &state = stateOf(table);
    if (!state.started) {
        // The start routine runs before any object of the component is made.
        if (table.start)
            table.start();
        state.started = true;
    }
    for (const auto &existing : state.factories) {
        if (&existing->componentClass() == found) {
            *factory = existing.get();
            return hresult::Ok;
        }
    }
    state.factories.push_back(std::make_unique<ClassFactory>(table, *found));
    *factory = state.factories.back().get();
    return hresult::Ok;
}

HResult ComponentServer::canUnloadNow(const ComponentTable &table)
{
    return liveObjects(table) == 0 ? hresult::Ok : hresult::False;
}

void ComponentServer::trackObject(const ComponentTable &table, QObject *object)
{
    if (!object)
        return;
    ++stateOf(table).live;
    const ComponentTable *key = &table;
    QObject::connect(object, &QObject::destroyed, [key] {
        auto it = states().find(key);
        if (it != states().end() && it->second.live > 0)
            --it->second.live;
    });
}

int ComponentServer::liveObjects(const ComponentTable &table)
{
    const auto it = states().find(&table);
    return it == states().end() ? 0 : it->second.live;
}

bool ComponentServer::started(const ComponentTable &table)
{
    const auto it = states().find(&table);
    return it != states().end() && it->second.started;
}

void ComponentServer::shutdown()
{
    for (auto &[table, state] : states()) {
        if (state.started && table->stop)
            table->stop();
        state.started = false;
        state.factories.clear();
    }
}

} // namespace suite
