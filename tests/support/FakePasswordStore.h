#pragma once

#include "platform/PasswordStore.h"
#include <QHash>

// A keyring in memory that answers at once, or one that is not there at all.
class FakePasswordStore : public PasswordStore
{
    Q_OBJECT
public:
    bool keyring = true;
    QHash<QString, QString> passwords;

    void read(const QString& account, std::function<void(Lookup)> done) override
    {
        if (!keyring)
            done({Lookup::Outcome::NoKeyring, {}, QStringLiteral("no keyring")});
        else if (passwords.contains(account))
            done({Lookup::Outcome::Found, passwords.value(account), {}});
        else
            done({Lookup::Outcome::NotStored, {}, {}});
    }
    void write(const QString& account, const QString& password,
               std::function<void(Result<void>)> done) override
    {
        if (!keyring)
            return done(Failure{QStringLiteral("no keyring")});
        passwords.insert(account, password);
        done({});
    }
    void remove(const QString& account, std::function<void(Result<void>)> done) override
    {
        passwords.remove(account);
        done({});
    }
};
