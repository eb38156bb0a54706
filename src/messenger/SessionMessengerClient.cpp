#include "SessionMessengerClient.h"

#include "core/language/Texts.h"
#include "messenger/MessengerApi.h"
#include "messenger/MessengerApiClient.h"
#include "messenger/PidginCalls.h"
#include "messenger/PidginMessengerClient.h"
#include "messenger/SessionBus.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

#include <algorithm>

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
    m_candidates = {{MessengerApi::ServiceName, new MessengerApiClient(connection, this)},
                    {PidginCalls::ServiceName, new PidginMessengerClient(connection, this)}};
    m_unanswered = m_candidates.size();
    auto* watcher = new QDBusServiceWatcher(this);
    watcher->setConnection(connection);
    watcher->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString& service, const QString&, const QString& owner) {
                ownerKnown(service, !owner.isEmpty());
            });
    for (const Candidate& candidate : std::as_const(m_candidates)) {
        const QString name = candidate.busName;
        watcher->addWatchedService(name);
        // Who owns the name now: asked once, the answer handled when it comes.
        QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
        ask << name;
        auto* answer = new QDBusPendingCallWatcher(
            connection.asyncCall(ask, MessengerApiClient::CallTimeoutMs), this);
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

void SessionMessengerClient::ownerKnown(const QString& busName, bool owned)
{
    const QString before = name();
    for (Candidate& candidate : m_candidates) {
        if (candidate.busName == busName)
            candidate.owned = owned;
    }
    if (m_unanswered == 0) {
        for (const auto& call : std::exchange(m_waiting, {}))
            call();
    }
    if (name() != before)
        emit availabilityChanged();
}

void SessionMessengerClient::whenKnown(std::function<void()> call)
{
    if (!m_candidates.isEmpty() && m_unanswered == 0)
        call();
    else
        m_waiting.append(std::move(call));
}

const SessionMessengerClient::Candidate* SessionMessengerClient::running() const
{
    const auto owned = std::find_if(m_candidates.cbegin(), m_candidates.cend(),
                                    [](const Candidate& candidate) { return candidate.owned; });
    return owned == m_candidates.cend() ? nullptr : &*owned;
}

MessengerClient* SessionMessengerClient::current()
{
    const Candidate* candidate = running();
    return candidate ? candidate->client : m_candidates.first().client;
}

bool SessionMessengerClient::isAvailable() const
{
    return running() != nullptr;
}

QString SessionMessengerClient::name() const
{
    const Candidate* candidate = running();
    return candidate ? candidate->client->name() : QString();
}

void SessionMessengerClient::setDisplayPicture(const QString& path, Sent sent)
{
    whenKnown([this, path, sent = std::move(sent)]() mutable {
        current()->setDisplayPicture(path, std::move(sent));
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
