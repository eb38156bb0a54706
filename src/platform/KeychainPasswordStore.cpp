#include "KeychainPasswordStore.h"

// Placeholder until the keyring lands: no keyring.

void KeychainPasswordStore::read(const QString&, std::function<void(Lookup)> done)
{
    done({Lookup::Outcome::NoKeyring, {}, QStringLiteral("No keyring")});
}

void KeychainPasswordStore::write(const QString&, const QString&,
                                  std::function<void(Result<void>)> done)
{
    done(Failure{QStringLiteral("No keyring")});
}

void KeychainPasswordStore::remove(const QString&, std::function<void(Result<void>)> done)
{
    done({});
}
