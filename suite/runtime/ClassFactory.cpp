#include "suite/runtime/ClassFactory.h"

#include "suite/runtime/ComponentServer.h"
#include "suite/runtime/ComponentTable.h"

#include <QObject>

namespace suite {

ClassFactory::ClassFactory(const ComponentTable &table, const ComponentClass &componentClass)
    : m_table(table)
    , m_class(componentClass)
{}

QObject *ClassFactory::CreateInstance() const
{
    if (!m_class.create)
        return nullptr;
    QObject *object = m_class.create();
    if (object)
        ComponentServer::trackObject(m_table, object);
    return object;
}

} // namespace suite
