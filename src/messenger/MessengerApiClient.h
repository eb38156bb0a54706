#pragma once

#include "messenger/MessengerClient.h"

#include <QDBusConnection>
#include <QDBusMessage>

class MessengerApiProxy;
class QDBusPendingCall;

// The Messenger client the program was designed for, reached over the session bus: whatever
// program owns the name MessengerAPI.Messenger. The display picture is its property code 2; the
// cache folder is TEMP/MessengerCache. A client that does not answer within the timeout counts
// as refusing.
class MessengerApiClient : public MessengerClient
{
    Q_OBJECT
public:
    static constexpr int CallTimeoutMs = 2000;

    explicit MessengerApiClient(const QDBusConnection& connection, QObject* parent = nullptr);

    QString name() const override;
    void setDisplayPicture(const QString& path, Sent sent) override;
    void myContacts(Done<QList<MessengerContact>> done) override;
    void cacheFolder(Done<QString> done) override;

private:
    // `answered` gets the call's reply, or the failure in the user's words.
    void watch(const QDBusPendingCall& call, std::function<void(Result<QDBusMessage>)> answered);

    MessengerApiProxy* m_proxy;
};
