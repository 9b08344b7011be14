#pragma once

#include <QString>
#include <vector>

class QObject;

namespace suite {

// One creatable class of a component: what the registry records and how the
// class factory makes an instance.
struct ComponentClass
{
    QString progId;          // "XB733.Pantalla"
    QString clsid;           // "{…}", unique to the class
    QString description;
    QObject *(*create)() = nullptr;
};

// A component's registration table. The component keeps one for its whole
// life; the runtime identifies the component by the table's address.
struct ComponentTable
{
    QString name;                  // "XB733"
    void (*start)() = nullptr;     // run once, before any object is created
    void (*stop)() = nullptr;      // run when the component is released
    std::vector<ComponentClass> classes;
};

} // namespace suite
