#include "DBusMessengerClient.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QObject>

const QString DBusMessengerClient::ServiceName = QStringLiteral("MessengerAPI.Messenger");
const QString DBusMessengerClient::ObjectPath = QStringLiteral("/MessengerAPI/Messenger");
const QString DBusMessengerClient::InterfaceName = QStringLiteral("MessengerAPI.IMessenger");

namespace {

// The bus's own wording for a missing or silent client speaks of .service files and security
// policies; the user is told what it means instead. The client's own refusals pass unchanged.
QString describeFailure(const QDBusMessage& reply)
{
    switch (QDBusError(reply).type()) {
    case QDBusError::ServiceUnknown:
        return QObject::tr("The Messenger client is not running.");
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return QObject::tr("The Messenger client did not answer within %1 seconds.")
            .arg(DBusMessengerClient::CallTimeoutMs / 1000);
    default:
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    }
}

} // namespace

DBusMessengerClient::DBusMessengerClient(const QDBusConnection& connection)
    : m_connection(connection)
{
}

bool DBusMessengerClient::isRunning() const
{
    QDBusConnectionInterface* bus = m_connection.interface();
    return bus && bus->isServiceRegistered(ServiceName).value();
}

Result<QList<QVariant>> DBusMessengerClient::call(const QString& method,
                                                  const QList<QVariant>& args)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method);
    message.setArguments(args);
    // A call to a name nobody owns fails at once, like a refused call.
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Failure{describeFailure(reply)};
    return reply.arguments();
}

Result<void> DBusMessengerClient::setMyProperty(int code, const QVariant& value)
{
    const auto reply = call(QStringLiteral("SetMyProperty"),
                            {QVariant(code), QVariant::fromValue(QDBusVariant(value))});
    if (!reply)
        return Failure{reply.error()};
    return {};
}

Result<QVariant> DBusMessengerClient::myProperty(int code)
{
    const auto reply = call(QStringLiteral("MyProperty"), {QVariant(code)});
    if (!reply)
        return Failure{reply.error()};
    if (reply->isEmpty())
        return Failure{QObject::tr("The Messenger client gave no value.")};
    QVariant value = reply->first();
    if (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

Result<QList<MessengerContact>> DBusMessengerClient::myContacts()
{
    const auto reply = call(QStringLiteral("MyContacts"), {});
    if (!reply)
        return Failure{reply.error()};
    const Failure unexpected{QObject::tr("The Messenger client sent an unexpected contact list.")};
    if (reply->isEmpty() || !reply->first().canConvert<QDBusArgument>())
        return unexpected;
    const QDBusArgument argument = reply->first().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a(ss)"))
        return unexpected;
    QList<MessengerContact> contacts;
    argument.beginArray();
    while (!argument.atEnd()) {
        MessengerContact contact;
        argument.beginStructure();
        argument >> contact.signinName >> contact.friendlyName;
        argument.endStructure();
        contacts.append(contact);
    }
    argument.endArray();
    return contacts;
}
