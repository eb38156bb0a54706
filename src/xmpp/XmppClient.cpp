#include "XmppClient.h"

// Placeholder until the network side lands: never signs in.

XmppClient::XmppClient(const QString& address, const QString&, QObject* parent)
    : PictureDestination(parent)
{
    setObjectName(address);
}

XmppClient::~XmppClient() = default;

void XmppClient::signIn(const QString&) {}

void XmppClient::signOut() {}

XmppClient::State XmppClient::state() const
{
    return State::Offline;
}

QString XmppClient::stateText() const
{
    return QStringLiteral("Offline");
}

bool XmppClient::isAvailable() const
{
    return false;
}

QString XmppClient::name() const
{
    return objectName();
}

QString XmppClient::unavailableReason() const
{
    return stateText();
}

void XmppClient::setDisplayPicture(const QString&, Sent sent)
{
    sent(Failure{stateText()});
}
