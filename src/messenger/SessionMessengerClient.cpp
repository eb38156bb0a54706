#include "SessionMessengerClient.h"

#include <QObject>

SessionMessengerClient::SessionMessengerClient(const QDBusConnection& connection)
    : m_api(connection), m_pidgin(connection)
{
}

Result<std::unique_ptr<MessengerClient>> SessionMessengerClient::create()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Failure{
            QObject::tr("The session bus cannot be reached: %1").arg(bus.lastError().message())};
    return std::unique_ptr<MessengerClient>(std::make_unique<SessionMessengerClient>(bus));
}

const MessengerClient* SessionMessengerClient::current() const
{
    if (m_api.isRunning())
        return &m_api;
    if (m_pidgin.isRunning())
        return &m_pidgin;
    return &m_api;
}

MessengerClient* SessionMessengerClient::current()
{
    return const_cast<MessengerClient*>(std::as_const(*this).current());
}

bool SessionMessengerClient::isRunning() const
{
    return m_api.isRunning() || m_pidgin.isRunning();
}

Result<void> SessionMessengerClient::setMyProperty(int code, const QVariant& value)
{
    return current()->setMyProperty(code, value);
}

Result<QVariant> SessionMessengerClient::myProperty(int code)
{
    return current()->myProperty(code);
}

Result<QList<MessengerContact>> SessionMessengerClient::myContacts()
{
    return current()->myContacts();
}

QString SessionMessengerClient::cacheFolder() const
{
    return current()->cacheFolder();
}
