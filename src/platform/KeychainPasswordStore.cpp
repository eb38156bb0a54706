#include "KeychainPasswordStore.h"

#include "core/language/Texts.h"

#include <QAbstractEventDispatcher>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <qt6keychain/keychain.h>

#include <glib.h>

namespace {

const QString Service = QStringLiteral("Dorvane");
const QString SecretService = QStringLiteral("org.freedesktop.secrets");

// Calls `answer` with whether a Secret Service owns its name on the session bus now. A job's
// failure alone does not tell "none there" from "it failed": with none, the message is the
// bus's, in any words. Asked without waiting, like the job itself.
void askSecretServiceThere(QObject* context, std::function<void(bool)> answer)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return answer(false);
    auto* watcher = new QDBusPendingCallWatcher(
        bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), SecretService), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, answer = std::move(answer)] {
                         watcher->deleteLater();
                         const QDBusPendingReply<bool> owned = *watcher;
                         answer(owned.isValid() && owned.value());
                     });
}

} // namespace

KeychainPasswordStore::KeychainPasswordStore(QObject* parent) : PasswordStore(parent)
{
    m_glibLoop.setInterval(10);
    connect(&m_glibLoop, &QTimer::timeout, this, [] {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    });
}

void KeychainPasswordStore::run(QKeychain::Job* job, const QString& account,
                                const QString& password, Text failedText,
                                const std::function<void(Lookup)>& answer)
{
    // Never a file of settings in the keyring's place, whatever QtKeychain's default.
    job->setInsecureFallback(false);
    job->setAutoDelete(true);
    job->setKey(account);
    const bool qtRunsGlib = QAbstractEventDispatcher::instance()->inherits("QEventDispatcherGlib");
    if (!qtRunsGlib && m_jobsOut++ == 0)
        m_glibLoop.start();
    connect(job, &QKeychain::Job::finished, this, [=, this] {
        if (!qtRunsGlib && --m_jobsOut == 0)
            m_glibLoop.stop();
        using Outcome = Lookup::Outcome;
        // The keyring's own reason, unless it happens to quote the password.
        QString reason = job->errorString();
        if (!password.isEmpty() && reason.contains(password))
            reason.clear();
        // A refused prompt, for one, comes without a word.
        if (reason.trimmed().isEmpty())
            reason = Texts::text(Text::KeyringNoReason);
        const QString failed = Texts::text(failedText).arg(account, reason);
        const Lookup noKeyring{Outcome::NoKeyring, {}, Texts::text(Text::NoKeyring)};
        switch (job->error()) {
        case QKeychain::NoError: {
            const auto* reading = qobject_cast<const QKeychain::ReadPasswordJob*>(job);
            return answer({Outcome::Found, reading ? reading->textData() : QString(), {}});
        }
        case QKeychain::EntryNotFound:
            return answer({Outcome::NotStored, {}, failed});
        case QKeychain::NoBackendAvailable:
            return answer(noKeyring);
        default:
            askSecretServiceThere(this, [=](bool there) {
                answer(there ? Lookup{Outcome::Failed, {}, failed} : noKeyring);
            });
        }
    });
    job->start();
}

void KeychainPasswordStore::read(const QString& account, std::function<void(Lookup)> done)
{
    run(new QKeychain::ReadPasswordJob(Service, this), account, {}, Text::KeyringReadFailed,
        [done = std::move(done)](Lookup lookup) {
            if (lookup.outcome == Lookup::Outcome::NotStored)
                lookup.error.clear();
            done(std::move(lookup));
        });
}

void KeychainPasswordStore::write(const QString& account, const QString& password,
                                  std::function<void(Result<void>)> done)
{
    auto* job = new QKeychain::WritePasswordJob(Service, this);
    job->setTextData(password);
    run(job, account, password, Text::KeyringWriteFailed,
        [done = std::move(done)](const Lookup& lookup) {
            done(lookup.outcome == Lookup::Outcome::Found ? Result<void>() : Failure{lookup.error});
        });
}

void KeychainPasswordStore::remove(const QString& account, std::function<void(Result<void>)> done)
{
    run(new QKeychain::DeletePasswordJob(Service, this), account, {}, Text::KeyringRemoveFailed,
        [done = std::move(done)](const Lookup& lookup) {
            const bool gone = lookup.outcome == Lookup::Outcome::Found ||
                              lookup.outcome == Lookup::Outcome::NotStored;
            done(gone ? Result<void>() : Failure{lookup.error});
        });
}
