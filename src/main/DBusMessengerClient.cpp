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

std::unique_ptr<MessengerClient> DBusMessengerClient::create(QString* error)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (error)
            *error =
                QObject::tr("The session bus cannot be reached: %1").arg(bus.lastError().message());
        return nullptr;
    }
    return std::make_unique<DBusMessengerClient>(bus);
}

bool DBusMessengerClient::isRunning() const
{
    QDBusConnectionInterface* bus = m_connection.interface();
    return bus && bus->isServiceRegistered(ServiceName).value();
}

std::optional<QList<QVariant>>
DBusMessengerClient::call(const QString& method, const QList<QVariant>& args, QString* error)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method);
    message.setArguments(args);
    // A call to a name nobody owns fails at once, like a refused call.
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (error)
            *error = describeFailure(reply);
        return std::nullopt;
    }
    return reply.arguments();
}

bool DBusMessengerClient::setMyProperty(int code, const QVariant& value, QString* error)
{
    return call(QStringLiteral("SetMyProperty"),
                {QVariant(code), QVariant::fromValue(QDBusVariant(value))}, error)
        .has_value();
}

std::optional<QVariant> DBusMessengerClient::myProperty(int code, QString* error)
{
    const auto reply = call(QStringLiteral("MyProperty"), {QVariant(code)}, error);
    if (!reply)
        return std::nullopt;
    if (reply->isEmpty()) {
        if (error)
            *error = QObject::tr("The Messenger client gave no value.");
        return std::nullopt;
    }
    QVariant value = reply->first();
    if (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

std::optional<QList<MessengerContact>> DBusMessengerClient::myContacts(QString* error)
{
    const auto reply = call(QStringLiteral("MyContacts"), {}, error);
    if (!reply)
        return std::nullopt;
    if (reply->isEmpty() || !reply->first().canConvert<QDBusArgument>()) {
        if (error)
            *error = QObject::tr("The Messenger client sent an unexpected contact list.");
        return std::nullopt;
    }
    const QDBusArgument argument = reply->first().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a(ss)")) {
        if (error)
            *error = QObject::tr("The Messenger client sent an unexpected contact list.");
        return std::nullopt;
    }
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
