// A component for the runtime's tests: one class whose instances say how many times its start and
// stop routines had run when they were made, and one class that has no maker.
#include "suite/runtime/ComponentServer.h"
#include "suite/runtime/ComponentTable.h"

#include <QObject>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

int starts = 0;
int stops = 0;

QObject *createObjeto()
{
    auto *object = new QObject;
    object->setProperty("starts", starts);
    object->setProperty("stops", stops);
    return object;
}

const suite::ComponentTable &table()
{
    static const suite::ComponentTable t{
        u"PRUEBA"_s, [] { ++starts; }, [] { ++stops; },
        {{u"Prueba.Objeto"_s, u"{11111111-2222-3333-4444-555555555555}"_s, u"Objeto de prueba"_s, &createObjeto},
         {u"Prueba.SinFabrica"_s, u"{66666666-7777-8888-9999-000000000000}"_s, u"Sin fabrica"_s, nullptr}}};
    return t;
}

} // namespace

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

TEST_EXPORT suite::HResult DllRegisterServer() { return suite::ComponentServer::registerServer(table()); }
TEST_EXPORT suite::HResult DllUnregisterServer() { return suite::ComponentServer::unregisterServer(table()); }
TEST_EXPORT suite::HResult DllCanUnloadNow() { return suite::ComponentServer::canUnloadNow(table()); }
TEST_EXPORT suite::HResult DllGetClassObject(const char *clsid, void **factory)
{
    return suite::ComponentServer::getClassObject(table(), clsid, factory);
}
