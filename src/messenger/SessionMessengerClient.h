#pragma once

#include "messenger/DBusMessengerClient.h"
#include "messenger/PidginMessengerClient.h"

class QDBusServiceWatcher;

// The Messenger client the program talks to: whatever owns MessengerAPI.Messenger first, else
// Pidgin. Who owns which name is followed through the bus's own signals, never asked while a
// caller waits, so a client started or closed while the program runs is picked up at once and
// told by availabilityChanged(). Calls made before the bus has said who is there wait for that
// answer.
class SessionMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    // Not on a bus yet: calls wait until attach().
    explicit SessionMessengerClient(QObject* parent = nullptr);
    explicit SessionMessengerClient(const QDBusConnection& connection, QObject* parent = nullptr);

    // On the session bus, or on its way there when the bus has not finished its handshake yet;
    // fails only when the handshake is over and no session bus can be reached.
    static Result<std::unique_ptr<MessengerClient>> create();

    // The client that would take a call now: MessengerAPI when its name has an owner, else
    // Pidgin when its name has one, else MessengerAPI (whose calls then fail as refused); none
    // before the bus is there.
    MessengerClient* current();

    bool isRunning() const override;
    // The client that would take a call now, or empty when neither runs.
    QString name() const override;
    void setMyProperty(int code, const QVariant& value, Done<void> done) override;
    void myProperty(int code, Done<QVariant> done) override;
    void myContacts(Done<QList<MessengerContact>> done) override;
    void cacheFolder(Done<QString> done) override;

private:
    void attach(const QDBusConnection& connection);
    void ownerKnown(const QString& service, bool owned);
    // Runs the call once the bus has said who owns the two names.
    void whenKnown(std::function<void()> call);

    DBusMessengerClient* m_api = nullptr;
    PidginMessengerClient* m_pidgin = nullptr;
    QDBusServiceWatcher* m_watcher = nullptr;
    bool m_apiOwned = false;
    bool m_pidginOwned = false;
    int m_unanswered = 2;
    QList<std::function<void()>> m_waiting;
};
