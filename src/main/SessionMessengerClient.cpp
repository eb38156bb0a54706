#include "SessionMessengerClient.h"

#include <QObject>

SessionMessengerClient::SessionMessengerClient(const QDBusConnection& connection)
    : m_api(connection), m_pidgin(connection)
{
}

std::unique_ptr<MessengerClient> SessionMessengerClient::create(QString* error)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (error)
            *error =
                QObject::tr("The session bus cannot be reached: %1").arg(bus.lastError().message());
        return nullptr;
    }
    return std::make_unique<SessionMessengerClient>(bus);
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

bool SessionMessengerClient::setMyProperty(int code, const QVariant& value, QString* error)
{
    return current()->setMyProperty(code, value, error);
}

std::optional<QVariant> SessionMessengerClient::myProperty(int code, QString* error)
{
    return current()->myProperty(code, error);
}

std::optional<QList<MessengerContact>> SessionMessengerClient::myContacts(QString* error)
{
    return current()->myContacts(error);
}

QString SessionMessengerClient::cacheFolder() const
{
    return current()->cacheFolder();
}
