#include "suite/runtime/HostEvents.h"

namespace suite {

HostEvents &HostEvents::instance()
{
    static HostEvents events;
    return events;
}

void HostEvents::notifyPrinted(const QString &operation, const QVariantList &arguments, const QString &file)
{
    Q_EMIT printed(operation, arguments, file);
}

void HostEvents::notifyInformation(const Information &information)
{
    Q_EMIT informationShown(information);
}

} // namespace suite
