#pragma once

#include "core/Result.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class PasswordStore;
class Rotation;
class Settings;
class XmppClient;

// The user's XMPP accounts: their list in the settings file (addresses, servers and enabled
// flags; never a password), their passwords in the keyring, and one signed-in client for each
// enabled account, which the rotation sends its pictures to beside the Messenger client.
//
// Where no keyring answers, a password lives in memory for this run only: the user is asked for
// it once (passwordNeeded) and the window says why.
class XmppAccounts : public QObject
{
    Q_OBJECT
public:
    struct Account
    {
        QString address; // user@domain
        QString server;  // "host" or "host:port"; empty for the domain's own
        bool enabled = true;
    };

    XmppAccounts(Settings& settings, PasswordStore& passwords, Rotation& rotation,
                 QObject* parent = nullptr);
    ~XmppAccounts() override;

    // Reads the list and the enabled accounts' passwords, and signs them in.
    void load();

    QList<Account> accounts() const;
    // The enabled account's client (its state for the views); null while it is disabled or has
    // no password yet.
    XmppClient* client(const QString& address) const;
    // False once the keyring did not answer: passwords are kept for this run only.
    bool keyringAvailable() const;

    // Adds the account (or replaces the one with that address), keeps the password and signs it
    // in. Fails when the address is no address or the list cannot be stored.
    void add(const Account& account, const QString& password,
             std::function<void(Result<void>)> done);
    // Signs the account out, forgets it and its password.
    void remove(const QString& address, std::function<void(Result<void>)> done);
    // Signs the account in or out, and stores the choice.
    Result<void> setEnabled(const QString& address, bool enabled);
    // The password the user gave when asked (no keyring): kept in memory for this run.
    void providePassword(const QString& address, const QString& password);

signals:
    // The list, an account's client or an account's state changed.
    void changed();
    // An enabled account has no password this run and no keyring to read it from.
    void passwordNeeded(const QString& address);

private:
    qsizetype indexOf(const QString& address) const;
    Result<void> storeList(const QList<Account>& accounts);
    // Finds the enabled account's password and signs it in.
    void start(const QString& address);
    void signIn(const QString& address, const QString& password);
    void signOut(const QString& address);
    // The keyring did not answer: the password is asked for, once this run.
    void keyringGone(const QString& address, const QString& why);
    void askOnce(const QString& address);

    Settings& m_settings;
    PasswordStore& m_passwords;
    Rotation& m_rotation;
    QList<Account> m_accounts;
    QHash<QString, XmppClient*> m_clients;
    // Passwords the keyring could not keep, for this run only.
    QHash<QString, QString> m_kept;
    QSet<QString> m_asked;
    bool m_keyring = true;
};
