#include "XmppAccounts.h"

#include "xmpp/XmppClient.h"

// Placeholder until the accounts land: no accounts.

XmppAccounts::XmppAccounts(Settings&, PasswordStore&, Rotation&, QObject* parent) : QObject(parent)
{
}

XmppAccounts::~XmppAccounts() = default;

void XmppAccounts::load() {}

QList<XmppAccounts::Account> XmppAccounts::accounts() const
{
    return {};
}

XmppClient* XmppAccounts::client(const QString&) const
{
    return nullptr;
}

bool XmppAccounts::keyringAvailable() const
{
    return true;
}

void XmppAccounts::add(const Account&, const QString&, std::function<void(Result<void>)> done)
{
    done(Failure{QStringLiteral("not yet")});
}

void XmppAccounts::remove(const QString&, std::function<void(Result<void>)> done)
{
    done({});
}

Result<void> XmppAccounts::setEnabled(const QString&, bool)
{
    return {};
}

void XmppAccounts::providePassword(const QString&, const QString&) {}
