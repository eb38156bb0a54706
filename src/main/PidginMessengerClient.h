#pragma once

#include "main/MessengerClient.h"

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

    // True when the file can be decoded as a picture; otherwise false with the reason.
    static bool isReadablePicture(const QString& path, QString* reason = nullptr);

    bool isRunning() const override;
    bool setMyProperty(int code, const QVariant& value, QString* error) override;
    std::optional<QVariant> myProperty(int code, QString* error) override;
    std::optional<QList<MessengerContact>> myContacts(QString* error) override;
    // Pidgin's buddy icon cache; empty when Pidgin does not answer.
    QString cacheFolder() const override;

private:
    QDBusMessage message(const QString& method, const QList<QVariant>& args) const;
    // The reply, or nothing (with the reason) when the call failed or timed out.
    std::optional<QDBusMessage> callReply(const QString& method, const QList<QVariant>& args,
                                          QString* error) const;
    std::optional<QList<QVariant>> call(const QString& method, const QList<QVariant>& args,
                                        QString* error) const;
    std::optional<QString> callString(const QString& method, const QList<QVariant>& args,
                                      QString* error) const;
    std::optional<QList<int>> callHandles(const QString& method, const QList<QVariant>& args,
                                          QString* error) const;
    bool setIconPath(const QString& path, QString* error);

    QDBusConnection m_connection;
};
