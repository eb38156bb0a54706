#include "SessionMessengerClient.h"

#include <QDBusError>

SessionMessengerClient::SessionMessengerClient(const QDBusConnection& connection, QObject* parent)
    : m_api(new DBusMessengerClient(connection, this)),
      m_pidgin(new PidginMessengerClient(connection, this))
{
    setParent(parent);
}

Result<std::unique_ptr<MessengerClient>> SessionMessengerClient::create()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Failure{
            QObject::tr("The session bus cannot be reached: %1").arg(bus.lastError().message())};
    return std::unique_ptr<MessengerClient>(std::make_unique<SessionMessengerClient>(bus));
}

MessengerClient* SessionMessengerClient::current()
{
    if (m_api->isRunning())
        return m_api;
    if (m_pidgin->isRunning())
        return m_pidgin;
    return m_api;
}

bool SessionMessengerClient::isRunning() const
{
    return m_api->isRunning() || m_pidgin->isRunning();
}

QString SessionMessengerClient::name() const
{
    if (m_api->isRunning())
        return m_api->name();
    if (m_pidgin->isRunning())
        return m_pidgin->name();
    return {};
}

void SessionMessengerClient::setMyProperty(int code, const QVariant& value, Done<void> done)
{
    current()->setMyProperty(code, value, std::move(done));
}

void SessionMessengerClient::myProperty(int code, Done<QVariant> done)
{
    current()->myProperty(code, std::move(done));
}

void SessionMessengerClient::myContacts(Done<QList<MessengerContact>> done)
{
    current()->myContacts(std::move(done));
}

void SessionMessengerClient::cacheFolder(Done<QString> done)
{
    current()->cacheFolder(std::move(done));
}
