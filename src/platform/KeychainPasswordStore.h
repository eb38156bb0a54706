#pragma once

#include "platform/PasswordStore.h"

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
};
