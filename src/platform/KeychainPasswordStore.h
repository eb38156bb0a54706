#pragma once

#include "core/language/Texts.h"
#include "platform/PasswordStore.h"

namespace QKeychain {
class Job;
}

// The passwords in the desktop's keyring (the Secret Service), never in a file.
class KeychainPasswordStore : public PasswordStore
{
    Q_OBJECT
public:
    using PasswordStore::PasswordStore;

    void read(const QString& account, std::function<void(Lookup)> done) override;
    void write(const QString& account, const QString& password,
               std::function<void(Result<void>)> done) override;
    void remove(const QString& account, std::function<void(Result<void>)> done) override;

private:
    // Runs `job` for `account` and answers how it ended: Found (with the password a read found),
    // NotStored, NoKeyring, or Failed. Other than Found, the error is said with `failedText`
    // and the keyring's reason, never with `password`.
    void run(QKeychain::Job* job, const QString& account, const QString& password, Text failedText,
             std::function<void(Lookup)> answer);
};
