#pragma once

#include "core/language/Texts.h"
#include "platform/PasswordStore.h"

#include <QTimer>

namespace QKeychain {
class Job;
}

// The passwords in the desktop's keyring (the Secret Service), never in a file.
class KeychainPasswordStore : public PasswordStore
{
    Q_OBJECT
public:
    explicit KeychainPasswordStore(QObject* parent = nullptr);

    void read(const QString& account, std::function<void(Lookup)> done) override;
    void write(const QString& account, const QString& password,
               std::function<void(Result<void>)> done) override;
    void remove(const QString& account, std::function<void(Result<void>)> done) override;

private:
    // Runs `job` for `account` and answers how it ended: Found (with the password a read found),
    // NotStored, NoKeyring, or Failed. Other than Found, the error is said with `failedText`
    // and the keyring's reason, never with `password`.
    void run(QKeychain::Job* job, const QString& account, const QString& password, Text failedText,
             const std::function<void(Lookup)>& answer);

    // libsecret answers QtKeychain through GLib's main loop. Qt runs that loop as its own unless
    // told not to (QT_NO_GLIB); then it is run here, for as long as a job is out.
    int m_jobsOut = 0;
    QTimer m_glibLoop;
};
