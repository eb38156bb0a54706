#include "XmppAccounts.h"

#include "core/language/Texts.h"
#include "core/rotation/Rotation.h"
#include "core/settings/Settings.h"
#include "platform/PasswordStore.h"
#include "xmpp/XmppClient.h"

#include <QPointer>
#include <QRegularExpression>

#include <utility>

namespace {

const QString Section = QStringLiteral("accounts");

// A bare address: one '@' between a name and a domain, nothing that cannot be in either.
bool isAddress(const QString& address)
{
    static const QRegularExpression form(QStringLiteral(R"(^[^@\s/"&'<>:]+@[^@\s/"&'<>:]+$)"));
    return form.match(address).hasMatch();
}

// "host" or "host:port", the port from 1 to 65535; an empty server is the domain's own.
bool isServer(const QString& server)
{
    static const QRegularExpression form(QStringLiteral(R"(^[^@\s/:]+(:(\d{1,5}))?$)"));
    const QRegularExpressionMatch match = form.match(server);
    if (server.isEmpty())
        return true;
    if (!match.hasMatch())
        return false;
    const int port = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
    return port >= 1 && port <= 65535;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void warn(const QString& text)
{
    qWarning("Dorvane: %s", qPrintable(text));
}

} // namespace

XmppAccounts::XmppAccounts(Settings& settings, PasswordStore& passwords, Rotation& rotation,
                           QObject* parent)
    : QObject(parent), m_settings(settings), m_passwords(passwords), m_rotation(rotation)
{
}

// The clients are children; the rotation, which the window made first, is gone already.
XmppAccounts::~XmppAccounts() = default;

void XmppAccounts::load()
{
    const int count = m_settings.GetSetting(Section, QStringLiteral("count"), QString()).toInt();
    for (int i = 1; i <= count; ++i) {
        const QString n = QString::number(i);
        Account account;
        account.address =
            m_settings.GetSetting(Section, QStringLiteral("address") + n, QString()).toLower();
        account.server = m_settings.GetSetting(Section, QStringLiteral("server") + n, QString());
        account.enabled =
            m_settings.GetSetting(Section, QStringLiteral("enabled") + n, flag(true)) != "0";
        // A list edited by hand keeps what it can.
        if (!isAddress(account.address) || indexOf(account.address) >= 0)
            warn(Texts::text(Text::AccountsNotAnAddress).arg(account.address));
        else if (!isServer(account.server))
            warn(Texts::text(Text::AccountsNotAServer).arg(account.server));
        else
            m_accounts.append(account);
    }
    emit changed();
    for (const Account& account : std::as_const(m_accounts)) {
        if (account.enabled)
            start(account.address);
    }
}

QList<XmppAccounts::Account> XmppAccounts::accounts() const
{
    return m_accounts;
}

XmppClient* XmppAccounts::client(const QString& address) const
{
    return m_clients.value(address);
}

bool XmppAccounts::keyringAvailable() const
{
    return m_keyring;
}

void XmppAccounts::add(const Account& account, const QString& password,
                       std::function<void(Result<void>)> done)
{
    // As typed, but an address in one letter case and no spaces around either.
    const Account given{account.address.trimmed().toLower(), account.server.trimmed(),
                        account.enabled};
    if (!isAddress(given.address))
        return done(Failure{Texts::text(Text::AccountsNotAnAddress).arg(given.address)});
    if (!isServer(given.server))
        return done(Failure{Texts::text(Text::AccountsNotAServer).arg(given.server)});
    if (password.isEmpty())
        return done(Failure{Texts::text(Text::AccountsNoPasswordGiven)});

    QList<Account> list = m_accounts;
    const qsizetype at = indexOf(given.address);
    at >= 0 ? void(list[at] = given) : list.append(given);
    if (Result<void> stored = storeList(list); !stored)
        return done(stored);
    signOut(given.address);
    m_accounts = list;
    m_asked.remove(given.address);
    m_passwords.write(
        given.address, password,
        [self = QPointer(this), given, password, done = std::move(done)](const Result<void>& kept) {
            if (!self)
                return;
            if (kept) {
                self->m_kept.remove(given.address);
            } else {
                // Not kept, but the user still has their account for this run.
                warn(kept.error());
                self->m_keyring = false;
                self->m_kept.insert(given.address, password);
            }
            if (given.enabled && self->indexOf(given.address) >= 0)
                self->signIn(given.address, password);
            emit self->changed();
            done({});
        });
}

void XmppAccounts::remove(const QString& address, std::function<void(Result<void>)> done)
{
    const qsizetype at = indexOf(address);
    if (at < 0)
        return done({});
    QList<Account> list = m_accounts;
    list.removeAt(at);
    if (Result<void> stored = storeList(list); !stored)
        return done(stored);
    m_accounts = list;
    m_kept.remove(address);
    signOut(address);
    emit changed();
    m_passwords.remove(address, [address, done = std::move(done)](const Result<void>& removed) {
        if (removed)
            return done({});
        done(Failure{Texts::text(Text::AccountsPasswordLeft).arg(address, removed.error())});
    });
}

Result<void> XmppAccounts::setEnabled(const QString& address, bool enabled)
{
    const qsizetype at = indexOf(address);
    if (at < 0 || m_accounts.at(at).enabled == enabled)
        return {};
    QList<Account> list = m_accounts;
    list[at].enabled = enabled;
    if (Result<void> stored = storeList(list); !stored)
        return stored;
    m_accounts = list;
    enabled ? start(address) : signOut(address);
    emit changed();
    return {};
}

void XmppAccounts::providePassword(const QString& address, const QString& password)
{
    const qsizetype at = indexOf(address);
    if (at < 0 || password.isEmpty())
        return;
    if (m_keyring) {
        m_passwords.write(address, password,
                          [self = QPointer(this), address, password](const Result<void>& kept) {
                              if (self && !kept) {
                                  self->m_kept.insert(address, password);
                                  self->keyringGone(address, kept.error());
                              }
                          });
    } else {
        m_kept.insert(address, password);
    }
    if (m_accounts.at(at).enabled)
        signIn(address, password);
}

qsizetype XmppAccounts::indexOf(const QString& address) const
{
    for (qsizetype i = 0; i < m_accounts.size(); ++i) {
        if (m_accounts.at(i).address == address)
            return i;
    }
    return -1;
}

Result<void> XmppAccounts::storeList(const QList<Account>& accounts)
{
    QList<std::pair<QString, QString>> keys{
        {QStringLiteral("count"), QString::number(accounts.size())}};
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        const QString n = QString::number(i + 1);
        keys.append({QStringLiteral("address") + n, accounts.at(i).address});
        keys.append({QStringLiteral("server") + n, accounts.at(i).server});
        keys.append({QStringLiteral("enabled") + n, flag(accounts.at(i).enabled)});
    }
    return m_settings.replaceSection(Section, keys);
}

void XmppAccounts::start(const QString& address)
{
    if (m_kept.contains(address))
        return signIn(address, m_kept.value(address));
    m_passwords.read(address, [self = QPointer(this), address](const PasswordStore::Lookup& found) {
        // The account may have gone, or been switched off, while the keyring answered.
        if (!self || self->indexOf(address) < 0 ||
            !self->m_accounts.at(self->indexOf(address)).enabled ||
            self->m_clients.contains(address))
            return;
        switch (found.outcome) {
        case PasswordStore::Lookup::Outcome::Found:
            return self->signIn(address, found.password);
        case PasswordStore::Lookup::Outcome::NotStored:
            return self->askOnce(address);
        case PasswordStore::Lookup::Outcome::NoKeyring:
        case PasswordStore::Lookup::Outcome::Failed:
            return self->keyringGone(address, found.error);
        }
    });
}

void XmppAccounts::signIn(const QString& address, const QString& password)
{
    signOut(address);
    const Account& account = m_accounts.at(indexOf(address));
    auto* client = new XmppClient(account.address, account.server, this);
    connect(client, &XmppClient::stateChanged, this, &XmppAccounts::changed);
    m_clients.insert(address, client);
    client->signIn(password);
    m_rotation.addDestination(client);
    emit changed();
}

void XmppAccounts::signOut(const QString& address)
{
    XmppClient* client = m_clients.take(address);
    if (!client)
        return;
    disconnect(client, nullptr, this, nullptr);
    client->signOut();
    m_rotation.removeDestination(client);
    client->deleteLater();
    emit changed();
}

void XmppAccounts::keyringGone(const QString& address, const QString& why)
{
    warn(why);
    m_keyring = false;
    emit changed();
    askOnce(address);
}

void XmppAccounts::askOnce(const QString& address)
{
    if (m_asked.contains(address))
        return;
    m_asked.insert(address);
    emit passwordNeeded(address);
}
