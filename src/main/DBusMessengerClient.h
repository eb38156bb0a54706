#pragma once

#include "main/MessengerClient.h"

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

    // Connects to the session bus; fails only when no session bus can be reached.
    static std::unique_ptr<MessengerClient> create(QString* error);

    bool isRunning() const override;
    bool setMyProperty(int code, const QVariant& value, QString* error) override;
    std::optional<QVariant> myProperty(int code, QString* error) override;
    std::optional<QList<MessengerContact>> myContacts(QString* error) override;

private:
    std::optional<QList<QVariant>> call(const QString& method, const QList<QVariant>& args,
                                        QString* error);

    QDBusConnection m_connection;
};
