// The component's entry points. They only forward to the runtime with the
// component's own table; nothing of the screen lives here.
#include "shell/ComponentXB733.h"
#include "suite/runtime/ComponentServer.h"

#define XB733_EXPORT extern "C" __attribute__((visibility("default")))

XB733_EXPORT suite::HResult DllRegisterServer()
{
    return suite::ComponentServer::registerServer(componentXB733());
}

XB733_EXPORT suite::HResult DllUnregisterServer()
{
    return suite::ComponentServer::unregisterServer(componentXB733());
}

XB733_EXPORT suite::HResult DllGetClassObject(const char *clsid, void **factory)
{
    return suite::ComponentServer::getClassObject(componentXB733(), clsid, factory);
}

XB733_EXPORT suite::HResult DllCanUnloadNow()
{
    return suite::ComponentServer::canUnloadNow(componentXB733());
}
