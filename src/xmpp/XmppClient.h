#pragma once

#include "core/rotation/PictureDestination.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class XmppSession;

// One XMPP account as a destination of the pictures. It signs in with the account's address and
// password on a thread of its own (the window never waits for the network), requires TLS with a
// certificate the system trusts, stays signed in (reconnecting with back-off after a lost
// connection, never after a refused password or certificate), and publishes each picture as the
// account's avatar: User Avatar on the server's PEP service, else the vCard photo.
class XmppClient : public PictureDestination
{
    Q_OBJECT
public:
    enum class State {
        Offline,            // not signed in (no password yet, or signed out)
        Connecting,         // signing in, or waiting to try again
        Connected,          // signed in; takes pictures
        Publishing,         // signed in, a picture on its way
        WrongPassword,      // the server refused the password; no more tries until signIn()
        Unreachable,        // the server could not be reached; tries again later
        CertificateRefused, // the server's certificate is not trusted; no more tries
    };
    Q_ENUM(State)

    // `address`: the account's bare address (user@domain). `server`: "host" or "host:port" to
    // connect to instead of what the address's domain names; empty for the domain's own.
    XmppClient(const QString& address, const QString& server, QObject* parent = nullptr);
    // Returns at once, whatever the network thread is doing; that thread ends on its own.
    ~XmppClient() override;

    // Signs in (again) with this password, and keeps signed in.
    void signIn(const QString& password);
    // Signs out and stops trying.
    void signOut();

    State state() const;
    // The state in the user's language, with the server's or the network's words where there
    // are any ("Server unreachable: Connection refused").
    QString stateText() const;

    // Signed in: Connected or Publishing. availabilityChanged() tells when it changes.
    bool isAvailable() const override;
    // The address.
    QString name() const override;
    // stateText() while not signed in.
    QString unavailableReason() const override;
    // Publishes the picture as the avatar; the same picture twice in a row is taken at once
    // without a second upload. Answers with a failure at once while not signed in.
    void setDisplayPicture(const QString& path, Sent sent) override;

signals:
    void stateChanged();

private:
    void sessionState(unsigned generation, State state, const QString& detail);
    void published(unsigned publication, const Result<void>& result);
    void answer(const Result<void>& result);
    // Applies `change` and tells who listens what it changed.
    void update(const std::function<void()>& change);

    const QString m_address;
    std::shared_ptr<XmppSession> m_session;
    unsigned m_generation = 0; // sign-ins and sign-outs so far: older answers are stale
    State m_connection = State::Offline;
    QString m_detail;
    unsigned m_publication = 0; // pictures asked for so far
    Sent m_sent;                // the answer owed for the picture on its way
    QByteArray m_sending;       // its avatar's id
    QByteArray m_published;     // the id of the avatar the server last took
    QTimer m_deadline;
};
