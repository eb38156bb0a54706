#pragma once

#include "messenger/MessengerClient.h"

#include <QDBusConnection>
#include <QDBusMessage>

// The Messenger client reached over the session bus: whatever program owns the name
// MessengerAPI.Messenger. A client that does not answer within the timeout counts as refusing.
class DBusMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    static const QString ServiceName;
    static const QString ObjectPath;
    static const QString InterfaceName;
    static constexpr int CallTimeoutMs = 2000;

    explicit DBusMessengerClient(const QDBusConnection& connection, QObject* parent = nullptr);

    bool isRunning() const override;
    QString name() const override;
    void setMyProperty(int code, const QVariant& value, Done<void> done) override;
    void myProperty(int code, Done<QVariant> done) override;
    void myContacts(Done<QList<MessengerContact>> done) override;

    // The contacts in a MyContacts reply.
    static Result<QList<MessengerContact>> contactsOf(const QDBusMessage& reply);

private:
    // Sends the call; `answered` gets the reply, or the failure in the user's words.
    void call(const QString& method, const QList<QVariant>& args,
              std::function<void(Result<QDBusMessage>)> answered);

    QDBusConnection m_connection;
};
