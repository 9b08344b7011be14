#pragma once

#include <QtGlobal>

class QObject;

namespace suite {

struct ComponentClass;
struct ComponentTable;

// What DllGetClassObject hands out: makes instances of one class of one
// component. The runtime owns it; callers never delete it. Every instance is
// counted against its component until it is destroyed, so the component
// cannot be unloaded under it.
class ClassFactory
{
public:
    ClassFactory(const ComponentTable &table, const ComponentClass &componentClass);

    // A new instance owned by the caller, or null when the class has no maker.
    QObject *CreateInstance() const;

    const ComponentClass &componentClass() const { return m_class; }
    const ComponentTable &table() const { return m_table; }

private:
    const ComponentTable &m_table;
    const ComponentClass &m_class;
};

} // namespace suite
