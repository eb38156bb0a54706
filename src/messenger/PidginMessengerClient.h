#pragma once

#include "messenger/MessengerClient.h"

#include <QDBusConnection>

// Pidgin 2 driven over its D-Bus automation interface. The user's display picture is Pidgin's
// global buddy icon (the pref /pidgin/accounts/buddyicon, taken by every account that uses the
// global icon); the contacts are the buddies of the enabled accounts; the cache folder is
// Pidgin's buddy icon cache.
//
// Pidgin takes any path without complaint and clears the user's icon on every account when the
// file is not a picture, so a request whose file cannot be read as a picture is refused here
// before it reaches Pidgin; the file is read on a worker thread, never the window's.
class PidginMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    static const QString BuddyIconPref;

    explicit PidginMessengerClient(const QDBusConnection& connection, QObject* parent = nullptr);

    // Succeeds when the file is an ordinary file that decodes as a picture, wholly.
    static Result<void> checkReadablePicture(const QString& path);

    QString name() const override;
    void setDisplayPicture(const QString& file, Sent done) override;
    void myContacts(Done<QList<MessengerContact>> done) override;
    // Pidgin's buddy icon cache; empty when Pidgin does not answer.
    void cacheFolder(Done<QString> done) override;

private:
    void callString(const QString& method, const QList<QVariant>& args, Done<QString> done);
    void setIconPath(const QString& path, Done<void> done);
    void readBuddies(const QList<int>& accounts, const Done<QList<MessengerContact>>& done);
    void readNames(const QList<QList<int>>& buddiesPerAccount,
                   const Done<QList<MessengerContact>>& done);

    QDBusConnection m_connection;
};
