#pragma once

#include "messenger/MessengerClient.h"

#include <QDBusConnection>

// The Messenger client reached over the session bus: whatever program owns the name
// MessengerAPI.Messenger. Calls are synchronous with a short timeout so that a hung client
// cannot freeze the window for long.
class DBusMessengerClient : public MessengerClient
{
public:
    static const QString ServiceName;
    static const QString ObjectPath;
    static const QString InterfaceName;
    static constexpr int CallTimeoutMs = 2000;

    explicit DBusMessengerClient(const QDBusConnection& connection);

    bool isRunning() const override;
    Result<void> setMyProperty(int code, const QVariant& value) override;
    Result<QVariant> myProperty(int code) override;
    Result<QList<MessengerContact>> myContacts() override;

private:
    Result<QList<QVariant>> call(const QString& method, const QList<QVariant>& args);

    QDBusConnection m_connection;
};
