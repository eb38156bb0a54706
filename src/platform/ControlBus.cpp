#include "ControlBus.h"

#include "core/language/Texts.h"
#include "messenger/BusFailure.h"

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
    const QDBusMessage reply = bus.call(message, QDBus::Block, ReplyTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return reply;
    // The running copy's own refusal says why in its words.
    return Failure{BusFailure::describe(reply, QStringLiteral("Dorvane"), ReplyTimeoutMs)};
}

QDBusMessage askTheBus(const QString& method, const QString& name)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    message << name;
    return message;
}

// The unique name of the connection that holds Dorvane's name, when that is the running copy's.
Result<QString> runningCopy(const QDBusConnection& bus, qint64 lockHolder)
{
    if (!bus.isConnected())
        return Failure{Texts::text(Text::NoSessionBus).arg(bus.lastError().message())};
    const auto owner = call(bus, askTheBus(QStringLiteral("GetNameOwner"), ServiceName));
    if (!owner)
        return Failure{owner.error()};
    const QString unique = owner->arguments().value(0).toString();
    // Asked of the owner found above, not of the name, which may change hands in between.
    const auto process = call(bus, askTheBus(QStringLiteral("GetConnectionUnixProcessID"), unique));
    if (!process)
        return Failure{process.error()};
    const qint64 pid = process->arguments().value(0).toLongLong();
    if (pid != lockHolder)
        return Failure{Texts::text(Text::NameTaken).arg(pid)};
    return unique;
}

} // namespace

void showRunningCopy(const QDBusConnection& bus)
{
    bus.send(QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName,
                                            QStringLiteral("Show")));
}

Result<void> request(const QString& method, qint64 lockHolder, const QDBusConnection& bus)
{
    const Result<QString> copy = runningCopy(bus, lockHolder);
    if (!copy)
        return Failure{copy.error()};
    const auto reply =
        call(bus, QDBusMessage::createMethodCall(*copy, ObjectPath, InterfaceName, method));
    if (!reply)
        return Failure{reply.error()};
    return {};
}

Result<QVariantMap> state(qint64 lockHolder, const QDBusConnection& bus)
{
    const Result<QString> copy = runningCopy(bus, lockHolder);
    if (!copy)
        return Failure{copy.error()};
    QDBusMessage message = QDBusMessage::createMethodCall(
        *copy, ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    message << InterfaceName;
    const auto reply = call(bus, message);
    if (!reply)
        return Failure{reply.error()};
    const QList<QVariant> arguments = reply->arguments();
    if (arguments.isEmpty())
        return Failure{Texts::text(Text::NoState)};
    QVariantMap properties = qdbus_cast<QVariantMap>(arguments.first());
    // A map inside a variant comes as it was on the wire; the callers read plain strings.
    const QString destinations = QStringLiteral("Destinations");
    if (const QVariant raw = properties.value(destinations); raw.canConvert<QDBusArgument>()) {
        QVariantMap states;
        const auto read = qdbus_cast<QMap<QString, QString>>(raw);
        for (auto it = read.cbegin(); it != read.cend(); ++it)
            states.insert(it.key(), it.value());
        properties.insert(destinations, states);
    }
    return properties;
}

} // namespace ControlBus
