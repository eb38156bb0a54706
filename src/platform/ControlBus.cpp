#include "ControlBus.h"

#include "core/control/RotationControl.h"
#include "platform/ControlAdaptor.h"

#include <QDBusMessage>

namespace ControlBus {

bool publish(RotationControl* control, QDBusConnection bus)
{
    if (!bus.isConnected())
        return false;
    new ControlAdaptor(control);
    return bus.registerObject(ObjectPath, control) && bus.registerService(ServiceName);
}

bool showRunningCopy(QDBusConnection bus)
{
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName,
                                                QStringLiteral("Show")),
                 QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace ControlBus
