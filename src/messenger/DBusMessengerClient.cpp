#include "DBusMessengerClient.h"
#include "core/language/Texts.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

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
        return Texts::text(Text::ClientNotRunning);
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return Texts::text(Text::ClientSilent).arg(DBusMessengerClient::CallTimeoutMs / 1000);
    default:
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    }
}

} // namespace

DBusMessengerClient::DBusMessengerClient(const QDBusConnection& connection, QObject* parent)
    : m_connection(connection)
{
    setParent(parent);
}

bool DBusMessengerClient::isRunning() const
{
    QDBusConnectionInterface* bus = m_connection.interface();
    return bus && bus->isServiceRegistered(ServiceName).value();
}

QString DBusMessengerClient::name() const
{
    return QStringLiteral("MessengerAPI");
}

void DBusMessengerClient::call(const QString& method, const QList<QVariant>& args,
                               std::function<void(Result<QDBusMessage>)> answered)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(ServiceName, ObjectPath, InterfaceName, method);
    message.setArguments(args);
    // A call to a name nobody owns fails at once, like a refused call. The watcher is the
    // client's own, so that no answer arrives once the client is gone.
    auto* watcher =
        new QDBusPendingCallWatcher(m_connection.asyncCall(message, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [watcher, answered = std::move(answered)] {
                watcher->deleteLater();
                const QDBusMessage reply = watcher->reply();
                if (reply.type() != QDBusMessage::ReplyMessage)
                    answered(Failure{describeFailure(reply)});
                else
                    answered(reply);
            });
}

void DBusMessengerClient::setMyProperty(int code, const QVariant& value, Done<void> done)
{
    call(QStringLiteral("SetMyProperty"),
         {QVariant(code), QVariant::fromValue(QDBusVariant(value))},
         [done = std::move(done)](const Result<QDBusMessage>& reply) {
             done(reply ? Result<void>() : Result<void>(Failure{reply.error()}));
         });
}

void DBusMessengerClient::myProperty(int code, Done<QVariant> done)
{
    call(QStringLiteral("MyProperty"), {QVariant(code)},
         [done = std::move(done)](const Result<QDBusMessage>& reply) {
             if (!reply)
                 return done(Failure{reply.error()});
             if (reply->arguments().isEmpty())
                 return done(Failure{Texts::text(Text::ClientGaveNoValue)});
             QVariant value = reply->arguments().first();
             if (value.canConvert<QDBusVariant>())
                 value = value.value<QDBusVariant>().variant();
             done(value);
         });
}

void DBusMessengerClient::myContacts(Done<QList<MessengerContact>> done)
{
    call(QStringLiteral("MyContacts"), {},
         [this, done = std::move(done)](const Result<QDBusMessage>& reply) {
             if (!reply)
                 return done(Failure{reply.error()});
             // A long list takes a while to take apart; the window goes on meanwhile.
             auto* reading = new QFutureWatcher<Result<QList<MessengerContact>>>(this);
             connect(reading, &QFutureWatcherBase::finished, this, [reading, done] {
                 reading->deleteLater();
                 done(reading->result());
             });
             reading->setFuture(QtConcurrent::run(&DBusMessengerClient::contactsOf, *reply));
         });
}

Result<QList<MessengerContact>> DBusMessengerClient::contactsOf(const QDBusMessage& reply)
{
    const Failure unexpected{Texts::text(Text::ClientOddContacts)};
    if (reply.arguments().isEmpty() || !reply.arguments().first().canConvert<QDBusArgument>())
        return unexpected;
    const QDBusArgument argument = reply.arguments().first().value<QDBusArgument>();
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
