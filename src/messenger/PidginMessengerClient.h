#pragma once

#include "messenger/MessengerClient.h"

#include <QDBusConnection>
#include <QDBusMessage>

// Pidgin 2 driven over its D-Bus automation interface. The user's display picture is Pidgin's
// global buddy icon (the pref /pidgin/accounts/buddyicon, taken by every account that uses the
// global icon); the contacts are the buddies of the enabled accounts; the cache folder is
// Pidgin's buddy icon cache.
//
// Pidgin takes any path without complaint and clears the user's icon on every account when the
// file is not a picture, so a request whose file cannot be read as a picture is refused here
// before it reaches Pidgin.
class PidginMessengerClient : public MessengerClient
{
public:
    static const QString ServiceName;
    static const QString ObjectPath;
    static const QString InterfaceName;
    static const QString BuddyIconPref;
    // Pidgin answers with this error name for a handle that no longer exists (a buddy or an
    // account removed while we read).
    static const QString InvalidHandleError;
    static constexpr int CallTimeoutMs = 2000;

    explicit PidginMessengerClient(const QDBusConnection& connection);

    // Succeeds when the file can be decoded as a picture.
    static Result<void> checkReadablePicture(const QString& path);

    bool isRunning() const override;
    Result<void> setMyProperty(int code, const QVariant& value) override;
    Result<QVariant> myProperty(int code) override;
    Result<QList<MessengerContact>> myContacts() override;
    // Pidgin's buddy icon cache; empty when Pidgin does not answer.
    QString cacheFolder() const override;

private:
    QDBusMessage message(const QString& method, const QList<QVariant>& args) const;
    // The reply; fails when the call failed or timed out.
    Result<QDBusMessage> callReply(const QString& method, const QList<QVariant>& args) const;
    Result<QString> callString(const QString& method, const QList<QVariant>& args) const;
    Result<QList<int>> callHandles(const QString& method, const QList<QVariant>& args) const;
    Result<void> setIconPath(const QString& path);

    QDBusConnection m_connection;
};
