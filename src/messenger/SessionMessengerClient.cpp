#include "SessionMessengerClient.h"

#include "core/language/Texts.h"
#include "messenger/SessionBus.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

SessionMessengerClient::SessionMessengerClient(QObject* parent)
{
    setParent(parent);
}

SessionMessengerClient::SessionMessengerClient(const QDBusConnection& connection, QObject* parent)
    : SessionMessengerClient(parent)
{
    attach(connection);
}

void SessionMessengerClient::attach(const QDBusConnection& connection)
{
    m_api = new DBusMessengerClient(connection, this);
    m_pidgin = new PidginMessengerClient(connection, this);
    m_watcher = new QDBusServiceWatcher(this);
    const QStringList names{DBusMessengerClient::ServiceName, PidginMessengerClient::ServiceName};
    m_watcher->setConnection(connection);
    m_watcher->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    m_watcher->setWatchedServices(names);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString& service, const QString&, const QString& owner) {
                ownerKnown(service, !owner.isEmpty());
            });
    // Who owns the names now: asked once, the answer handled when it comes.
    for (const QString& name : names) {
        QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
        ask << name;
        auto* answer = new QDBusPendingCallWatcher(
            connection.asyncCall(ask, DBusMessengerClient::CallTimeoutMs), this);
        connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer, name] {
            answer->deleteLater();
            const QDBusPendingReply<bool> owned = *answer;
            --m_unanswered;
            ownerKnown(name, owned.isValid() && owned.value());
        });
    }
}

Result<std::unique_ptr<MessengerClient>> SessionMessengerClient::create()
{
    if (SessionBus::isReady()) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return Failure{Texts::text(Text::BusUnreachable).arg(bus.lastError().message())};
        return std::unique_ptr<MessengerClient>(std::make_unique<SessionMessengerClient>(bus));
    }
    // Calls made before the bus is there wait for it, as they wait for the names' owners; a bus
    // that is not there fails them as a client that cannot be reached.
    auto client = std::make_unique<SessionMessengerClient>();
    SessionBus::whenReady(
        client.get(), [client = client.get()](const QDBusConnection& bus) { client->attach(bus); });
    return std::unique_ptr<MessengerClient>(std::move(client));
}

void SessionMessengerClient::ownerKnown(const QString& service, bool owned)
{
    const QString before = name();
    (service == DBusMessengerClient::ServiceName ? m_apiOwned : m_pidginOwned) = owned;
    if (m_unanswered <= 0) {
        for (const auto& call : std::exchange(m_waiting, {}))
            call();
    }
    if (name() != before)
        emit availabilityChanged();
}

void SessionMessengerClient::whenKnown(std::function<void()> call)
{
    if (m_unanswered <= 0)
        call();
    else
        m_waiting.append(std::move(call));
}

MessengerClient* SessionMessengerClient::current()
{
    if (m_apiOwned)
        return m_api;
    if (m_pidginOwned)
        return m_pidgin;
    return m_api;
}

bool SessionMessengerClient::isRunning() const
{
    return m_apiOwned || m_pidginOwned;
}

QString SessionMessengerClient::name() const
{
    if (m_apiOwned)
        return m_api->name();
    if (m_pidginOwned)
        return m_pidgin->name();
    return {};
}

void SessionMessengerClient::setMyProperty(int code, const QVariant& value, Done<void> done)
{
    whenKnown([this, code, value, done = std::move(done)]() mutable {
        current()->setMyProperty(code, value, std::move(done));
    });
}

void SessionMessengerClient::myProperty(int code, Done<QVariant> done)
{
    whenKnown([this, code, done = std::move(done)]() mutable {
        current()->myProperty(code, std::move(done));
    });
}

void SessionMessengerClient::myContacts(Done<QList<MessengerContact>> done)
{
    whenKnown([this, done = std::move(done)]() mutable { current()->myContacts(std::move(done)); });
}

void SessionMessengerClient::cacheFolder(Done<QString> done)
{
    whenKnown(
        [this, done = std::move(done)]() mutable { current()->cacheFolder(std::move(done)); });
}
