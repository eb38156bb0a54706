#pragma once

#include "messenger/DBusMessengerClient.h"
#include "messenger/PidginMessengerClient.h"

// The Messenger client the program talks to, chosen afresh at every call: whatever owns
// MessengerAPI.Messenger first, else Pidgin. A client started or closed while the program runs
// is therefore picked up without a restart.
class SessionMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    explicit SessionMessengerClient(const QDBusConnection& connection, QObject* parent = nullptr);

    // Connects to the session bus; fails only when no session bus can be reached.
    static Result<std::unique_ptr<MessengerClient>> create();

    // The client that would take a call now: MessengerAPI when its name has an owner, else
    // Pidgin when its name has one, else MessengerAPI (whose calls then fail as refused).
    MessengerClient* current();

    bool isRunning() const override;
    // The client that would take a call now, or empty when neither runs.
    QString name() const override;
    void setMyProperty(int code, const QVariant& value, Done<void> done) override;
    void myProperty(int code, Done<QVariant> done) override;
    void myContacts(Done<QList<MessengerContact>> done) override;
    void cacheFolder(Done<QString> done) override;

private:
    DBusMessengerClient* m_api;
    PidginMessengerClient* m_pidgin;
};
