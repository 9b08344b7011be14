#pragma once

#include "suite/runtime/HResult.h"

#include <QString>

class QObject;

namespace suite {

struct ComponentTable;

// The in-component half of the runtime: what a component's four exported
// entry points forward to, each with the component's own table. It keeps,
// per component, whether its start routine ran, its class factories and how
// many of its objects are alive.
class ComponentServer
{
public:
    // Records every class of the table in the per-user registry, pointing at
    // the shared library that holds the table (found from the table's address).
    static HResult registerServer(const ComponentTable &table);
    static HResult unregisterServer(const ComponentTable &table);

    // Runs the start routine the first time, then hands out the class factory
    // of clsid through factory (a ClassFactory*, owned by the runtime).
    static HResult getClassObject(const ComponentTable &table, const char *clsid, void **factory);

    // Ok when none of the component's objects is alive, False otherwise.
    static HResult canUnloadNow(const ComponentTable &table);

    // Counts object against the component until it is destroyed.
    static void trackObject(const ComponentTable &table, QObject *object);
    static int liveObjects(const ComponentTable &table);
    static bool started(const ComponentTable &table);

    // Runs the stop routine of every started component (the host calls this
    // once, when it is closing), so components free what they own while the
    // libraries are still mapped.
    static void shutdown();

    // The file of the shared library (or executable) that holds address.
    static QString moduleFileOf(const void *address);
};

} // namespace suite
