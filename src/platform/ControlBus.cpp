#include "ControlBus.h"

#include "platform/ControlService.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace ControlBus {

namespace {

// A running copy answers at once; one that does not within this is taken as hung.
constexpr int ReplyTimeoutMs = 5000;

Result<QDBusMessage> call(const QDBusConnection& bus, const QDBusMessage& message)
{
    if (!bus.isConnected())
        return Failure{QStringLiteral("No session bus: %1").arg(bus.lastError().message())};
    const QDBusMessage reply = bus.call(message, QDBus::Block, ReplyTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return reply;
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
        return Failure{QStringLiteral("Dorvane is not running.")};
    // The running copy's own refusal says why in its words.
    if (reply.errorName() == ControlService::RefusedError)
        return Failure{reply.errorMessage()};
    return Failure{
        QStringLiteral("Dorvane did not carry out the request: %1")
            .arg(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage())};
}

} // namespace

bool showRunningCopy(const QDBusConnection& bus)
{
    return request(QStringLiteral("Show"), bus).ok();
}

Result<void> request(const QString& method, const QDBusConnection& bus)
{
    const auto reply =
        call(bus, QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method));
    if (!reply)
        return Failure{reply.error()};
    return {};
}

Result<QVariantMap> state(const QDBusConnection& bus)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        ServiceName, ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    message << InterfaceName;
    const auto reply = call(bus, message);
    if (!reply)
        return Failure{reply.error()};
    const QList<QVariant> arguments = reply->arguments();
    if (arguments.isEmpty())
        return Failure{QStringLiteral("Dorvane gave no state.")};
    return qdbus_cast<QVariantMap>(arguments.first());
}

} // namespace ControlBus
