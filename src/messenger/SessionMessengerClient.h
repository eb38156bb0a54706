#pragma once

#include "messenger/DBusMessengerClient.h"
#include "messenger/PidginMessengerClient.h"

// The Messenger client the program talks to, chosen afresh at every call: whatever owns
// MessengerAPI.Messenger first, else Pidgin. A client started or closed while the program runs
// is therefore picked up without a restart.
class SessionMessengerClient : public MessengerClient
{
public:
    explicit SessionMessengerClient(const QDBusConnection& connection);

    // Connects to the session bus; fails only when no session bus can be reached.
    static Result<std::unique_ptr<MessengerClient>> create();

    // The client that would take a call now: MessengerAPI when its name has an owner, else
    // Pidgin when its name has one, else MessengerAPI (whose calls then fail as refused).
    MessengerClient* current();
    const MessengerClient* current() const;

    bool isRunning() const override;
    Result<void> setMyProperty(int code, const QVariant& value) override;
    Result<QVariant> myProperty(int code) override;
    Result<QList<MessengerContact>> myContacts() override;
    QString cacheFolder() const override;

private:
    DBusMessengerClient m_api;
    PidginMessengerClient m_pidgin;
};
